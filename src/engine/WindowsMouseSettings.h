#pragma once

#include "common/Result.h"
#include "profiles/ProfileData.h"

// The three settings of a profile that go to the desktop rather than to the mouse: double-click
// time, pointer speed and wheel scroll lines. Each is brought into its valid range before it is
// applied, and the clamped value is stored back into the profile record. UI thread.
namespace vexlo {

class SystemMouseSettings;
class WheelLinesWorker;

// Clamps the double-click time to 200..900 ms and applies it. Ok or the desktop's error.
[[nodiscard]] Result ApplyDoubleClickTime(SystemMouseSettings& system, WindowsSettings& windows);

// Clamps the pointer speed to 1..20 and applies it. Ok or the desktop's error.
[[nodiscard]] Result ApplyPointerSpeed(SystemMouseSettings& system, WindowsSettings& windows);

// Clamps the wheel lines to 1..100 (a page per notch stays) and hands them to the worker, which
// applies them later. Ok, or the worker's error when it cannot start.
[[nodiscard]] Result QueueWheelLines(WheelLinesWorker& wheelLines, WindowsSettings& windows);

// All three, as the last step of sending a whole profile: the double-click time and the pointer
// speed are applied whatever the desktop answers, then the wheel lines are queued; the result is
// the queueing's.
[[nodiscard]] Result ApplyWindowsSettings(SystemMouseSettings& system, WheelLinesWorker& wheelLines,
                                          WindowsSettings& windows);

// Reads the desktop's double-click time, pointer speed and wheel lines into the profile's
// desktop part. A failed read of the speed gives 10 and of the wheel lines 3; a failed read of the
// double-click time leaves the value as it was.
void CaptureWindowsSettings(SystemMouseSettings& system, WindowsSettings& windows);

}  // namespace vexlo
