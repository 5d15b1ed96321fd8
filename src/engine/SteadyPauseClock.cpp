#include "engine/SteadyPauseClock.h"

#include <condition_variable>
#include <mutex>

namespace vexlo {

bool SteadyPauseClock::WaitUntil(Clock::time_point deadline, std::stop_token stop) {
  // A timed wait of a condition variable on the steady clock is the kernel's absolute wait on the
  // monotonic clock, as clock_nanosleep with TIMER_ABSTIME is, and unlike it a stop request can
  // end it at once.
  std::mutex mutex;
  std::condition_variable_any stopped;
  std::unique_lock lock(mutex);
  return !stopped.wait_until(lock, stop, deadline, [&stop] { return stop.stop_requested(); });
}

}  // namespace vexlo
