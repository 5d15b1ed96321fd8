#include "platform/linux/X11PointerSettings.h"

#include <gtest/gtest.h>

#include "PrivateXServer.h"

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

}  // namespace
}  // namespace vexlo
