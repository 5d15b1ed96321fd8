#include "engine/SteadyPauseClock.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vexlo {

bool SteadyPauseClock::WaitUntil(Clock::time_point deadline, std::stop_token stop) {
  const Clock::time_point wake = deadline - Clock::duration(lateness_.load());
  if (Clock::now() < wake) {
    if (!Sleep(wake, stop)) return false;
    LearnLateness(Clock::now() - wake);
  }
  // The finish: short enough to cost little, and what makes the wait end on time.
  while (Clock::now() < deadline) {
    if (stop.stop_requested()) return false;
  }
  return true;
}

bool SteadyPauseClock::Sleep(Clock::time_point wake, const std::stop_token& stop) {
  if (!stop.stop_possible()) {
    std::this_thread::sleep_until(wake);
    return true;
  }
  std::mutex mutex;
  std::condition_variable_any stopped;
  std::unique_lock lock(mutex);
  return !stopped.wait_until(lock, stop, wake, [&stop] { return stop.stop_requested(); });
}

void SteadyPauseClock::LearnLateness(Clock::duration late) {
  // A sleep that a busy machine kept from running for long says nothing about the next one.
  const Clock::duration sample = std::min<Clock::duration>(late, kMaxFinish);
  Clock::rep mean = lateness_.load();
  Clock::rep next = 0;
  do {
    next = mean + (sample.count() - mean) / 8;
  } while (!lateness_.compare_exchange_weak(mean, next));
}

}  // namespace vexlo
