#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexlo {

// The mouse filter's report-rate record: the rate as a factor of 1000 reports a second (an
// IEEE-754 double, little-endian), then 8 zero bytes.
inline constexpr std::size_t kReportRateRecordSize = 16;
using ReportRateRecord = std::array<std::uint8_t, kReportRateRecordSize>;

inline constexpr int kReportRateCount = 4;  // 125, 250, 500, 1000 reports a second

// The factor of report-rate index 0..3 (0.125, 0.25, 0.5, 1.0); an index beyond counts as 3.
double ReportRateFactor(std::uint8_t index);

ReportRateRecord EncodeReportRateRecord(std::uint8_t index);

}  // namespace vexlo
