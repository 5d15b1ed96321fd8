#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "ChildProcess.h"
#include "PrivateXServer.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "X11TestClient.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "engine/ForegroundMonitor.h"
#include "platform/linux/X11ForegroundProcess.h"
#include "platform/ports/MessageTarget.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

// From the window manager naming another active window to the main window receiving the switch to
// its program's linked profile, under a private Xvfb: the desktop's change events against the
// one-second poll that the monitor used before.
namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

// The X11 foreground without its change events: what the monitor had before.
class PolledForeground final : public ForegroundProcess {
 public:
  explicit PolledForeground(ForegroundProcess& inner) : inner_(inner) {}
  std::optional<std::string> ForegroundImagePath() override { return inner_.ForegroundImagePath(); }
  bool SameProgram(std::string_view linked, std::string_view foreground) const override {
    return inner_.SameProgram(linked, foreground);
  }

 private:
  ForegroundProcess& inner_;
};

// The main window: notes when each switch arrives.
class SwitchClock final : public MessageTarget {
 public:
  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t) override { return Result::Ok; }
  Result PostText(std::uint32_t message, std::vector<std::string>) override {
    std::scoped_lock lock(mutex_);
    if (message == UM_LINKED_PROFILE) {
      ++switches_;
      at_ = Clock::now();
      arrived_.notify_all();
    }
    return Result::Ok;
  }
  // When the `count`th switch arrived; none when it does not come within five seconds.
  std::optional<Clock::time_point> WaitFor(int count) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return switches_ >= count; })) {
      return std::nullopt;
    }
    return at_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  int switches_ = 0;
  Clock::time_point at_;
};

void BM_ActiveWindowToLinkedSwitch(benchmark::State& state) {
  const bool events = state.range(0) == 1;
  test::PrivateXServer server;
  if (!server.started()) return state.SkipWithError("needs Xvfb");
  test::X11TestClient client;
  auto x11 = X11ForegroundProcess::Connect();
  if (!x11) return state.SkipWithError("no X server");
  PolledForeground polled(*x11);
  ForegroundProcess& foreground = events ? static_cast<ForegroundProcess&>(*x11) : polled;

  test::ChildProcess sleeper("/bin/sleep", {"600"}, {});
  test::ChildProcess tail("/usr/bin/tail", {"-f", "/dev/null"}, {});
  bench::ScratchFolder data;
  std::filesystem::create_directories(data.path() + "Profile");
  for (const auto& [name, program] :
       {std::pair{"Game", "/usr/bin/sleep"}, std::pair{"Reader", "/usr/bin/tail"}}) {
    ProfileData profile;
    FillDefaults(profile);
    profile.link = {1, program};
    if (WriteProfile(data.path() + "Profile/" + name + ".ini", profile) != Result::Ok) {
      return state.SkipWithError("cannot write profiles");
    }
  }
  // Until they have exec'd, the children are still this program.
  (void)test::WaitUntil(
      [&] {
        return x11->SameProgram(
            "/usr/bin/tail",
            std::filesystem::read_symlink("/proc/" + std::to_string(tail.pid()) + "/exe").string());
      },
      std::chrono::seconds(5));
  const std::uint32_t windows[2] = {
      client.MapWindow(static_cast<std::uint32_t>(sleeper.pid()), std::nullopt),
      client.MapWindow(static_cast<std::uint32_t>(tail.pid()), std::nullopt)};

  LanguageTable language;
  bench::SilentMessages messages;
  ProfileStore store(data.path(), language, messages);
  SwitchClock window;
  ForegroundMonitor monitor(foreground, events ? std::chrono::hours(1) : std::chrono::seconds(1));
  monitor.RebuildLinkTable(store);
  monitor.SetTarget(&window);
  monitor.StartMonitor();

  int switches = 0;
  for (auto _ : state) {
    // A switch lands just after a poll; the next change comes anywhere in the interval, spread
    // evenly over it here.
    if (!events) std::this_thread::sleep_for(std::chrono::milliseconds(125) * (switches % 8));
    const Clock::time_point start = Clock::now();
    client.Activate(windows[switches % 2]);
    const std::optional<Clock::time_point> arrived = window.WaitFor(++switches);
    if (!arrived) return state.SkipWithError("no switch came");
    state.SetIterationTime(std::chrono::duration<double>(*arrived - start).count());
  }
  state.SetLabel(events ? "change events" : "one-second poll");
}
BENCHMARK(BM_ActiveWindowToLinkedSwitch)
    ->Arg(1)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActiveWindowToLinkedSwitch)
    ->Arg(0)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo
