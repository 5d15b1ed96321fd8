#pragma once

#include <QWidget>

#include <string>

#include "BenchApplication.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "app/AppContext.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo::bench {

// What a page panel works with, over the given machine, with the shipped skins, a scratch data
// folder holding a new current profile, the mouse connected when the machine has one, and a
// shown window for the panel's controls.
struct PanelWorld {
  explicit PanelWorld(Platform ports) : platform(std::move(ports)) {
    language.Load(settings.LanguageFile);
    (void)profiles.NewProfile();  // without a file nothing is written, and the counters show it
    (void)device.Connect();
    window.resize(1080, 680);
    window.show();
  }
  ~PanelWorld() { (void)player.StopNow(); }

  bool application = EnsureApplication();  // before any widget
  ScratchFolder scratch;
  Platform platform;
  AppSettings settings = [this] {
    AppSettings made;
    FillProgramPaths(made, VEXLO_BENCH_PROGRAM_FOLDER "/vexlo");
    made.DataFolder = scratch.path() + "data/";
    made.CommonFontName = "Open Sans";
    return made;
  }();
  LanguageTable language;
  SilentMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform,
                     settings,
                     language,
                     messages,
                     nullptr,
                     profiles,
                     macros,
                     device,
                     monitor,
                     wheelLines,
                     injector,
                     player,
                     pauseClock,
                     /*startHidden=*/false};
  QWidget window;
};

}  // namespace vexlo::bench
