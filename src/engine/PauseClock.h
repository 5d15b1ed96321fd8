#pragma once

#include <cstdint>
#include <stop_token>

namespace vexlo {

// The waits of the host functions: the pauses of macros and rapid fire on the macro player's
// worker, and the pauses inside key combinations on the user-interface thread. Tests put in a
// clock of their own.
class PauseClock {
 public:
  virtual ~PauseClock() = default;

  // Waits `milliseconds` from now, to a small fraction of a millisecond, or until `stop` is
  // requested (before or during the wait), whichever comes first; 0 returns at once. True when
  // the whole time has passed, false when the stop ended it. Blocks; any thread, several at once.
  virtual bool WaitMs(std::uint32_t milliseconds, std::stop_token stop = {}) = 0;
};

}  // namespace vexlo
