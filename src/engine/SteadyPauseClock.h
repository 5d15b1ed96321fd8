#pragma once

#include "engine/PauseClock.h"

namespace vexlo {

// Waits on the steady clock. A wait sleeps until its deadline as an absolute time of the
// monotonic clock, so time lost before it began (a late wake-up from the wait before, a slow
// report) shortens it instead of adding up, on a condition variable that a stop request wakes.
// It does not spin: on a busy machine a spinning thread is the one the scheduler takes the
// processor from, and the threads that keep time ask for real-time scheduling (RealtimeThread.h),
// which wakes them within tens of microseconds.
class SteadyPauseClock final : public PauseClock {
 public:
  Clock::time_point Now() override { return Clock::now(); }
  bool WaitUntil(Clock::time_point deadline, std::stop_token stop = {}) override;
};

}  // namespace vexlo
