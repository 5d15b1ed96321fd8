#include "app/panels/PerformancePanelValues.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kDoubleClickBase = 165;
constexpr std::uint32_t kDoubleClickStep = 70;
constexpr std::uint32_t kDoubleClickSlowest = 900;
constexpr std::array<std::string_view, kReportRateCount> kReportRates = {"125", "250", "500",
                                                                         "1000"};

}  // namespace

int DoubleClickPosition(std::uint32_t milliseconds) {
  const std::uint32_t steps = std::min((milliseconds - kDoubleClickBase) / kDoubleClickStep,
                                       std::uint32_t{kDoubleClickPositions + 1});
  return std::max(0, kDoubleClickPositions - static_cast<int>(steps));
}

std::uint32_t DoubleClickTimeAt(int position) {
  const int p = std::clamp(position, 0, kDoubleClickPositions);
  return kDoubleClickSlowest - kDoubleClickStep * static_cast<std::uint32_t>(p);
}

int PointerSpeedPosition(std::uint32_t speed) {
  return static_cast<int>(std::min(speed / 2, std::uint32_t{kPointerSpeedPositions}));
}

std::uint32_t PointerSpeedAt(int position) {
  const int p = std::clamp(position, 0, kPointerSpeedPositions);
  return p == 0 ? 1 : 2 * static_cast<std::uint32_t>(p);
}

std::string_view ReportRateText(std::uint8_t index) {
  return kReportRates[std::min<std::size_t>(index, kReportRates.size() - 1)];
}

std::optional<std::uint32_t> WheelNumber(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t number = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = std::min<std::uint64_t>(number * 10 + static_cast<std::uint64_t>(c - u'0'),
                                     std::numeric_limits<std::uint32_t>::max());
  }
  return static_cast<std::uint32_t>(number);
}

std::uint32_t ClampWheelLines(std::optional<std::uint32_t> number) {
  return std::clamp(number.value_or(0), kWheelLinesMin, kWheelLinesMax);
}

DesktopSettingsPresent FindDesktopSettings(SystemMouseSettings& desktop) {
  std::uint32_t value = 0;
  DesktopSettingsPresent present;
  present.doubleClick = desktop.GetDoubleClickTime(value) != Result::NotSupported;
  present.pointerSpeed = desktop.GetPointerSpeed(value) != Result::NotSupported;
  present.wheelLines = desktop.GetWheelScrollLines(value) != Result::NotSupported;
  present.wheelPage = present.wheelLines && desktop.HasPageScrolling();
  return present;
}

}  // namespace vexlo
