#include "platform/linux/ButtonReportTranslation.h"

namespace vexlo {

void ButtonReportTranslation::Set(const filter::TranslationGroups& groups) {
  std::scoped_lock lock(mutex_);
  groups_ = groups;
}

void ButtonReportTranslation::Apply(std::span<std::uint8_t> report) const {
  constexpr std::size_t kButtonReportLength = 3;
  if (report.size() != kButtonReportLength) return;
  const auto value = static_cast<std::uint16_t>(report[1] | report[2] << 8);
  if (value == 0) return;
  std::scoped_lock lock(mutex_);
  if (!groups_) return;
  for (const filter::UsageTranslation& group : *groups_) {
    if (group.usage == value) {
      report[1] = static_cast<std::uint8_t>(group.code & 0xFF);
      report[2] = static_cast<std::uint8_t>(group.code >> 8);
      return;
    }
  }
}

}  // namespace vexlo
