#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "platform/ports/MessageTarget.h"
#include "platform/ports/ReleaseOnDestroy.h"

namespace vexlo {

// A main window of a running copy of the program, as another process sees it.
struct RunningWindow {
  std::string endpoint;       // backend's address of the window
  std::uint32_t userData;     // the tag the window was published with ('MAIN')
  std::uint32_t processId;    // 0 when unknown
};

// A message that another process posted to a published window. The sender's process id is the
// system's word for it, not the sender's.
struct IncomingMessage {
  std::uint32_t senderProcessId;
  std::uint32_t message;
  std::uint32_t wParam;
  std::uint32_t lParam;
};

// Which messages from other processes a published window takes; everything else is dropped before
// it reaches the window. Called on a backend thread; must answer at once.
using MessageAdmission = std::function<bool(const IncomingMessage&)>;

// The single-instance rule and the running copies' main windows, which other copies reach with
// posted messages.
class InstanceRegistry {
 public:
  virtual ~InstanceRegistry() = default;

  // Takes the machine-wide (per-user) lock `name` for this process; it is held until `lock` is
  // destroyed or the process ends, however it ends. Busy when another process holds it, or the
  // platform's error. Never blocks; user-interface thread.
  [[nodiscard]] virtual Result AcquireInstanceLock(std::string_view name,
                                                   std::unique_ptr<ReleaseOnDestroy>& lock) = 0;

  // Makes a window of this process reachable under `userData`: messages that processes of the
  // same user post to it, and that `admit` takes, are handed to target.Post on a backend thread
  // until `publication` is destroyed; nothing a sender does (a partial, oversized or garbage
  // message, a stalled or flooding connection) delays another sender's message for long.
  // `target` must outlive `publication`. `self` receives the window as other processes see it;
  // its endpoint is the window's handle to give to another program. Ok or the platform's error;
  // user-interface thread.
  [[nodiscard]] virtual Result PublishWindow(std::uint32_t userData, MessageAdmission admit,
                                             MessageTarget& target,
                                             std::unique_ptr<ReleaseOnDestroy>& publication,
                                             RunningWindow& self) = 0;

  // The published windows of every running process (this one included), the most recently
  // published first; windows of processes that have ended are not listed. Never blocks for long;
  // any thread.
  virtual std::vector<RunningWindow> ListWindows() = 0;

  // The published window at `endpoint` (a handle that another program was given); none when
  // it is gone. Any thread.
  virtual std::optional<RunningWindow> WindowAt(const std::string& endpoint) = 0;

  // Posts a message to a window of another process and returns without waiting for it to be
  // handled. Ok, or the platform's error when the window is gone. Any thread.
  [[nodiscard]] virtual Result PostToWindow(const RunningWindow& window, std::uint32_t message,
                                            std::uint32_t wParam, std::uint32_t lParam) = 0;

  // Full path of the program file that the process runs; none when the process cannot be
  // queried (gone, or not ours to look at). Any thread.
  virtual std::optional<std::string> ProcessImagePath(std::uint32_t processId) = 0;
};

}  // namespace vexlo
