// The cost of reaching the mouse's registers through the link: against the simulated machine
// in-process, and through a running vexlo-sim (the real program, started for the run).

#include <benchmark/benchmark.h>

#include "BenchMachine.h"
#include "device/DeviceLink.h"

namespace vexlo {
namespace {

using bench::MachinePorts;
using bench::SharedVexloSim;

// A link opened on the machine, or none (and the benchmark skipped) when that fails.
struct OpenLink {
  explicit OpenLink(benchmark::State& state, bool throughVexloSim)
      : platform(MachinePorts(throughVexloSim)), link(*platform.devices, *platform.hid) {
    if (throughVexloSim && !SharedVexloSim().Running()) {
      state.SkipWithError("vexlo-sim could not be started");
    } else if (link.Open() != Result::Ok) {
      state.SkipWithError("the link does not open");
    }
  }

  Platform platform;
  DeviceLink link;
};

void ReadRegister(benchmark::State& state, bool throughVexloSim) {
  OpenLink open(state, throughVexloSim);
  std::uint8_t value = 0;
  for (auto _ : state) {
    if (open.link.ReadRegister(0x02, value) != Result::Ok) return state.SkipWithError("failed");
    benchmark::DoNotOptimize(value);
  }
}

void WriteRegister(benchmark::State& state, bool throughVexloSim) {
  OpenLink open(state, throughVexloSim);
  std::uint8_t value = 0;
  for (auto _ : state) {
    if (open.link.WriteRegister(0x02, ++value) != Result::Ok) return state.SkipWithError("failed");
  }
}

void ReadAllRegisters(benchmark::State& state, bool throughVexloSim) {
  OpenLink open(state, throughVexloSim);
  for (auto _ : state) {
    for (std::uint8_t reg = 0; reg < 32; ++reg) {
      std::uint8_t value = 0;
      if (open.link.ReadRegister(reg, value) != Result::Ok) return state.SkipWithError("failed");
      benchmark::DoNotOptimize(value);
    }
  }
}

// A whole connection: drivers, enumeration, wake, the 32 reads, the table, the workers, and the
// release at close.
void OpenAndClose(benchmark::State& state, bool throughVexloSim) {
  OpenLink open(state, throughVexloSim);
  for (auto _ : state) {
    (void)open.link.Close();
    if (open.link.Open() != Result::Ok) return state.SkipWithError("the link does not open");
  }
}

BENCHMARK_CAPTURE(ReadRegister, InProcess, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadRegister, ThroughVexloSim, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WriteRegister, InProcess, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WriteRegister, ThroughVexloSim, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAllRegisters, InProcess, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAllRegisters, ThroughVexloSim, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OpenAndClose, InProcess, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndClose, ThroughVexloSim, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo

BENCHMARK_MAIN();
