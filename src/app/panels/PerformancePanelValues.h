#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// What the performance page shows for the profile's values and what its controls store.
namespace vexlo {

class SystemMouseSettings;

inline constexpr int kDoubleClickPositions = 10;  // slider positions 0 (slow) to 10 (fast)
inline constexpr int kPointerSpeedPositions = 10;
inline constexpr int kReportRateCount = 4;
inline constexpr std::uint32_t kWheelPage = 0xFFFFFFFF;  // one screen per notch
inline constexpr std::uint32_t kWheelLinesMin = 1;
inline constexpr std::uint32_t kWheelLinesMax = 100;
inline constexpr std::uint32_t kWheelLinesFallback = 3;

// 10 - (milliseconds - 165) / 70 in unsigned arithmetic, so that a time below 165 ms, like one
// above 935 ms, shows at position 0.
int DoubleClickPosition(std::uint32_t milliseconds);
// 900 ms at position 0 down to 200 ms at position 10.
std::uint32_t DoubleClickTimeAt(int position);

int PointerSpeedPosition(std::uint32_t speed);
// Twice the position, and 1 rather than 0.
std::uint32_t PointerSpeedAt(int position);

// "125", "250", "500" or "1000"; an index beyond the table (a damaged profile) shows "1000",
// which is what the mouse is sent for it.
std::string_view ReportRateText(std::uint8_t index);

// The number in the wheel edit's text: none unless the text is digits only; a number too large
// for 32 bits reads as the largest.
std::optional<std::uint32_t> WheelNumber(std::u16string_view text);
// The wheel lines that `number` means, brought into 1..100 (no number counts as 0).
std::uint32_t ClampWheelLines(std::optional<std::uint32_t> number);

// Which of the page's desktop settings the desktop has: a get answered NotSupported means none.
struct DesktopSettingsPresent {
  bool doubleClick = true;
  bool pointerSpeed = true;
  bool wheelLines = true;
  bool wheelPage = true;  // one screen per notch
};
DesktopSettingsPresent FindDesktopSettings(SystemMouseSettings& desktop);

}  // namespace vexlo
