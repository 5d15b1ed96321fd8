#pragma once

#include <atomic>
#include <chrono>

#include "engine/PauseClock.h"

namespace vexlo {

// Waits on the steady clock. The bulk of a wait sleeps on a condition variable that a stop
// request wakes; the sleep is set to end a little before the deadline, by the lateness that such
// sleeps showed so far (at most kMaxFinish), and the rest is spent checking the clock and the
// stop request. So a wait ends within a few microseconds of its deadline while the thread sleeps
// for all but a fraction of a millisecond of it.
class SteadyPauseClock final : public PauseClock {
 public:
  // The longest finish that is spent checking the clock.
  static constexpr std::chrono::microseconds kMaxFinish{250};

  Clock::time_point Now() override { return Clock::now(); }
  bool WaitUntil(Clock::time_point deadline, std::stop_token stop = {}) override;

 private:
  // Sleeps until `wake` unless a stop comes first; false when it did.
  static bool Sleep(Clock::time_point wake, const std::stop_token& stop);
  // Notes how late a sleep woke: the finish of the next waits.
  void LearnLateness(Clock::duration late);

  std::atomic<Clock::rep> lateness_{
      std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(100))
          .count()};  // running mean of how late sleeps wake
};

}  // namespace vexlo
