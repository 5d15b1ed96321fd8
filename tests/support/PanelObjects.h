#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <utility>

#include "PostedMessages.h"
#include "app/AppContext.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/DeviceEventService.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo::test {

// The main window as the device-event service sees it: a refresh is counted and brings the page
// panel up to date through `refresh`, as the window's own does.
class PanelView final : public MainWindowView {
 public:
  void RefreshAll() override {
    ++refreshes;
    if (refresh) refresh();
  }
  void ShowModelChoice() override {}
  void ShowAndRaise() override {}
  void HideWindow() override {}
  void CloseOpenDialogs() override {}
  void SetTrayPresent(bool) override {}
  void ShowNoDeviceMessage() override {}
  void CloseNoDeviceMessage() override {}
  bool IsBusy() const override { return false; }
  void ShowUnreadableProfile() override {}

  int refreshes = 0;
  std::function<void()> refresh;
};

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
  PanelView view;
  PostedMessages posted;
  LinuxProcessLauncher launcher;
  DeviceEventService service{{settings, profiles, macros, device, injector, player, monitor,
                              wheelLines, *platform.mouseSettings, launcher, pauseClock},
                             view,
                             posted};
  QWidget window;
};

}  // namespace vexlo::test
