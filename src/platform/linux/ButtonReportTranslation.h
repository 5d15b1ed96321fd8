#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

#include "platform/linux/FilterRequests.h"

namespace vexlo {

// The HID filter's event translation table, kept for the mouse's consumer-control collection. The
// kernel hands the mouse's reports over as they come; where a report carries one of the table's
// consumer usages, the reader passes on the table's event code instead, as the filter does. Reports
// that already carry an event code, and releases (0), pass unchanged. Any thread.
class ButtonReportTranslation {
 public:
  void Set(const filter::TranslationGroups& groups);

  // Rewrites a 3-byte report (report ID, 16-bit value, little-endian) in place; leaves any other
  // length alone.
  void Apply(std::span<std::uint8_t> report) const;

 private:
  mutable std::mutex mutex_;  // guards groups_
  std::optional<filter::TranslationGroups> groups_;
};

}  // namespace vexlo
