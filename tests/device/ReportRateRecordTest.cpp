#include "device/ReportRateRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlo {
namespace {

TEST(ReportRateRecordTest, EachIndexGivesItsFactorAsADouble) {
  using Bytes = std::vector<std::uint8_t>;
  const struct {
    std::uint8_t index;
    double factor;
    Bytes record;
  } cases[] = {
      {0, 0.125, {0, 0, 0, 0, 0, 0, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {1, 0.25, {0, 0, 0, 0, 0, 0, 0xD0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {2, 0.5, {0, 0, 0, 0, 0, 0, 0xE0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {3, 1.0, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {4, 1.0, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {255, 1.0, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReportRateFactor(c.index), c.factor) << int{c.index};
    const ReportRateRecord record = EncodeReportRateRecord(c.index);
    EXPECT_EQ(Bytes(record.begin(), record.end()), c.record) << int{c.index};
  }
}

}  // namespace
}  // namespace vexlo
