#pragma once

#include <memory>

#include "platform/ports/Platform.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// Puts the simulated environment's ports into the bundle: HID enumeration, device I/O, the
// desktop's pointer settings and its foreground program. The other ports stay as they are.
void AddSimPorts(Platform& platform, const std::shared_ptr<SimService>& sim);

}  // namespace vexlo
