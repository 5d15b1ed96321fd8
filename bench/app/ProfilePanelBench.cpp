// The profile panel: one switch of profile through a running vexlo-sim (read, send, show) and
// the list menu over 999 profiles.
#include <benchmark/benchmark.h>

#include <QWidget>

#include "../device/BenchMachine.h"
#include "BenchApplication.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "app/AppContext.h"
#include "app/panels/ProfileMenus.h"
#include "app/panels/ProfilePanel.h"
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
#include "platform/ports/MessageTarget.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"
#include "skin/CImageBtn.h"

namespace vexlo::bench {
namespace {

// The window as the service sees it: a refresh brings the panel up to date, as the main window's
// does.
class PanelView final : public MainWindowView {
 public:
  void RefreshAll() override {
    if (panel) panel->Refresh();
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

  ProfilePanel* panel = nullptr;
};

// A window queue that drops what is posted: nothing here waits for the service's messages.
class NoQueue final : public MessageTarget {
 public:
  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t) override { return Result::Ok; }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
};

// The panel on a bare window with every object it works with, over a running vexlo-sim.
struct PanelMachine {
  ScratchFolder data;
  Platform platform = MachinePorts(true);
  AppSettings settings;
  LanguageTable language;
  SilentMessages messages;
  ProfileStore profiles{data.path(), language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{data.path(), language, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform, settings, language,   messages, nullptr, profiles,  macros,
                     device,   monitor,  wheelLines, injector, player,  pauseClock};
  QWidget window;
  SkinFile<DibImage> mainSkin;
  PanelView view;
  NoQueue queue;
  LinuxProcessLauncher launcher;
  DeviceEventService service{{settings, profiles, macros, device, injector, player, monitor,
                              wheelLines, *platform.mouseSettings, launcher, pauseClock},
                             view,
                             queue};

  PanelMachine() : mainSkin(SkinPath()) {
    FillProgramPaths(settings, VEXLO_BINARY_DIR "/vexlo");
    (void)PrepareDataFolder(settings, data.path());
    language.Load(settings.LanguageFile);
    (void)mainSkin.Load();
  }
  static std::string SkinPath() {
    AppSettings paths;
    FillProgramPaths(paths, VEXLO_BINARY_DIR "/vexlo");
    return paths.SkinFolder + "Main.ini";
  }
};

void BM_ProfileSwitchThroughVexloSim(benchmark::State& state) {
  EnsureApplication();
  PanelMachine machine;
  if (!SharedVexloSim().Running() || machine.device.Connect() != Result::Ok) {
    state.SkipWithError("vexlo-sim is not running");
    return;
  }
  (void)machine.profiles.NewProfile();
  machine.profiles.Data().device.pwDpi = {400, 1200, 2400, 4000};
  (void)machine.profiles.NewProfile();
  ProfilePanel panel(machine.window, machine.context, machine.service, machine.mainSkin);
  machine.view.panel = &panel;
  int next = 0;
  for (auto _ : state) {
    panel.ChooseProfile(next);
    next = 1 - next;
  }
}
BENCHMARK(BM_ProfileSwitchThroughVexloSim)->Unit(benchmark::kMillisecond);

void BM_ProfileListMenuOf999(benchmark::State& state) {
  EnsureApplication();
  ScratchFolder data;
  LanguageTable language;
  SilentMessages messages;
  ProfileStore profiles(data.path(), language, messages);
  for (int i = 0; i < 999; ++i) (void)profiles.NewProfile();
  QWidget window;
  CImageBtn button(CImageBtn::Kind::Push, &window);
  button.resize(280, 40);
  for (auto _ : state) {
    std::vector<std::string> names;
    profiles.VisitList([&names](const std::vector<std::string>& list) {
      for (const std::string& path : list) names.push_back(ProfileStore::DisplayName(path));
    });
    const auto menu = MakeProfileListMenu(button, names);
    benchmark::DoNotOptimize(menu->sizeHint());  // every item measured
  }
}
BENCHMARK(BM_ProfileListMenuOf999)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo::bench
