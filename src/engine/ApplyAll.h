#pragma once

#include "common/Result.h"
#include "profiles/ProfileData.h"

namespace vexlo {

class DeviceCommands;
class SystemMouseSettings;
class WheelLinesWorker;

// Sends the whole current profile: its device part to the mouse (buttons, sensitivity levels,
// report rate, lighting; DeviceCommands::ApplyDeviceSettings), then its desktop part (double-click
// time, pointer speed, wheel lines; ApplyWindowsSettings) whatever the mouse answered, so that a
// missing mouse still gets the desktop settings. Clamped values are stored back into the profile.
// The result is the mouse's failure (NotConnected, NotFound, a failed transfer) when there was
// one, else the desktop part's. UI thread.
[[nodiscard]] Result ApplyAll(DeviceCommands& device, SystemMouseSettings& system,
                              WheelLinesWorker& wheelLines, WindowsSettings& windows);

}  // namespace vexlo
