#include "engine/ApplyAll.h"

#include "device/DeviceCommands.h"
#include "engine/WindowsMouseSettings.h"

namespace vexlo {

Result ApplyAll(DeviceCommands& device, SystemMouseSettings& system, WheelLinesWorker& wheelLines,
                WindowsSettings& windows) {
  const Result mouse = device.ApplyDeviceSettings();
  const Result desktop = ApplyWindowsSettings(system, wheelLines, windows);
  return mouse != Result::Ok ? mouse : desktop;
}

}  // namespace vexlo
