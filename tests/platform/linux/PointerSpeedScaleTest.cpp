#include "platform/linux/PointerSpeedScale.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

TEST(PointerSpeedScaleTest, EverySpeedComesBackFromBothScales) {
  for (std::uint32_t speed = 1; speed <= 20; ++speed) {
    EXPECT_EQ(SpeedFromUnitScale(SpeedToUnitScale(speed)), speed);
    EXPECT_EQ(SpeedFromX11(SpeedToX11(speed)), speed);
  }
}

TEST(PointerSpeedScaleTest, EndsAndMiddleMeetTheDesktopsOwn) {
  EXPECT_DOUBLE_EQ(SpeedToUnitScale(1), -1.0);
  EXPECT_DOUBLE_EQ(SpeedToUnitScale(10), 0.0);
  EXPECT_DOUBLE_EQ(SpeedToUnitScale(20), 1.0);
  EXPECT_EQ(SpeedToX11(10).numerator, SpeedToX11(10).denominator);  // no acceleration
  EXPECT_DOUBLE_EQ(SpeedToUnitScale(0), -1.0);
  EXPECT_DOUBLE_EQ(SpeedToUnitScale(25), 1.0);
}

TEST(PointerSpeedScaleTest, DesktopValuesInBetweenReadAsTheNearestSpeed) {
  struct Case {
    double unit;
    std::uint32_t speed;
  };
  for (const Case& c : {Case{0.37, 14}, Case{-0.5, 6}, Case{1.5, 20}, Case{-3.0, 1}}) {
    EXPECT_EQ(SpeedFromUnitScale(c.unit), c.speed) << c.unit;
  }
  struct X11Case {
    X11Acceleration acceleration;
    std::uint32_t speed;
  };
  for (const X11Case& c : {X11Case{{2, 1}, 20}, X11Case{{1, 1}, 10}, X11Case{{3, 2}, 15},
                           X11Case{{1, 0}, 10}, X11Case{{0, 1}, 10}}) {
    EXPECT_EQ(SpeedFromX11(c.acceleration), c.speed)
        << c.acceleration.numerator << "/" << c.acceleration.denominator;
  }
}

}  // namespace
}  // namespace vexlo
