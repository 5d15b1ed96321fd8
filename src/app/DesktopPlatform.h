#pragma once

#include "platform/ports/Platform.h"

namespace vexlo {

// The backends the program runs with: this desktop for paths, the single-instance rule and
// system facts; the virtual mouse of a running vexlo-sim for the mouse and its drivers, the
// pointer settings and the foreground program, until the desktop's own are used.
Platform MakeDesktopPlatform();

}  // namespace vexlo
