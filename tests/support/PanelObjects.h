#pragma once

#include <QWidget>

#include <string>
#include <utility>

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

namespace vexlo::test {

// What a page panel works with, as the tests and the benchmarks build it: the given ports, the
// shipped skins and language file beside `program`, a data folder of its own (its settings file
// inside), messages answered by `Messages`, and the window the panel's controls live on.
template <typename Messages>
struct PanelObjects {
  PanelObjects(Platform ports, const std::string& program, const std::string& dataFolder)
      : platform(std::move(ports)), settings(MakeSettings(program, dataFolder)) {}
  ~PanelObjects() { (void)player.StopNow(); }
  PanelObjects(const PanelObjects&) = delete;
  PanelObjects& operator=(const PanelObjects&) = delete;

  // Reads the language file, makes a new current profile and connects the mouse.
  Result Open() {
    language.Load(settings.LanguageFile);
    if (const Result made = profiles.NewProfile(); made != Result::Ok) return made;
    return device.Connect();
  }

  static AppSettings MakeSettings(const std::string& program, const std::string& dataFolder) {
    AppSettings made;
    FillProgramPaths(made, program);
    (void)PrepareDataFolder(made, dataFolder);  // a folder that failed shows in the first write
    made.CommonFontName = "Open Sans";
    return made;
  }

  Platform platform;
  AppSettings settings;
  LanguageTable language;
  Messages messages;
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

}  // namespace vexlo::test
