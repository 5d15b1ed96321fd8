// vexlo-sim: holds one simulated machine (the mouse, its drivers, the injection device and the
// desktop) for a running vexlo, and drives it from the command line.

#include <fcntl.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimCommands.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimProtocol.h"
#include "platform/sim/SimServer.h"

namespace {

using vexlo::Result;

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotRunning = 3;  // for start: already running

constexpr const char* kUsage =
    "usage: vexlo-sim COMMAND [ARGUMENTS]\n"
    "  start [--foreground] [--unplugged] [--model 1|2] [--plain] [--no-drivers]\n"
    "        [--silent-filter]  (--plain: a split mouse; --silent-filter: the HID filter\n"
    "                          ignores the wake packet until the split drivers are installed)\n"
    "                          run the simulated machine (the mouse plugged in) in the background\n"
    "  stop                    end it\n"
    "  injected --follow       the input the program injects, as it comes (Ctrl+C ends)\n";

struct StartOptions {
  vexlo::SimState state;
  bool foreground = false;
};

bool ParseStartOptions(const std::vector<std::string>& words, StartOptions& options) {
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--foreground") {
      options.foreground = true;
    } else if (word == "--unplugged") {
      options.state.mouse.plugged = false;
    } else if (word == "--plain") {
      options.state.mouse.composite = false;
    } else if (word == "--silent-filter") {
      options.state.drivers.wakeNeedsSplit = true;
    } else if (word == "--no-drivers") {
      options.state.drivers = {.hidFilter = false, .mouseFilter = false};
    } else if (word == "--model" && i + 1 < words.size() &&
               (words[i + 1] == "1" || words[i + 1] == "2")) {
      const bool plugged = options.state.mouse.plugged;
      const bool composite = options.state.mouse.composite;
      options.state.mouse = vexlo::SimMouse::FactoryNew(words[++i] == "1" ? 1 : 2);
      options.state.mouse.plugged = plugged;
      options.state.mouse.composite = composite;
    } else {
      return false;
    }
  }
  return true;
}

std::string Describe(Result result) {
  return "error " + std::to_string(vexlo::ToNumber(result));
}

// Runs the machine until a client asks it to stop or a signal ends it. When `ready` is valid, the
// result of starting is written to it (4 bytes) for the parent that waits for it.
int Serve(const StartOptions& options, const std::string& socketPath, vexlo::UniqueFd ready) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  // Blocked before the server's thread starts, so that only the signalfd sees them.
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  vexlo::UniqueFd stopSignal(::signalfd(-1, &signals, SFD_CLOEXEC));

  vexlo::SimServer server(std::make_shared<vexlo::SimEnvironment>(options.state), socketPath);
  const Result started = server.Start(std::move(stopSignal));
  if (ready.valid()) {
    const std::uint32_t number = vexlo::ToNumber(started);
    (void)!::write(ready.get(), &number, sizeof number);  // a parent that has gone needs nothing
    ready.Reset();
  }
  if (started != Result::Ok) {
    std::fprintf(stderr, "vexlo-sim cannot listen at %s: %s\n", socketPath.c_str(),
                 Describe(started).c_str());
    return kExitFailed;
  }
  if (options.foreground) {
    std::printf("vexlo-sim is listening at %s; Ctrl+C ends it\n", socketPath.c_str());
    std::fflush(stdout);
  }
  server.WaitUntilStopped();
  return kExitOk;
}

int Start(const std::vector<std::string>& words) {
  StartOptions options;
  if (!ParseStartOptions(words, options)) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string socketPath = vexlo::SimSocketPath();
  if (vexlo::UniqueFd probe; vexlo::ConnectTo(socketPath, probe) == Result::Ok) {
    std::fprintf(stderr, "vexlo-sim is already running (%s)\n", socketPath.c_str());
    return kExitNotRunning;
  }
  if (options.foreground) return Serve(options, socketPath, vexlo::UniqueFd());

  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    std::perror("vexlo-sim");
    return kExitFailed;
  }
  vexlo::UniqueFd readEnd(pipeEnds[0]);
  vexlo::UniqueFd writeEnd(pipeEnds[1]);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("vexlo-sim");
    return kExitFailed;
  }
  if (child == 0) {
    readEnd.Reset();
    ::setsid();
    vexlo::UniqueFd nothing(::open("/dev/null", O_RDWR | O_CLOEXEC));
    for (int fd = 0; fd <= 2 && nothing.valid(); ++fd) ::dup2(nothing.get(), fd);
    nothing.Reset();
    ::_exit(Serve(options, socketPath, std::move(writeEnd)));
  }
  writeEnd.Reset();
  std::uint32_t number = 0;
  const ssize_t got = ::read(readEnd.get(), &number, sizeof number);
  if (got != static_cast<ssize_t>(sizeof number) || number != 0) {
    std::fprintf(stderr, "vexlo-sim could not start at %s%s\n", socketPath.c_str(),
                 got == sizeof number ? (": " + Describe(vexlo::FromNumber(number))).c_str() : "");
    return kExitFailed;
  }
  std::printf("vexlo-sim runs in the background (process %d), listening at %s\n", child,
              socketPath.c_str());
  return kExitOk;
}

int Command(const std::vector<std::string>& words) {
  vexlo::SimClient client(vexlo::SimSocketPath());
  if (client.Connect() != Result::Ok) {
    std::fputs("vexlo-sim is not running (start it with: vexlo-sim start)\n", stderr);
    return kExitNotRunning;
  }
  if (words.size() == 1 && words[0] == "stop") {
    const Result r = client.RequestStop();
    client.WaitUntilDisconnected();
    if (r != Result::Ok) {
      std::fprintf(stderr, "vexlo-sim did not stop: %s\n", Describe(r).c_str());
      return kExitFailed;
    }
    std::puts("vexlo-sim stopped");
    return kExitOk;
  }
  if (words.size() == 2 && words[0] == "injected" && words[1] == "--follow") {
    const Result r = client.Follow([](std::string_view line) {
      std::fwrite(line.data(), 1, line.size(), stdout);
      std::fputc('\n', stdout);
      std::fflush(stdout);
    });
    if (r != Result::Ok) return kExitFailed;
    client.WaitUntilDisconnected();
    return kExitOk;
  }
  std::string output;
  const Result r = client.RunCommand(words, output);
  if (!output.empty() && output.back() != '\n') output += '\n';
  std::fputs(output.c_str(), r == Result::Ok ? stdout : stderr);
  return r == Result::Ok ? kExitOk : kExitFailed;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::fputs(kUsage, words.empty() ? stderr : stdout);
    std::fputs(vexlo::kSimCommandHelp.data(), words.empty() ? stderr : stdout);
    return words.empty() ? kExitUsage : kExitOk;
  }
  if (words[0] == "start") return Start(words);
  return Command(words);
}
