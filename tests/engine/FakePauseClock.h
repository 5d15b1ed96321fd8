#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <vector>

#include "engine/PauseClock.h"

namespace vexlo::test {

// A clock that the test drives; its time stands still unless a wait or the test moves it.
// Instant: every wait is noted and returns at once, the time moved on to its end. Manual: a wait
// blocks until the test advances the time to its end, or a stop comes; a test can wait until a
// worker has begun its n-th wait.
class FakePauseClock final : public PauseClock {
 public:
  enum class Mode { Instant, Manual };

  explicit FakePauseClock(Mode mode = Mode::Instant) : mode_(mode) {}

  Clock::time_point Now() override {
    std::scoped_lock lock(mutex_);
    return now_;
  }

  bool WaitUntil(Clock::time_point deadline, std::stop_token stop = {}) override {
    std::unique_lock lock(mutex_);
    waits_.push_back(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::max(deadline - now_, {}))
            .count()));
    changed_.notify_all();
    if (mode_ == Mode::Instant) {
      now_ = std::max(now_, deadline);
      return true;
    }
    return changed_.wait(lock, stop, [&] { return now_ >= deadline; });
  }

  // Lets the time run on by `milliseconds`: the waits it reaches end.
  void Advance(std::uint64_t milliseconds) {
    {
      std::scoped_lock lock(mutex_);
      now_ += std::chrono::milliseconds(milliseconds);
    }
    changed_.notify_all();
  }

  // Waits until `count` waits have begun in all; false when they are not within 10 s.
  bool WaitForWaits(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10),
                             [&] { return waits_.size() >= count; });
  }

  // The length of every wait so far (from the time it began, in whole milliseconds), in order.
  std::vector<std::uint32_t> Waits() const {
    std::scoped_lock lock(mutex_);
    return waits_;
  }

 private:
  const Mode mode_;
  mutable std::mutex mutex_;  // guards the members below
  std::condition_variable_any changed_;
  Clock::time_point now_;
  std::vector<std::uint32_t> waits_;
};

}  // namespace vexlo::test
