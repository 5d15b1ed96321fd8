#pragma once

#include "platform/ports/SystemInfo.h"

namespace vexlo {

// Reads the kernel's machine name (uname), which tells the processor architecture that the
// system runs on, not the width of this build.
class LinuxSystemInfo final : public SystemInfo {
 public:
  int NativeBitWidth() override;
};

}  // namespace vexlo
