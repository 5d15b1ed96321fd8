// The program as a user starts it: the time from the process start to its first painted main
// window, and what it costs while it waits in the background.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ScratchFolder.h"

extern char** environ;

namespace {

const std::string kBinaries = VEXLO_BINARY_DIR "/";

std::int64_t MonotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

int RunToEnd(const std::string& program, const std::vector<std::string>& arguments) {
  const pid_t pid = Spawn(program, arguments);
  int status = 0;
  if (pid > 0) ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Clock ticks of CPU time (user + system) the process has used so far.
long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  std::size_t field = 2;
  std::size_t at = text.rfind(')') + 2;
  long utime = 0;
  long stime = 0;
  while (at < text.size() && field < 15) {
    const std::size_t end = text.find(' ', at);
    ++field;
    if (field == 14) utime = std::stol(text.substr(at, end - at));
    if (field == 15) stime = std::stol(text.substr(at, end - at));
    at = end + 1;
  }
  return utime + stime;
}

int Threads(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("Threads:")) return std::stoi(line.substr(8));
  }
  return 0;
}

// A private runtime and data folder with a plugged-in virtual mouse; the program then shows its
// window at start.
class Machine {
 public:
  Machine() {
    ::setenv("XDG_RUNTIME_DIR", (scratch_.path() + "run").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (scratch_.path() + "config").c_str(), 1);
    std::filesystem::create_directories(scratch_.path() + "run");
    std::filesystem::permissions(scratch_.path() + "run", std::filesystem::perms::owner_all);
    if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    running_ = RunToEnd(kBinaries + "vexlo-sim", {"start"}) == 0;
  }
  ~Machine() {
    if (running_) RunToEnd(kBinaries + "vexlo-sim", {"stop"});
  }
  std::string Probe() const { return scratch_.path() + "first-paint"; }
  bool running() const { return running_; }

 private:
  vexlo::bench::ScratchFolder scratch_;
  bool running_ = false;
};

// Starts the program and waits for its first paint; the start time, or -1.
pid_t StartAndWaitForPaint(const Machine& machine, std::int64_t& elapsedNs) {
  std::filesystem::remove(machine.Probe());
  ::setenv("VEXLO_FIRST_PAINT_FILE", machine.Probe().c_str(), 1);
  const std::int64_t start = MonotonicNs();
  const pid_t pid = Spawn(kBinaries + "vexlo", {});
  for (int i = 0; i < 2000 && !std::filesystem::exists(machine.Probe()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::int64_t painted = 0;
  std::ifstream(machine.Probe()) >> painted;
  elapsedNs = painted > 0 ? painted - start : -1;
  return pid;
}

void EndProgram(pid_t pid) {
  RunToEnd(kBinaries + "vexlo", {"/Kill"});
  int status = 0;
  ::waitpid(pid, &status, 0);
}

void BM_StartToFirstPaint(benchmark::State& state) {
  Machine machine;
  if (!machine.running()) {
    state.SkipWithError("vexlo-sim did not start");
    return;
  }
  for (auto _ : state) {
    std::int64_t elapsed = 0;
    const pid_t pid = StartAndWaitForPaint(machine, elapsed);
    EndProgram(pid);
    if (elapsed < 0) {
      state.SkipWithError("the window was not painted");
      return;
    }
    state.SetIterationTime(static_cast<double>(elapsed) / 1e9);
  }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// CPU time and threads while the program waits with its window shown and the mouse connected.
void BM_IdleCpuOverTenSeconds(benchmark::State& state) {
  Machine machine;
  for (auto _ : state) {
    std::int64_t elapsed = 0;
    const pid_t pid = StartAndWaitForPaint(machine, elapsed);
    std::this_thread::sleep_for(std::chrono::seconds(1));  // settle after the first paint
    const long before = CpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const long used = CpuTicks(pid) - before;
    state.counters["cpu_ms"] = static_cast<double>(used) * 1000.0 / ::sysconf(_SC_CLK_TCK);
    state.counters["threads"] = Threads(pid);
    EndProgram(pid);
    state.SetIterationTime(10.0);
  }
}
BENCHMARK(BM_IdleCpuOverTenSeconds)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
