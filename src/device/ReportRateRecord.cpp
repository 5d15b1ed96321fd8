#include "device/ReportRateRecord.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace vexlo {
namespace {

static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8,
              "the filter takes an IEEE-754 double");

constexpr std::array<double, kReportRateCount> kFactors = {0.125, 0.25, 0.5, 1.0};

}  // namespace

double ReportRateFactor(std::uint8_t index) {
  return kFactors[std::min<std::size_t>(index, kReportRateCount - 1)];
}

ReportRateRecord EncodeReportRateRecord(std::uint8_t index) {
  ReportRateRecord record{};
  const auto bits = std::bit_cast<std::uint64_t>(ReportRateFactor(index));
  for (std::size_t i = 0; i < sizeof bits; ++i) {
    record[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
  return record;
}

}  // namespace vexlo
