#include "engine/InjectionReport.h"

#include <algorithm>
#include <bit>

namespace vexlo {

InjectionReportBytes EncodeMouseButtons(std::uint8_t buttons) {
  MouseButtonsReport report;
  report.buttons = buttons;
  return std::bit_cast<InjectionReportBytes>(report);
}

InjectionReportBytes EncodeKeyboard(std::span<const std::uint8_t> keys) {
  KeyboardReport report;
  const std::size_t count = std::min(keys.size(), report.keys.size());
  std::copy_n(keys.begin(), count, report.keys.begin());
  return std::bit_cast<InjectionReportBytes>(report);
}

InjectionReportBytes EncodeConsumer(std::uint16_t usage) {
  ConsumerReport report;
  report.usageLow = static_cast<std::uint8_t>(usage & 0xFF);
  report.usageHigh = static_cast<std::uint8_t>(usage >> 8);
  return std::bit_cast<InjectionReportBytes>(report);
}

}  // namespace vexlo
