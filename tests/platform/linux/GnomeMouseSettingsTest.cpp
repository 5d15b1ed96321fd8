#include "platform/linux/GnomeMouseSettings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vexlo {
namespace {

// GSettings in this process's memory, with the Debian schemas (gsettings-desktop-schemas).
class GnomeMouseSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    desktop_ = g_settings_new("org.gnome.desktop.peripherals.mouse");
    g_settings_reset(desktop_, "double-click");
    g_settings_reset(desktop_, "speed");
    settings_ = GnomeMouseSettings::Open();
    ASSERT_NE(settings_, nullptr) << "needs the schemas of gsettings-desktop-schemas";
  }
  void TearDown() override { g_object_unref(desktop_); }

  // The desktop as the user set it.
  void SetDesktop(int doubleClick, double speed) {
    g_settings_set_int(desktop_, "double-click", doubleClick);
    g_settings_set_double(desktop_, "speed", speed);
  }
  int DesktopDoubleClick() { return g_settings_get_int(desktop_, "double-click"); }
  double DesktopSpeed() { return g_settings_get_double(desktop_, "speed"); }

  GSettings* desktop_ = nullptr;
  std::unique_ptr<GnomeMouseSettings> settings_;
};

TEST_F(GnomeMouseSettingsTest, EveryValueComesBack) {
  for (std::uint32_t speed = 1; speed <= 20; ++speed) {
    ASSERT_EQ(settings_->SetPointerSpeed(speed), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings_->GetPointerSpeed(read), Result::Ok);
    EXPECT_EQ(read, speed);
  }
  for (std::uint32_t time = 200; time <= 900; time += 70) {
    ASSERT_EQ(settings_->SetDoubleClickTime(time), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings_->GetDoubleClickTime(read), Result::Ok);
    EXPECT_EQ(read, time);
    EXPECT_EQ(DesktopDoubleClick(), static_cast<int>(time));
  }
  EXPECT_DOUBLE_EQ(DesktopSpeed(), 1.0);  // speed 20
}

TEST_F(GnomeMouseSettingsTest, ASpeedReadAndWrittenBackLeavesTheDesktopsValue) {
  SetDesktop(400, 0.37);
  std::uint32_t speed = 0;
  ASSERT_EQ(settings_->GetPointerSpeed(speed), Result::Ok);
  EXPECT_EQ(speed, 14u);
  ASSERT_EQ(settings_->SetPointerSpeed(speed), Result::Ok);
  EXPECT_DOUBLE_EQ(DesktopSpeed(), 0.37);
}

TEST_F(GnomeMouseSettingsTest, GnomeHasNoWheelSetting) {
  std::uint32_t lines = 7;
  EXPECT_EQ(settings_->GetWheelScrollLines(lines), Result::NotSupported);
  EXPECT_EQ(lines, 7u);
  EXPECT_EQ(settings_->SetWheelScrollLines(3), Result::NotSupported);
}

TEST_F(GnomeMouseSettingsTest, TheEndPutsBackWhatWasChangedAsItWasBefore) {
  settings_.reset();
  SetDesktop(420, 0.37);
  settings_ = GnomeMouseSettings::Open();
  ASSERT_EQ(settings_->SetDoubleClickTime(550), Result::Ok);
  ASSERT_EQ(settings_->SetPointerSpeed(10), Result::Ok);
  ASSERT_EQ(settings_->SetPointerSpeed(3), Result::Ok);
  EXPECT_EQ(DesktopDoubleClick(), 550);
  settings_.reset();
  EXPECT_EQ(DesktopDoubleClick(), 420);
  EXPECT_DOUBLE_EQ(DesktopSpeed(), 0.37);
}

TEST_F(GnomeMouseSettingsTest, TheEndLeavesWhatTheProgramNeverChanged) {
  ASSERT_EQ(settings_->SetDoubleClickTime(550), Result::Ok);
  SetDesktop(550, -0.25);  // the user moves the speed meanwhile
  settings_.reset();
  EXPECT_EQ(DesktopDoubleClick(), 400);
  EXPECT_DOUBLE_EQ(DesktopSpeed(), -0.25);
}

}  // namespace
}  // namespace vexlo
