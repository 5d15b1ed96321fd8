#include <benchmark/benchmark.h>

#include <memory>

#include "BenchMachine.h"
#include "PanelBenchWorld.h"
#include "app/panels/MacroPanel.h"

// What the macro page costs: listing a macro of 60 steps again, and one step changed from its
// menu with the slot file written.
namespace vexlo {
namespace {

// The panel over the in-process simulated machine, with a 60-step macro.
struct MacroPage {
  bench::PanelWorld world{bench::MachinePorts(false)};
  SkinFile<DibImage> skin{world.settings.SkinFolder + "Macro.ini"};
  std::unique_ptr<MacroPanel> panel;

  MacroPage() {
    (void)skin.Load();
    (void)world.macros.AddMacro();
    for (int i = 0; i < 60; ++i) {
      (void)world.macros.AppendStep(i % 3 == 1 ? MacroAction::Pause(100)
                                               : MacroAction{static_cast<std::uint8_t>(
                                                                 i % 3 == 0 ? 0x84 : 0x04),
                                                             0x04, 0});
    }
    panel = std::make_unique<MacroPanel>(world.window, world.context, skin, MacroKeyLinks{});
  }
};

void BM_RefreshMacroPanel60Rows(benchmark::State& state) {
  MacroPage page;
  for (auto _ : state) page.panel->RefreshMacroPanel();
}
BENCHMARK(BM_RefreshMacroPanel60Rows)->Unit(benchmark::kMicrosecond);

void BM_StepMenuCommandWithFileWrite(benchmark::State& state) {
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
