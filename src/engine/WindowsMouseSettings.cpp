#include "engine/WindowsMouseSettings.h"

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

void CaptureWindowsSettings(SystemMouseSettings& system, WindowsSettings& windows) {
  (void)system.GetDoubleClickTime(windows.uDoubleClickTime);  // untouched when it fails
  std::uint32_t speed = 10;
  if (system.GetPointerSpeed(speed) != Result::Ok) speed = 10;
  std::uint32_t lines = 3;
  if (system.GetWheelScrollLines(lines) != Result::Ok) lines = 3;
  windows.uMouseSpeed = speed;
  windows.uWheelScrollLines = lines;
}

}  // namespace vexlo
