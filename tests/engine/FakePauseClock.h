#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <vector>

#include "engine/PauseClock.h"

namespace vexlo::test {

// A clock that the test drives. Instant: every wait is noted and returns at once, as if its time
// had passed. Manual: a wait blocks until the test advances the time to its end, or a stop
// comes; a test can wait until a worker has begun its n-th wait.
class FakePauseClock final : public PauseClock {
 public:
  enum class Mode { Instant, Manual };

  explicit FakePauseClock(Mode mode = Mode::Instant) : mode_(mode) {}

  bool WaitMs(std::uint32_t milliseconds, std::stop_token stop = {}) override {
    std::unique_lock lock(mutex_);
    waits_.push_back(milliseconds);
    changed_.notify_all();
    if (mode_ == Mode::Instant) {
      now_ += milliseconds;
      return true;
    }
    const std::uint64_t end = now_ + milliseconds;
    return changed_.wait(lock, stop, [&] { return now_ >= end; });
  }

  // Lets the time run on by `milliseconds`: the waits it reaches end.
  void Advance(std::uint64_t milliseconds) {
    {
      std::scoped_lock lock(mutex_);
      now_ += milliseconds;
    }
    changed_.notify_all();
  }

  // Waits until `count` waits have begun in all; false when they are not within 10 s.
  bool WaitForWaits(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10),
                             [&] { return waits_.size() >= count; });
  }

  // The length of every wait so far, in order.
  std::vector<std::uint32_t> Waits() const {
    std::scoped_lock lock(mutex_);
    return waits_;
  }

 private:
  const Mode mode_;
  mutable std::mutex mutex_;  // guards the members below
  std::condition_variable_any changed_;
  std::uint64_t now_ = 0;
  std::vector<std::uint32_t> waits_;
};

}  // namespace vexlo::test
