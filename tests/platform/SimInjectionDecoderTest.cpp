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
      {InjectionReport({0x06, 0x05, 0xE9, 0x00}), {"consumer down Volume Up (0x00E9)"}},
      {InjectionReport({0x06, 0x05, 0x00, 0x00}), {"consumer up Volume Up (0x00E9)"}},
      {InjectionReport({0x06, 0x05, 0x00, 0x00}), {"consumer unchanged"}},
      {InjectionReport({0x06, 0x05, 0x2A, 0x02}), {"consumer down Browser Favorites (0x022A)"}},
      // Another usage replaces the one held; one without a name shows its number.
      {InjectionReport({0x06, 0x05, 0x01, 0x03}),
       {"consumer up Browser Favorites (0x022A)", "consumer down 0x0301"}},
      {InjectionReport({0x06, 0x05, 0x23, 0x02}),
       {"consumer up 0x0301", "consumer down Browser Home (0x0223)"}},
      {InjectionReport({0x06, 0x03, 0x01}), {"button down Left"}},
      {InjectionReport({0x06, 0x03, 0x03}), {"button down Right"}},
      {InjectionReport({0x06, 0x03, 0x03}), {"buttons unchanged"}},
      {InjectionReport({0x06, 0x03, 0x1E}),
       {"button up Left", "button down Middle", "button down Back", "button down Forward"}},
      {InjectionReport({0x06, 0x03, 0x20}),
       {"button up Right", "button up Middle", "button up Back", "button up Forward",
        "button down 0x20"}},
      {InjectionReport({0x06, 0x03, 0x00}), {"button up 0x20"}},
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
  EXPECT_TRUE(injection.held.keys.empty());
  EXPECT_EQ(injection.held.consumer, 0x0223);
  EXPECT_EQ(injection.held.buttons, 0x00);
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
  EXPECT_TRUE(injection.held.keys.empty());
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
