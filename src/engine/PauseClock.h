#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>
#include <utility>

namespace vexlo {

// The time of the host functions: the pauses of macros and rapid fire on the macro player's
// worker, and the pauses inside key combinations on the user-interface thread. Tests put in a
// clock of their own.
class PauseClock {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~PauseClock() = default;

  // The time now. Never blocks; any thread.
  virtual Clock::time_point Now() = 0;

  // Waits until `deadline`, to a small fraction of a millisecond, or until `stop` is requested
  // (before or during the wait), whichever comes first; a deadline that has passed returns at
  // once. True when the deadline was reached, false when the stop ended the wait. Blocks; any
  // thread, several at once.
  virtual bool WaitUntil(Clock::time_point deadline, std::stop_token stop = {}) = 0;

  // Waits `milliseconds` from now, as WaitUntil does; 0 returns at once.
  bool WaitMs(std::uint32_t milliseconds, std::stop_token stop = {}) {
    if (milliseconds == 0) return true;
    return WaitUntil(Now() + std::chrono::milliseconds(milliseconds), std::move(stop));
  }
};

}  // namespace vexlo
