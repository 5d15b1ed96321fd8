#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Result.h"

namespace vexlo {

// A window that workers and other processes reach with the main window's messages
// (common/Messages.h). The window handles every message on its own (user-interface) thread, in
// the order they were posted. A message travels by value: numbers, and for the messages that
// carry text, the texts themselves, never an address. A window that has gone drops what was
// still on its way to it.
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;

  // Queues the message for the window's thread and returns at once; never blocks. Any thread.
  // Ok, or InvalidWindowHandle when the window no longer exists.
  [[nodiscard]] virtual Result Post(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;

  // As Post, for a message that carries texts (UM_LINKED_PROFILE: the chosen profile file, its
  // linked program, the program in the foreground); the window receives its own copy of them.
  [[nodiscard]] virtual Result PostText(std::uint32_t message, std::vector<std::string> texts) = 0;
};

}  // namespace vexlo
