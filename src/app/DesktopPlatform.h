#pragma once

#include "platform/ports/Platform.h"

namespace vexlo {

// The backends the program runs with: this desktop for paths, the single-instance rule and
// system facts; the simulated desktop for the pointer settings until the desktop's own are used.
Platform MakeDesktopPlatform();

}  // namespace vexlo
