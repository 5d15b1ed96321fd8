#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::test {

// A program started by a test, killed when the object goes if it still runs.
class ChildProcess {
 public:
  // Starts `program` with `arguments`; `environment` adds to (or replaces in) this process's own.
  // Its standard output goes to `outputFd` when one is given.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, int outputFd = -1);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // The exit code once the program has ended within `deadline`; none while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds deadline);

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_code_;
};

// Runs a program to its end and returns what it wrote to its standard output; none when it could
// not be started or did not end within `deadline` (it is killed then).
std::optional<std::string> RunForOutput(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::map<std::string, std::string>& environment,
                                        std::chrono::milliseconds deadline);

// Waits until `condition` holds or the deadline passes; returns whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    struct timespec pause {0, 10'000'000};
    nanosleep(&pause, nullptr);
  }
  return true;
}

// An Xvfb of the caller's own with one screen of `screen` ("1280x800x24"), not on the network;
// `display` gets its name (":N") as soon as the server has one. Null when it could not start.
std::unique_ptr<ChildProcess> StartXvfb(const std::string& screen, std::string& display);

}  // namespace vexlo::test
