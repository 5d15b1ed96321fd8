#pragma once

#include <string>

namespace vexlo {

// The per-user folder for the program's locks and local sockets: $XDG_RUNTIME_DIR/vexlo/, or
// /tmp/vexlo-<uid>/ without one. Created private (mode 0700) when missing; ends with '/'.
std::string RuntimeFolder();

}  // namespace vexlo
