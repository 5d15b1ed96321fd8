#include "platform/sim/SimInjectionDecoder.h"

#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace vexlo {
namespace {

using test::InjectionReport;

struct Step {
  std::vector<std::uint8_t> report;
  std::vector<std::string> lines;
};

TEST(SimInjectionDecoderTest, ReportsBecomeReadableInput) {
  const std::vector<Step> steps = {
      {InjectionReport({0x06, 0x04, 0x04}), {"key down A"}},
      {InjectionReport({0x06, 0x04, 0x04, 0x05}), {"key down B"}},
      {InjectionReport({0x06, 0x04, 0x05}), {"key up A"}},
      {InjectionReport({0x06, 0x04, 0x05}), {"keys unchanged"}},
      {InjectionReport({0x06, 0x04, 0xE1, 0x1E, 0x05}), {"key down Left Shift", "key down 1"}},
      // Keys that go up are named in the order they went down.
      {InjectionReport({0x06, 0x04}), {"key up Left Shift", "key up 1", "key up B"}},
      {InjectionReport({0x06, 0x05, 0xE9, 0x00}), {"consumer 0x00E9 down"}},
      {InjectionReport({0x06, 0x05, 0x00, 0x00}), {"consumer 0x00E9 up"}},
      {InjectionReport({0x06, 0x05, 0x23, 0x02}), {"consumer 0x0223 down"}},
      {InjectionReport({0x06, 0x03, 0x01}), {"buttons 0x01"}},
      {InjectionReport({0x06, 0x03, 0x03}), {"buttons 0x03"}},
      {InjectionReport({0x06, 0x03, 0x00}), {"buttons 0x00"}},
      {InjectionReport({0x06, 0x07, 0xAB}),
       {"unknown report 06 07 AB 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00"}},
      {InjectionReport({0x05, 0x04, 0x04}),
       {"unknown report 05 04 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00"}},
  };
  SimInjection injection;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<std::string> lines;
    ASSERT_EQ(DecodeInjectionReport(injection, steps[i].report, lines), Result::Ok);
    EXPECT_EQ(lines, steps[i].lines);
  }
  EXPECT_TRUE(injection.keys.empty());
  EXPECT_EQ(injection.consumer, 0x0223);
  EXPECT_EQ(injection.reports, steps.size());
}

TEST(SimInjectionDecoderTest, AReportOfAnotherLengthChangesNothing) {
  SimInjection injection;
  std::vector<std::string> lines;
  std::vector<std::uint8_t> report = InjectionReport({0x06, 0x04, 0x04});
  report.push_back(0x00);
  EXPECT_EQ(DecodeInjectionReport(injection, report, lines), Result::InvalidParameter);
  EXPECT_EQ(DecodeInjectionReport(injection, std::span(report).first(29), lines),
            Result::InvalidParameter);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(injection.reports, 0u);
  EXPECT_TRUE(injection.keys.empty());
}

TEST(SimInjectionDecoderTest, KeyNames) {
  const std::pair<std::uint8_t, const char*> names[] = {
      {0x04, "A"},        {0x1D, "Z"},     {0x1E, "1"},         {0x26, "9"},
      {0x27, "0"},        {0x28, "Enter"}, {0x2C, "Space"},     {0x3A, "F1"},
      {0x45, "F12"},      {0x68, "F13"},   {0x73, "F24"},       {0x59, "Keypad 1"},
      {0x62, "Keypad 0"}, {0x4F, "Right"}, {0xE0, "Left Ctrl"}, {0xE7, "Right GUI"},
      {0x00, "0x00"},     {0xA5, "0xA5"},
  };
  for (const auto& [usage, name] : names) EXPECT_EQ(KeyboardUsageName(usage), name) << int{usage};
}

}  // namespace
}  // namespace vexlo
