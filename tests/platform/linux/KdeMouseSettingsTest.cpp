#include "platform/linux/KdeMouseSettings.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace vexlo {
namespace {

using test::ReadFile;
using test::WriteFile;

// KDE's files in a private configuration folder.
class KdeMouseSettingsTest : public testing::Test {
 protected:
  test::TempFolder config;
  std::string globals = config / "kdeglobals";
  std::string input = config / "kcminputrc";
};

TEST_F(KdeMouseSettingsTest, WithoutFilesPlasmasDefaultsAreRead) {
  KdeMouseSettings settings(config.path());
  std::uint32_t time = 0, speed = 0, lines = 0;
  ASSERT_EQ(settings.GetDoubleClickTime(time), Result::Ok);
  ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
  ASSERT_EQ(settings.GetWheelScrollLines(lines), Result::Ok);
  EXPECT_EQ(time, 400u);
  EXPECT_EQ(speed, 10u);
  EXPECT_EQ(lines, 3u);
}

TEST_F(KdeMouseSettingsTest, EveryValueComesBackAndTheOtherLinesStay) {
  WriteFile(globals, "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n");
  KdeMouseSettings settings(config.path());
  for (std::uint32_t speed = 1; speed <= 20; ++speed) {
    ASSERT_EQ(settings.SetPointerSpeed(speed), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings.GetPointerSpeed(read), Result::Ok);
    EXPECT_EQ(read, speed);
  }
  for (std::uint32_t lines : {1u, 3u, 100u}) {
    ASSERT_EQ(settings.SetWheelScrollLines(lines), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings.GetWheelScrollLines(read), Result::Ok);
    EXPECT_EQ(read, lines);
  }
  ASSERT_EQ(settings.SetDoubleClickTime(830), Result::Ok);
  EXPECT_EQ(ReadFile(globals),
            "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n"
            "WheelScrollLines=100\nDoubleClickInterval=830\n");
  EXPECT_EQ(ReadFile(input), "[Mouse]\nXLbInptPointerAcceleration=1.000\n");
}

TEST_F(KdeMouseSettingsTest, PlasmaHasNoScreenPerNotch) {
  KdeMouseSettings settings(config.path());
  EXPECT_EQ(settings.SetWheelScrollLines(SystemMouseSettings::kWheelScrollsPage),
            Result::NotSupported);
}

TEST_F(KdeMouseSettingsTest, TheEndPutsBackWhatWasChangedAsItWasBefore) {
  const std::string before = "[KDE]\nDoubleClickInterval=420\n";
  WriteFile(globals, before);
  WriteFile(input, "[Mouse]\nXLbInptPointerAcceleration=0.37\n");
  {
    KdeMouseSettings settings(config.path());
    std::uint32_t speed = 0;
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, 14u);
    ASSERT_EQ(settings.SetDoubleClickTime(550), Result::Ok);
    ASSERT_EQ(settings.SetPointerSpeed(10), Result::Ok);
  }
  EXPECT_EQ(ReadFile(globals), before);  // the wheel lines were never changed
  EXPECT_EQ(ReadFile(input), "[Mouse]\nXLbInptPointerAcceleration=0.37\n");
}

TEST_F(KdeMouseSettingsTest, AKeyThatWasAbsentGetsPlasmasDefaultBack) {
  {
    KdeMouseSettings settings(config.path());
    ASSERT_EQ(settings.SetWheelScrollLines(9), Result::Ok);
  }
  EXPECT_EQ(ReadFile(globals), "[KDE]\nWheelScrollLines=3\n");
}

}  // namespace
}  // namespace vexlo
