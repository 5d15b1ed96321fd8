// A colour choice and a reset on the lighting page, each as the user makes it (the profile file
// written, the registers sent), against the simulated mouse in-process (argument 0) and in a
// running vexlo-sim (argument 1). The counters give the vendor transfers each one takes.
#include <benchmark/benchmark.h>

#include <sstream>

#include "BenchMachine.h"
#include "PanelBenchWorld.h"
#include "app/MainWindowLayout.h"
#include "app/panels/LightingPanel.h"

namespace vexlo {
namespace {

// The vendor transfers that have reached the mouse's driver, as the machine counts them.
std::uint64_t Transfers(const Platform& platform, bool throughVexloSim,
                        const std::shared_ptr<SimEnvironment>& local) {
  if (!throughVexloSim) return local->State().hidFilter.transfers;
  (void)platform;
  SimClient client(SimSocketPath());
  std::string status;
  const std::vector<std::string> words = {"status"};
  if (client.RunCommand(words, status) != Result::Ok) return 0;
  std::istringstream lines(status);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("transfers", 0) == 0)
      return std::stoull(line.substr(line.find_last_of(' ') + 1));
  }
  return 0;
}

struct LightingPage {
  explicit LightingPage(bool throughVexloSim) : vexloSim(throughVexloSim) {
    (void)skin.Load();
    panel = std::make_unique<LightingPanel>(world.window, world.context, skin);
    panel->ShowPage(kPageLighting);
  }
  Platform Ports() {
    if (vexloSim) return bench::MachinePorts(true);
    Platform made;
    AddSimPorts(made, local);
    return made;
  }
  std::uint64_t Sent() const { return Transfers(world.platform, vexloSim, local); }

  bool vexloSim;
  std::shared_ptr<SimEnvironment> local = std::make_shared<SimEnvironment>();
  bench::PanelWorld world{Ports()};
  SkinFile<DibImage> skin{world.settings.SkinFolder + "Light.ini"};
  std::unique_ptr<LightingPanel> panel;
};

void Report(benchmark::State& state, LightingPage& page, std::uint64_t before) {
  state.counters["transfers"] = benchmark::Counter(static_cast<double>(page.Sent() - before),
                                                   benchmark::Counter::kAvgIterations);
  state.counters["connected"] = page.world.device.IsConnected() == Result::Ok ? 1 : 0;
}

void BM_LightingColourChoice(benchmark::State& state) {
  LightingPage page(state.range(0) != 0);
  const std::uint64_t before = page.Sent();
  int index = 0;
  for (auto _ : state) {
    index = (index + 1) % 16;
    page.panel->ChooseColour(1, index);
  }
  Report(state, page, before);
}
BENCHMARK(BM_LightingColourChoice)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LightingReset(benchmark::State& state) {
  LightingPage page(state.range(0) != 0);
  const std::uint64_t before = page.Sent();
  for (auto _ : state) page.panel->Reset();
  Report(state, page, before);
}
BENCHMARK(BM_LightingReset)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
