#include "platform/linux/X11PointerSettings.h"

#include <gtest/gtest.h>

#include "PrivateXServer.h"
#include "TempFolder.h"
#include "platform/linux/LinuxDesktopPorts.h"

namespace vexlo {
namespace {

TEST(X11PointerSettingsTest, TheServersPointerSpeedComesBackAndIsPutBack) {
  test::PrivateXServer server;
  if (!server.started()) GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
  X11PointerSettings settings(OpenX11Display());
  std::uint32_t before = 0;
  ASSERT_EQ(settings.GetPointerSpeed(before), Result::Ok);
  for (std::uint32_t speed = 1; speed <= 20; ++speed) {
    ASSERT_EQ(settings.SetPointerSpeed(speed), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings.GetPointerSpeed(read), Result::Ok);
    EXPECT_EQ(read, speed);
  }
  std::uint32_t time = 0;
  EXPECT_EQ(settings.GetDoubleClickTime(time), Result::NotSupported);
  {
    X11PointerSettings later(OpenX11Display());
    ASSERT_EQ(later.SetPointerSpeed(3), Result::Ok);
  }
  std::uint32_t after = 0;
  ASSERT_EQ(settings.GetPointerSpeed(after), Result::Ok);
  EXPECT_EQ(after, 20u);
}

// On an X11 session a desktop without settings of its own gets the X server's; under XWayland
// that would move nothing, so the pointer speed is reported unsupported there.
TEST(X11PointerSettingsTest, OnlyAnX11SessionFallsBackToTheServersAcceleration) {
  test::PrivateXServer server;
  if (!server.started()) GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
  const test::TempFolder config;
  for (const bool wayland : {false, true}) {
    SCOPED_TRACE(wayland ? "Wayland" : "X11");
    const std::unique_ptr<SystemMouseSettings> settings =
        MakeDesktopMouseSettings("sway", wayland, config.path());
    std::uint32_t speed = 0;
    EXPECT_EQ(settings->GetPointerSpeed(speed), wayland ? Result::NotSupported : Result::Ok);
  }
}

}  // namespace
}  // namespace vexlo
