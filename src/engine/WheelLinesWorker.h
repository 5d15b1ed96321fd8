#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "common/Result.h"

namespace vexlo {

class SystemMouseSettings;

// Applies the wheel scroll lines on a thread of its own: the desktop tells every running program
// about the change, which can take a while, and the window must not wait for it. Only the newest
// value matters, so values queued while the worker is busy collapse into the last one.
class WheelLinesWorker {
 public:
  explicit WheelLinesWorker(SystemMouseSettings& system);
  ~WheelLinesWorker() { Shutdown(); }
  WheelLinesWorker(const WheelLinesWorker&) = delete;
  WheelLinesWorker& operator=(const WheelLinesWorker&) = delete;

  // Hands the value to the worker, replacing one that is still waiting, and starts the worker on
  // first use. Ok, or NotEnoughMemory when the worker cannot be started (the value then waits for
  // the next call). Does not block on the desktop; call from one thread (the UI thread).
  [[nodiscard]] Result Queue(std::uint32_t lines);

  // Applies a value still waiting, then ends the worker and waits until it has. A later Queue
  // starts a new worker. Same thread as Queue.
  void Shutdown();

 private:
  void Run(std::stop_token stop);

  SystemMouseSettings& system_;
  std::mutex mutex_;  // guards pending_
  std::condition_variable_any wake_;
  std::optional<std::uint32_t> pending_;
  std::jthread worker_;  // last, so it is stopped and joined before the members it uses go
};

}  // namespace vexlo
