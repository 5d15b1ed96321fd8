// The Linux backend against the mouse that the tests emulate with umockdev: the latency that the
// pointer forwarding adds (an event read from the mouse's node until the mirror has written it),
// and the cost of sending a whole profile through the backend, next to the virtual mouse's. Both
// include umockdev's own round trips for every emulated read, write and ioctl, so on a real mouse
// they are upper bounds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "EmulatedMouse.h"
#include "LinuxProgram.h"
#include "UmockdevPreload.h"
#include "device/InterceptionTable.h"
#include "platform/linux/DriverEventRegistry.h"
#include "platform/linux/FilterRequests.h"
#include "platform/linux/LinuxMouseFilter.h"
#include "platform/linux/UinputDevice.h"

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

void BM_ForwardingLatency(benchmark::State& state) {
  test::EmulatedMouse mouse;
  auto registry = std::make_shared<DriverEventRegistry>();
  const auto events = registry->CreateSet(6);
  LinuxMouseFilter filter(registry, test::EmulatedMouse::kUinputNode);
  std::array<std::int64_t, 6> values{};
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = events->DriverValue(i);
  // The middle button intercepted: the mouse is grabbed and everything else forwarded.
  const InterceptionTable table = BuildInterceptionTable({false, false, true}, values);
  std::size_t returned = 0;
  if (filter.IoControl(filter::kButtonInterception, table, {}, returned) != Result::Ok) {
    state.SkipWithError("the forwarder did not start");
    return;
  }
  const input_event motion[] = {InputEvent(EV_REL, REL_X, 1), InputEvent(EV_SYN, SYN_REPORT, 0)};
  std::vector<double> microseconds;
  for (auto _ : state) {
    const auto start = Clock::now();
    mouse.SendPointerEvents(motion);
    const auto forwarded = mouse.TakeUinputEvents(2);
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    if (forwarded.size() != 2) {
      state.SkipWithError("an event was lost");
      return;
    }
    state.SetIterationTime(elapsed.count());
    microseconds.push_back(elapsed.count() * 1e6);
  }
  state.counters["p50_us"] = Percentile(microseconds, 0.50);
  state.counters["p99_us"] = Percentile(microseconds, 0.99);
}
BENCHMARK(BM_ForwardingLatency)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The whole profile through the virtual mouse (0) and through the Linux backend (1).
void BM_ApplyAll(benchmark::State& state) {
  const bool linux = state.range(0) == 1;
  std::optional<test::EmulatedMouse> mouse;
  if (linux) mouse.emplace();
  test::Program program(linux);
  if (program.session.Connect() != Result::Ok) {
    state.SkipWithError("no mouse");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(program.Apply());
}
BENCHMARK(BM_ApplyAll)->ArgName("linux")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo

int main(int argc, char** argv) {
  vexlo::test::StartUnderUmockdev(argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
