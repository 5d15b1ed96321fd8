#pragma once

#include "profiles/ProfileData.h"

namespace vexlo {

class SystemMouseSettings;

// Reads the desktop's double-click time, pointer speed and wheel lines into the profile's
// desktop part. A failed read of the speed gives 10 and of the wheel lines 3; a failed read of the
// double-click time leaves the value as it was.
void CaptureWindowsSettings(SystemMouseSettings& system, WindowsSettings& windows);

}  // namespace vexlo
