#pragma once

#include <cstdint>
#include <string_view>

#include "common/Result.h"

namespace vexlo {

// The real-time priority of the threads that keep time or carry a button press (the macro
// player's worker, the device link's event worker and report reader, the real mouse's forwarder):
// above every ordinary thread, well below the kernel's interrupt threads (50) and what desktop
// audio asks for.
inline constexpr int kRealtimePriority = 10;

// A service of the system that gives a thread of this process real-time scheduling when the
// process may not take it itself: RealtimeKit on a Linux desktop.
class RealtimeBroker {
 public:
  virtual ~RealtimeBroker() = default;

  // Asks for real-time scheduling at `priority` for the thread whose kernel id is `threadId`, a
  // thread of this process. Blocks for one request to the service, a second at most. Any thread,
  // several at once. Ok when granted; NotFound when the service cannot be reached; AccessDenied
  // when it refuses; Timeout when it does not answer; GeneralFailure otherwise.
  [[nodiscard]] virtual Result MakeThreadRealtime(std::uint64_t threadId, int priority) = 0;
};

// Installs the broker that EnterRealtime asks when the process's own request is refused; none (the
// default) when null. The broker must outlive every thread that may call EnterRealtime.
void SetRealtimeBroker(RealtimeBroker* broker);

enum class RealtimeGrant {
  Direct,    // the process gave it itself
  Brokered,  // the broker got it
  Refused,   // the thread keeps ordinary scheduling
};

// Called first thing by a thread that keeps time or carries a button press. Its timer slack
// becomes the least there is (1 ns), so its timed waits end when asked; then it asks for
// first-in-first-out real-time scheduling at kRealtimePriority, itself where the process may, else
// through the broker. A thread that is refused works the same, only less punctually while other
// programs keep every processor busy; the first refusal in the process is logged in one line that
// names `threadName` and the reasons. Threads the thread creates later get ordinary scheduling.
RealtimeGrant EnterRealtime(std::string_view threadName);

}  // namespace vexlo
