// Timing of the host functions: how soon a button's input reaches the injection device, how
// closely pauses keep their length, how evenly rapid fire clicks, and what a long pause costs.
// Each benchmark gathers samples and reports their spread as counters, in microseconds.
// With --background_load, a busy process per core runs beside them, as a game keeps every core
// busy.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "BackgroundLoad.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "common/RealtimeThread.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/DriverInterface.h"
#include "engine/ButtonDispatchThread.h"
#include "engine/HostDispatcher.h"
#include "engine/InputInjector.h"
#include "engine/KeyAssignment.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "platform/ports/MessageTarget.h"
#include "platform/ports/ProcessLauncher.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

// Reports p50, p99, the worst and the mean of the samples (microseconds) as counters.
void ReportSpread(benchmark::State& state, std::vector<double> samples) {
  if (samples.empty()) return state.SkipWithError("no samples");
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double q) {
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
  };
  double sum = 0;
  for (const double s : samples) sum += s;
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
  state.counters["worst_us"] = samples.back();
  state.counters["mean_us"] = sum / static_cast<double>(samples.size());
  state.counters["samples"] = static_cast<double>(samples.size());
}

// Runs `body` on a thread that first asks for real-time scheduling, as the macro player's worker
// does, and waits for it.
template <typename Body>
void OnTimingThread(Body body) {
  std::jthread([&] {
    (void)EnterRealtime("benchmark");
    body();
  }).join();
}

// Lines the injection device decodes, with the moment each report was written.
class InjectionClock {
 public:
  explicit InjectionClock(SimEnvironment& sim)
      : sim_(sim), observer_(sim.AddInjectionObserver([this](std::string_view line) {
          {
            std::scoped_lock lock(mutex_);
            lines_.push_back({std::string(line), Clock::now()});
          }
          arrived_.notify_all();
        })) {}
  ~InjectionClock() { sim_.RemoveInjectionObserver(observer_); }

  struct Line {
    std::string text;
    Clock::time_point at;
  };

  // Waits until there are `count` lines in all and gives them.
  std::vector<Line> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(30), [&] { return lines_.size() >= count; });
    return lines_;
  }
  std::size_t Count() {
    std::scoped_lock lock(mutex_);
    return lines_.size();
  }

 private:
  SimEnvironment& sim_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Line> lines_;
  std::uint64_t observer_;
};

// The window, for the messages that are not button events: none come here.
class NoWindow final : public MessageTarget {
 public:
  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t) override { return Result::Ok; }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
};

class NoLauncher final : public ProcessLauncher {
 public:
  Result Open(const std::string&, const std::string&, const std::string&) override {
    return Result::Ok;
  }
  Result StartCompanion(const std::string&, const std::string&, const std::string&,
                        std::uint32_t&) override {
    return Result::Ok;
  }
};

// The mouse filter's table with the six records enabled, each naming the link's event.
std::vector<std::uint8_t> InterceptEveryButton(const DeviceLink& link) {
  constexpr std::size_t kRecordSize = 24;
  std::vector<std::uint8_t> table(6 * kRecordSize, 0);
  for (std::size_t record = 0; record < 6; ++record) {
    std::uint8_t* bytes = &table[record * kRecordSize];
    bytes[0] = 1;                                        // enabled
    bytes[1] = 2;                                        // signal the event
    bytes[4] = static_cast<std::uint8_t>(1u << record);  // the button flag
    const auto value = static_cast<std::uint64_t>(link.EventDriverValue(record));
    for (std::size_t i = 0; i < 8; ++i) bytes[16 + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return table;
}

// Sets a side or sensitivity button (3..6) to report to the host, as the button commands do
// when the host performs its function; nothing for the others, which the mouse filter intercepts.
Result ReportToHost(DeviceLink& link, int button) {
  constexpr std::uint8_t kReportFunctions[] = {0x0C, 0x10, 0x12, 0x13};  // buttons 3..6
  if (button < 3) return Result::Ok;
  const std::uint8_t reg = link.ButtonRegisters()[static_cast<std::size_t>(button)];
  const auto kept = static_cast<std::uint8_t>(link.RegisterCache()[reg] & 0xE0);
  return link.WriteRegister(reg, static_cast<std::uint8_t>(kept | kReportFunctions[button - 3]));
}

// The simulated machine with the program's host functions on it.
struct HostMachine {
  HostMachine() : sim(std::make_shared<SimEnvironment>()), platform(PortsOf(sim)) {}

  static Platform PortsOf(const std::shared_ptr<SimEnvironment>& sim) {
    Platform ports;
    AddSimPorts(ports, sim);
    return ports;
  }

  std::shared_ptr<SimEnvironment> sim;
  Platform platform;
  bench::ScratchFolder folder;
  LanguageTable language;
  bench::SilentMessages messages;
  ProfileStore profiles{folder.path(), language, messages};
  MacroStore macros{folder.path(), language, messages};
  InputInjector injector{*platform.devices, *platform.hid};
  SteadyPauseClock clock;
  MacroPlayer player{injector, clock};
  NoLauncher launcher;
  HostDispatcher dispatcher{macros, injector, player, launcher, clock, {}};
};

// From the button going down on the mouse to the injection report written: the device link's
// worker (buttons 0..2) or report reader (3..6) posts the event, the button dispatch thread
// dispatches it, the injector writes. The button sends volume up.
void ButtonToInjectionReport(benchmark::State& state) {
  const int button = static_cast<int>(state.range(0));
  HostMachine machine;
  if (machine.injector.OpenInjectionDevice() != Result::Ok) {
    return state.SkipWithError("no injection device");
  }
  (void)StoreKeyAssignment(machine.profiles.Data().device, button, KeyAssignment::Plain(12));
  InjectionClock injected(*machine.sim);
  NoWindow window;
  ButtonDispatchThread buttons(machine.dispatcher, window);
  buttons.UseAssignments(machine.profiles.Data().device);
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  DeviceSession session(link, machine.messages);
  session.SetEventTarget(&buttons);
  if (session.Connect() != Result::Ok ||
      link.MouseFilterControl(kIoctlButtonInterception, InterceptEveryButton(link)) != Result::Ok ||
      ReportToHost(link, button) != Result::Ok) {
    return state.SkipWithError("the mouse does not connect");
  }
  std::vector<double> samples;
  // The mouse presses from a real-time thread: what a busy machine does to the pressing is the
  // hardware's and the kernel's, not the program's.
  OnTimingThread([&] {
    for (auto _ : state) {
      const std::size_t before = injected.Count();
      const Clock::time_point pressed = Clock::now();
      (void)machine.sim->Press(button);
      const std::vector<InjectionClock::Line> lines = injected.WaitFor(before + 1);
      if (lines.size() <= before) return state.SkipWithError("no input came");
      samples.push_back(Micros(lines[before].at - pressed));
      (void)machine.sim->Release(button);
      if (injected.WaitFor(before + 2).size() < before + 2) {
        return state.SkipWithError("no release");
      }
    }
  });
  if (state.error_occurred()) return;
  ReportSpread(state, std::move(samples));
}

// How much later than asked a pause of the macro player ends (its waits can be stopped).
void WaitMsLateness(benchmark::State& state) {
  const auto ms = static_cast<std::uint32_t>(state.range(0));
  SteadyPauseClock clock;
  std::stop_source running;
  std::vector<double> samples;
  OnTimingThread([&] {
    for (auto _ : state) {
      const Clock::time_point start = Clock::now();
      (void)clock.WaitMs(ms, running.get_token());
      samples.push_back(Micros(Clock::now() - start - std::chrono::milliseconds(ms)));
    }
  });
  ReportSpread(state, std::move(samples));
}

// The same for the pauses of key combinations, which nothing stops, on the button dispatch thread.
void CombinationPauseLateness(benchmark::State& state) {
  SteadyPauseClock clock;
  std::vector<double> samples;
  OnTimingThread([&] {
    for (auto _ : state) {
      const Clock::time_point start = Clock::now();
      (void)clock.WaitMs(kCombinationPauseMs);
      samples.push_back(
          Micros(Clock::now() - start - std::chrono::milliseconds(kCombinationPauseMs)));
    }
  });
  ReportSpread(state, std::move(samples));
}

// Rapid fire held for 1,000 clicks: the period between two left-button downs against twice the
// half interval. Counters give the error of each period.
void RapidFirePeriod(benchmark::State& state) {
  constexpr std::size_t kClicks = 1000;
  const auto interval = static_cast<std::uint8_t>(state.range(0));
  const auto period = std::chrono::milliseconds(2 * ((interval + 1) / 2));
  std::vector<double> samples;
  for (auto _ : state) {
    HostMachine machine;
    if (machine.injector.OpenInjectionDevice() != Result::Ok) {
      return state.SkipWithError("no injection device");
    }
    InjectionClock injected(*machine.sim);
    if (machine.player.StartRapidFire(0, PackFireKey({interval, 0})) != Result::Ok) {
      return state.SkipWithError("rapid fire does not start");
    }
    // Each click writes four reports: down, up, and the two of the release after each pass.
    std::vector<InjectionClock::Line> lines = injected.WaitFor(4 * kClicks + 1);
    machine.player.StopRequest(0);
    std::vector<Clock::time_point> downs;
    for (const InjectionClock::Line& line : lines) {
      if (line.text == "button down Left") downs.push_back(line.at);
    }
    if (downs.size() < kClicks + 1) return state.SkipWithError("too few clicks");
    for (std::size_t i = 1; i <= kClicks; ++i) {
      samples.push_back(Micros(downs[i] - downs[i - 1] - period));
    }
    state.counters["drift_us"] = Micros(downs[kClicks] - downs[0] - kClicks * period);
  }
  ReportSpread(state, std::move(samples));
}

double ThreadCpuMicros() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

double ProcessCpuMicros() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// CPU time the waiting thread uses during a pause of one second.
void CpuDuringLongPause(benchmark::State& state) {
  SteadyPauseClock clock;
  std::stop_source running;
  double cpu = 0;
  OnTimingThread([&] {
    for (auto _ : state) {
      const double before = ThreadCpuMicros();
      (void)clock.WaitMs(1000, running.get_token());
      cpu += ThreadCpuMicros() - before;
    }
  });
  state.counters["cpu_us_per_s"] = cpu / static_cast<double>(state.iterations());
}

// CPU time the whole program uses while a macro waits out a pause of two seconds.
void CpuDuringMacroPause(benchmark::State& state) {
  HostMachine machine;
  if (machine.injector.OpenInjectionDevice() != Result::Ok) {
    return state.SkipWithError("no injection device");
  }
  // A key held across the pause: its release marks the end (a run releases only what it held).
  constexpr std::uint8_t kKeyA = 0x04;
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  macro.byCount = 3;
  macro.steps[0] = {kMacroKey | 0x80, kKeyA, 0};
  macro.steps[1] = MacroAction::Pause(2000);
  macro.steps[2] = {kMacroKey, kKeyA, 0};
  double cpu = 0;
  for (auto _ : state) {
    machine.sim->ClearInjected();  // a new observer hears the lines so far first
    InjectionClock injected(*machine.sim);
    const double before = ProcessCpuMicros();
    if (machine.player.StartRun(0, PackMacro({0, MacroLoopMode::RepeatCount, 1}), macro) !=
        Result::Ok) {
      return state.SkipWithError("the macro does not start");
    }
    if (injected.WaitFor(2).size() < 2) return state.SkipWithError("the key is not released");
    cpu += ProcessCpuMicros() - before;
  }
  state.counters["cpu_us_per_2s"] = cpu / static_cast<double>(state.iterations());
}

BENCHMARK(ButtonToInjectionReport)
    ->ArgName("button")
    ->Arg(0)
    ->Arg(3)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(1)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(2)->Iterations(400)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(5)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(10)->Iterations(150)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(30)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(63)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(64)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(WaitMsLateness)->ArgName("ms")->Arg(200)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(CombinationPauseLateness)->Iterations(150)->Unit(benchmark::kMillisecond);
BENCHMARK(RapidFirePeriod)
    ->ArgName("interval")
    ->Arg(2)
    ->Arg(10)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CpuDuringLongPause)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(CpuDuringMacroPause)->Iterations(2)->Unit(benchmark::kMillisecond);

// How the timing threads are scheduled here: a thread asks as they do.
std::string RealtimeHere() {
  RealtimeGrant grant = RealtimeGrant::Refused;
  std::jthread([&] { grant = EnterRealtime("benchmark"); }).join();
  switch (grant) {
    case RealtimeGrant::Direct:
      return "granted";
    case RealtimeGrant::Brokered:
      return "granted by RealtimeKit";
    case RealtimeGrant::Refused:
      return "refused";
  }
  return "unknown";
}

}  // namespace
}  // namespace vexlo

int main(int argc, char** argv) {
  std::vector<char*> arguments;
  bool loaded = false;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--background_load") {
      loaded = true;
    } else {
      arguments.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
  std::optional<vexlo::bench::BackgroundLoad> load;  // before any thread starts
  if (loaded) load.emplace();
  benchmark::AddCustomContext(
      "background_load",
      load ? std::to_string(load->Processes()) + " processes spinning at ordinary priority"
           : "none");
  benchmark::AddCustomContext("realtime_scheduling", vexlo::RealtimeHere());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
