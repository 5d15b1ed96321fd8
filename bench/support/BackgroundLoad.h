#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace vexlo::bench {

// A fixed background load, as a game that keeps every core busy makes it: one process per core
// that spins at ordinary priority for as long as this object lives. Processes, not threads, so
// that the benchmark's own CPU time does not count them. Made before any thread of the benchmark
// starts.
class BackgroundLoad {
 public:
  explicit BackgroundLoad(unsigned processes = std::thread::hardware_concurrency()) {
    const pid_t parent = ::getpid();
    for (unsigned i = 0; i < processes; ++i) {
      const pid_t child = ::fork();
      if (child == 0) Spin(parent);
      if (child > 0) children_.push_back(child);
    }
  }
  ~BackgroundLoad() {
    for (const pid_t child : children_) ::kill(child, SIGKILL);
    for (const pid_t child : children_) ::waitpid(child, nullptr, 0);
  }
  BackgroundLoad(const BackgroundLoad&) = delete;
  BackgroundLoad& operator=(const BackgroundLoad&) = delete;

  unsigned Processes() const { return static_cast<unsigned>(children_.size()); }

 private:
  [[noreturn]] static void Spin(pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // a benchmark that crashes leaves no spinner behind
    if (::getppid() != parent) ::_exit(0);
    for (;;) {
      asm volatile("" ::: "memory");  // a loop the compiler keeps
    }
  }

  std::vector<pid_t> children_;
};

}  // namespace vexlo::bench
