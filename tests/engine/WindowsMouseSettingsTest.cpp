#include "engine/WindowsMouseSettings.h"

#include <gtest/gtest.h>

#include <ostream>

#include "FakeSystemMouseSettings.h"
#include "engine/WheelLinesWorker.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimSystemMouseSettings.h"

namespace vexlo {
namespace {

struct RoundTrip {
  WindowsSettings profile;
  WindowsSettings applied;  // what the desktop and the profile hold afterwards
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
  *out << trip.profile.uDoubleClickTime << "/" << trip.profile.uMouseSpeed << "/"
       << trip.profile.uWheelScrollLines;
}

class WindowsSettingsRoundTrip : public testing::TestWithParam<RoundTrip> {};

// The simulated desktop's pointer settings, in process.
struct InProcessDesktop {
  std::shared_ptr<SimEnvironment> environment = std::make_shared<SimEnvironment>();
  SimSystemMouseSettings settings{environment};
  SimPointerSettings Values() const { return environment->State().desktop.pointer; }
};

TEST_P(WindowsSettingsRoundTrip, AppliesClampsAndCapturesTheSame) {
  InProcessDesktop sim;
  SimSystemMouseSettings& desktop = sim.settings;
  WindowsSettings profile = GetParam().profile;
  {
    WheelLinesWorker wheelLines(desktop);
    EXPECT_EQ(ApplyWindowsSettings(desktop, wheelLines, profile), Result::Ok);
  }  // the worker has applied the wheel lines once it is gone
  const WindowsSettings& expected = GetParam().applied;
  EXPECT_EQ(profile, expected);
  const SimPointerSettings values = sim.Values();
  EXPECT_EQ(values.doubleClickTime, expected.uDoubleClickTime);
  EXPECT_EQ(values.pointerSpeed, expected.uMouseSpeed);
  EXPECT_EQ(values.wheelScrollLines, expected.uWheelScrollLines);

  WindowsSettings captured{1, 1, 1};
  CaptureWindowsSettings(desktop, captured);
  EXPECT_EQ(captured, expected);
}

INSTANTIATE_TEST_SUITE_P(Values, WindowsSettingsRoundTrip,
                         testing::Values(RoundTrip{{550, 10, 3}, {550, 10, 3}},
                                         RoundTrip{{150, 25, 101}, {200, 20, 100}},
                                         RoundTrip{{200, 1, 1}, {200, 1, 1}},
                                         RoundTrip{{900, 20, 100}, {900, 20, 100}},
                                         RoundTrip{{199, 0, 0}, {200, 1, 1}},
                                         RoundTrip{{901, 21, 0xFFFFFFFF}, {900, 20, 0xFFFFFFFF}},
                                         RoundTrip{{0, 0xFFFFFFFF, 0xFFFFFFFE}, {200, 20, 100}},
                                         RoundTrip{{0xFFFFFFFF, 7, 55}, {900, 7, 55}}));

TEST(WindowsMouseSettings, EachSettingIsClampedStoredBackAndApplied) {
  InProcessDesktop sim;
  SimSystemMouseSettings& desktop = sim.settings;
  WindowsSettings profile{150, 25, 0};
  EXPECT_EQ(ApplyDoubleClickTime(desktop, profile), Result::Ok);
  EXPECT_EQ(profile.uDoubleClickTime, 200u);
  EXPECT_EQ(sim.Values().doubleClickTime, 200u);
  EXPECT_EQ(ApplyPointerSpeed(desktop, profile), Result::Ok);
  EXPECT_EQ(profile.uMouseSpeed, 20u);
  EXPECT_EQ(sim.Values().pointerSpeed, 20u);
  {
    WheelLinesWorker wheelLines(desktop);
    EXPECT_EQ(QueueWheelLines(wheelLines, profile), Result::Ok);
    EXPECT_EQ(profile.uWheelScrollLines, 1u);
  }
  EXPECT_EQ(sim.Values().wheelScrollLines, 1u);
}

TEST(WindowsMouseSettings, ReportsWhatTheDesktopRefuses) {
  test::FakeSystemMouseSettings desktop;
  desktop.failure = Result::AccessDenied;
  WindowsSettings profile{1000, 0, 3};
  EXPECT_EQ(ApplyDoubleClickTime(desktop, profile), Result::AccessDenied);
  EXPECT_EQ(ApplyPointerSpeed(desktop, profile), Result::AccessDenied);
  // The record keeps the clamped values all the same.
  EXPECT_EQ(profile, (WindowsSettings{900, 1, 3}));
}

TEST(WindowsMouseSettings, WheelLinesGoOutWhenTheOtherSettingsFail) {
  test::FakeSystemMouseSettings desktop;
  desktop.failure = Result::AccessDenied;
  WindowsSettings profile{550, 10, 250};
  {
    WheelLinesWorker wheelLines(desktop);
    EXPECT_EQ(ApplyWindowsSettings(desktop, wheelLines, profile), Result::Ok);
  }
  EXPECT_EQ(desktop.WheelCalls(), (std::vector<std::uint32_t>{100}));
  EXPECT_EQ(profile.uWheelScrollLines, 100u);
}

TEST(WindowsMouseSettings, CaptureFallsBackWhenTheDesktopCannotTell) {
  test::FakeSystemMouseSettings desktop;
  desktop.failure = Result::AccessDenied;
  WindowsSettings profile{640, 17, 42};
  CaptureWindowsSettings(desktop, profile);
  EXPECT_EQ(profile, (WindowsSettings{640, 10, 3}));
}

}  // namespace
}  // namespace vexlo
