#pragma once

#include <functional>
#include <mutex>
#include <thread>

#include "common/Result.h"
#include "platform/ports/DriverSetup.h"

namespace vexlo {

// Runs the split drivers' setup on a worker thread of its own: at most one at a time, owned here
// and joined by Stop or the destructor, never detached.
class SplitDriverInstaller {
 public:
  // Hears the setup's result on the worker thread; it must not block on the user-interface thread
  // (a post is fine) and must not call back into the installer.
  using DoneCallback = std::function<void(Result)>;

  SplitDriverInstaller() = default;
  ~SplitDriverInstaller() { Stop(); }
  SplitDriverInstaller(const SplitDriverInstaller&) = delete;
  SplitDriverInstaller& operator=(const SplitDriverInstaller&) = delete;

  // Starts the setup unless one is running: true when it started. A finished worker is joined
  // first. User-interface thread.
  bool Start(DriverSetup& setup, DoneCallback done);

  // True while a setup runs.
  bool Running() const;

  // Waits for a setup in progress to end; its result is then not reported. User-interface thread.
  void Stop();

 private:
  mutable std::mutex mutex_;  // guards running_
  bool running_ = false;
  std::jthread worker_;
};

}  // namespace vexlo
