// The profile panel: one switch of profile through a running vexlo-sim (read, send, show) and
// the list menu over 999 profiles.
#include <benchmark/benchmark.h>

#include <QWidget>

#include "BenchMachine.h"
#include "PanelBenchWorld.h"
#include "app/panels/ProfileMenus.h"
#include "app/panels/ProfilePanel.h"
#include "skin/CImageBtn.h"

namespace vexlo::bench {
namespace {

void BM_ProfileSwitchThroughVexloSim(benchmark::State& state) {
  PanelWorld world(MachinePorts(true));
  if (!SharedVexloSim().Running() || world.device.IsConnected() != Result::Ok) {
    state.SkipWithError("vexlo-sim is not running");
    return;
  }
  SkinFile<DibImage> mainSkin(world.settings.SkinFolder + "Main.ini");
  (void)mainSkin.Load();
  (void)world.profiles.NewProfile();
  world.profiles.Data().device.pwDpi = {400, 1200, 2400, 4000};
  (void)world.profiles.SaveCurrentProfile();
  ProfilePanel panel(world.window, world.context, world.service, mainSkin);
  world.view.refresh = [&panel] { panel.Refresh(); };  // as the window's refresh does
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
