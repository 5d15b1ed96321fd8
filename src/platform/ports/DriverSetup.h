#pragma once

#include "common/Result.h"

namespace vexlo {

// Installs the split variant of the two filter drivers (for a mouse whose consumer-control
// collection is no interface of a composite USB device) and restarts the mouse, which the program
// then meets as an ordinary removal and arrival.
class DriverSetup {
 public:
  virtual ~DriverSetup() = default;

  // Runs the whole setup and waits for it. The mouse is enabled again at the end whatever failed
  // on the way. Ok, or the error of the step that failed. Blocks; any thread but the
  // user-interface thread.
  [[nodiscard]] virtual Result InstallSplitDrivers() = 0;
};

}  // namespace vexlo
