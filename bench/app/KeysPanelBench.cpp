// The button assignment page: what building and showing the assignment menu costs, and the time
// from a choice to the button's register written in a running vexlo-sim (the profile file
// written too).
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchMachine.h"
#include "PanelBenchWorld.h"
#include "app/panels/AssignmentMenu.h"
#include "app/panels/KeysPanel.h"
#include "engine/AssignmentCodes.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

// The menu of a side button (all 44 codes) made, laid out and painted, then closed.
void BM_BuildAndShowAssignmentMenu(benchmark::State& state) {
  EnsureApplication();
  LanguageTable language;
  language.Load(VEXLO_BENCH_PROGRAM_FOLDER "/Lang_En.ini");
  QWidget window;
  CImageBtn key(CImageBtn::Kind::Push, &window);
  key.setGeometry(72, 100, 252, 40);
  window.show();
  for (auto _ : state) {
    std::unique_ptr<CMenuEx> menu = MakeAssignmentMenu(key, 3, language);
    menu->popup(key.mapToGlobal(QPoint(15, key.height())));
    benchmark::DoNotOptimize(menu->grab());
    menu->close();
  }
}
BENCHMARK(BM_BuildAndShowAssignmentMenu)->Unit(benchmark::kMillisecond);

// A choice for the first sensitivity button, alternating between cycling the sensitivity (the
// mouse's own function) and a media key (reporting to the host): the register write through
// vexlo-sim's socket and the profile file's atomic replacement.
void BM_ChoiceToRegisterWritten(benchmark::State& state) {
  bench::PanelWorld world(bench::MachinePorts(true));
  if (!bench::SharedVexloSim().Running() || world.device.IsConnected() != Result::Ok) {
    state.SkipWithError("the virtual mouse of vexlo-sim did not connect");
    return;
  }
  SkinFile<DibImage> mainSkin(world.settings.SkinFolder + "Main.ini");
  (void)mainSkin.Load();
  KeysPanel panel(world.window, world.context, world.service, mainSkin);
  bool media = false;
  for (auto _ : state) {
    media = !media;
    panel.AssignKey(5, media ? 12 : kCodeSensitivityCycle);
  }
}
BENCHMARK(BM_ChoiceToRegisterWritten)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo
