// The mouse going and coming back while the program runs against a running vexlo-sim: the time
// from the unplug command reaching vexlo-sim to the main window hidden with the host functions
// stopped (a rapid fire running when the mouse went), and from the plug command to the profile
// applied to the mouse and the tray icon shown.
#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchMachine.h"
#include "PanelBenchWorld.h"
#include "app/CVexloDlg.h"
#include "common/IniFile.h"
#include "common/Messages.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/RuntimeFolder.h"
#include "platform/sim/SimDeviceNotifications.h"

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

// What the program has of the desktop, over the shared vexlo-sim.
Platform ProgramPorts() {
  Platform made = bench::MachinePorts(true);
  made.notifications = std::make_unique<SimSocketNotifications>(SimSocketPath());
  made.instances = std::make_unique<LinuxInstanceRegistry>(RuntimeFolder());
  made.launcher = std::make_unique<LinuxProcessLauncher>();
  return made;
}

// The main window over the running vexlo-sim, on a desktop with a notification area, its side
// button 3 a rapid fire of the left button for as long as it is held.
struct Program {
  Program() {
    world.settings.DaemonPath = world.scratch.path() + "no-companion";
    (void)WriteIniString("Setting", "pbyKeySet3", "39", world.profiles.CurrentPath());
    (void)WriteIniString("Setting", "ppszKeyExt3", "10", world.profiles.CurrentPath());
    window = std::make_unique<CVexloDlg>(world.context, [] { return true; });
    if (window->LoadSkin() != Result::Ok) return;
    window->InitDialog();
    ready = RunUntil([this] { return window->Tray().IsPresent(); });
  }
  ~Program() {
    window.reset();
    (void)world.player.StopNow();
  }

  bool Sim(const std::vector<std::string>& words) {
    SimClient client(SimSocketPath());
    std::string output;
    return client.RunCommand(words, output) == Result::Ok;
  }
  // Runs the window's events until `done` holds; false after ten seconds.
  static bool RunUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (Clock::now() > deadline) return false;
      QCoreApplication::processEvents();
      const timespec pause{0, 50'000};
      ::nanosleep(&pause, nullptr);
    }
    return true;
  }
  // The time `command` takes to reach vexlo-sim and the program to arrive at `done`; negative
  // when it never does.
  double Measure(const std::string& command, const std::function<bool()>& done) {
    const auto start = Clock::now();
    if (!Sim({command}) || !RunUntil(done)) return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  bench::PanelWorld world{ProgramPorts()};
  std::unique_ptr<CVexloDlg> window;
  bool ready = false;
};

void BM_UnplugToHiddenWithHostStopped(benchmark::State& state) {
  Program program;
  if (!bench::SharedVexloSim().Running() || !program.ready) {
    state.SkipWithError("the program did not connect to vexlo-sim");
    return;
  }
  double hiddenSeconds = 0;
  for (auto _ : state) {
    // Shown, with a rapid fire running.
    (void)program.window->Target().Post(UM_SHOW_MAIN, kTagOpen, 0);
    if (!program.RunUntil([&] { return program.window->isVisible(); }) ||
        !program.Sim({"press", "3"}) ||
        !program.RunUntil([&] { return program.world.player.IsRunning(); })) {
      state.SkipWithError("no rapid fire");
      return;
    }
    // The window hides before the link is probed again; when is told apart.
    const auto start = Clock::now();
    std::optional<Clock::time_point> hidden;
    const double seconds = program.Measure("unplug", [&] {
      if (!hidden && !program.window->isVisible()) hidden = Clock::now();
      return hidden && !program.world.player.IsRunning() &&
             !program.world.monitor.IsMonitoring() && !program.window->Tray().IsPresent();
    });
    if (hidden) hiddenSeconds += std::chrono::duration<double>(*hidden - start).count();
    (void)program.Sim({"release", "3"});
    if (seconds < 0 || !program.Sim({"plug"}) ||
        !program.RunUntil([&] { return program.window->Tray().IsPresent(); })) {
      state.SkipWithError("the removal was not seen");
      return;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["hidden_ms"] = hiddenSeconds * 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_UnplugToHiddenWithHostStopped)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void BM_PlugToProfileAppliedAndIconShown(benchmark::State& state) {
  Program program;
  if (!bench::SharedVexloSim().Running() || !program.ready) {
    state.SkipWithError("the program did not connect to vexlo-sim");
    return;
  }
  for (auto _ : state) {
    if (!program.Sim({"unplug"}) ||
        !program.RunUntil([&] { return !program.window->Tray().IsPresent(); })) {
      state.SkipWithError("the removal was not seen");
      return;
    }
    // The icon comes after the whole profile has gone to the mouse.
    const double seconds =
        program.Measure("plug", [&] { return program.window->Tray().IsPresent(); });
    if (seconds < 0) {
      state.SkipWithError("the arrival was not seen");
      return;
    }
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_PlugToProfileAppliedAndIconShown)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo
