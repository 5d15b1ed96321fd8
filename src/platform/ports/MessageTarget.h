#pragma once

#include <cstdint>

#include "common/Result.h"

namespace vexlo {

// A window that workers and other processes reach with the main window's messages
// (common/Messages.h). The window handles every message on its own (user-interface) thread.
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;

  // Queues the message for the window's thread and returns at once; never blocks. Any thread.
  // Ok, or InvalidWindowHandle when the window no longer exists.
  [[nodiscard]] virtual Result Post(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;

  // Has the window's thread handle the message and returns the handler's answer; blocks until
  // it has. Any thread; called on the window's own thread it runs the handler directly. The
  // caller must hold no lock that the handler takes. Returns 0 when the window no longer exists.
  virtual std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
};

}  // namespace vexlo
