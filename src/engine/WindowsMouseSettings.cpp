#include "engine/WindowsMouseSettings.h"

#include "engine/WheelLinesWorker.h"
#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

Result ApplyDoubleClickTime(SystemMouseSettings& system, WindowsSettings& windows) {
  windows.uDoubleClickTime = ClampDoubleClickTime(windows.uDoubleClickTime);
  return system.SetDoubleClickTime(windows.uDoubleClickTime);
}

Result ApplyPointerSpeed(SystemMouseSettings& system, WindowsSettings& windows) {
  windows.uMouseSpeed = ClampPointerSpeed(windows.uMouseSpeed);
  return system.SetPointerSpeed(windows.uMouseSpeed);
}

Result QueueWheelLines(WheelLinesWorker& wheelLines, WindowsSettings& windows) {
  windows.uWheelScrollLines = ClampWheelScrollLines(windows.uWheelScrollLines);
  return wheelLines.Queue(windows.uWheelScrollLines);
}

Result ApplyWindowsSettings(SystemMouseSettings& system, WheelLinesWorker& wheelLines,
                            WindowsSettings& windows) {
  // A setting the desktop refuses must not keep the others from being applied.
  (void)ApplyDoubleClickTime(system, windows);
  (void)ApplyPointerSpeed(system, windows);
  return QueueWheelLines(wheelLines, windows);
}

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
