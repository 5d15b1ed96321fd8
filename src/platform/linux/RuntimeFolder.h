#pragma once

#include <string>

namespace vexlo {

// The per-user folder for the program's locks and local sockets: $XDG_RUNTIME_DIR/vexlo/ when
// XDG_RUNTIME_DIR is an absolute path, else /tmp/vexlo-<uid>/. Created private (mode 0700) when
// missing. Empty when it cannot be used safely: not a folder of its own (a link, a file), owned
// by another user, or open to others; whatever lives there is then unreachable, never shared.
// Ends with '/'.
std::string RuntimeFolder();

// The same test for a folder that exists or is created here; `folder` ends with '/'.
bool IsPrivateFolder(const std::string& folder);

}  // namespace vexlo
