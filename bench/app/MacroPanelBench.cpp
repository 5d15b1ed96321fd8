#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchApplication.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "app/AppContext.h"
#include "app/panels/MacroPanel.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

// What the macro page costs: listing a macro of 60 steps again, and one step changed from its
// menu with the slot file written.
namespace vexlo {
namespace {

Platform SimPlatform(std::shared_ptr<SimEnvironment> sim) {
  Platform made;
  AddSimPorts(made, std::move(sim));
  return made;
}

AppSettings Settings(const std::string& data) {
  AppSettings made;
  FillProgramPaths(made, std::string(VEXLO_BINARY_DIR) + "/vexlo");
  made.DataFolder = data;
  made.SettingsFile = data + "Setting.ini";
  made.CommonFontName = "Open Sans";
  return made;
}

// The panel on a plain window over the in-process simulated machine, with a 60-step macro.
struct MacroPage {
  bench::ScratchFolder folder;
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();
  Platform platform = SimPlatform(sim);
  AppSettings settings = Settings(folder.path());
  LanguageTable language;
  bench::SilentMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform,   settings, language,   messages, nullptr, profiles, macros,
                     device,     monitor,  wheelLines, injector, player,  pauseClock};
  QWidget window;
  SkinFile<DibImage> skin{settings.SkinFolder + "Macro.ini"};
  std::unique_ptr<MacroPanel> panel;

  MacroPage() {
    language.Load(settings.LanguageFile);
    (void)skin.Load();
    (void)macros.AddMacro();
    for (int i = 0; i < 60; ++i) {
      (void)macros.AppendStep(i % 3 == 1 ? MacroAction::Pause(100)
                                         : MacroAction{static_cast<std::uint8_t>(
                                                           i % 3 == 0 ? 0x84 : 0x04),
                                                       0x04, 0});
    }
    panel = std::make_unique<MacroPanel>(window, context, skin, MacroKeyLinks{});
  }
};

void BM_RefreshMacroPanel60Rows(benchmark::State& state) {
  EnsureApplication();
  MacroPage page;
  for (auto _ : state) page.panel->RefreshMacroPanel();
}
BENCHMARK(BM_RefreshMacroPanel60Rows)->Unit(benchmark::kMicrosecond);

void BM_StepMenuCommandWithFileWrite(benchmark::State& state) {
  EnsureApplication();
  MacroPage page;
  bool press = true;
  page.panel->SetMenuTracker([&press](CMenuEx&, QPoint) { return press ? 33200 : 33201; });
  for (auto _ : state) {
    page.panel->OnCellClick(0, 2, QPoint());  // press or release of the first key step
    press = !press;
  }
}
BENCHMARK(BM_StepMenuCommandWithFileWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
