#include "engine/MacroPlayer.h"

#include <gtest/gtest.h>

#include "../device/DeviceTestSupport.h"
#include "FakePauseClock.h"
#include "HostTestSupport.h"
#include "engine/InputInjector.h"

namespace vexlo {
namespace {

using test::FakePauseClock;
using test::Macro;
using test::operator+;
using test::Press;
using test::Release;
using test::Repeat;
using Lines = std::vector<std::string>;

constexpr std::uint8_t kKeyA = 0x04;
constexpr std::uint8_t kKeyB = 0x05;

std::uint32_t MacroNumberOf(MacroLoopMode mode, std::uint16_t count, std::uint8_t slot = 0) {
  return PackMacro({slot, mode, count});
}

class MacroPlayerTest : public ::testing::Test {
 protected:
  explicit MacroPlayerTest(FakePauseClock::Mode mode = FakePauseClock::Mode::Manual)
      : clock_(mode) {}

  void SetUp() override { ASSERT_EQ(injector_.OpenInjectionDevice(), Result::Ok); }

  // Held by the simulated injection device now.
  InjectedInput Held() { return machine_.sim->State().injection.held; }

  test::SimMachine machine_;
  test::InjectedLines lines_{*machine_.sim};
  InputInjector injector_{*machine_.platform.devices, *machine_.platform.hid};
  FakePauseClock clock_;
  MacroPlayer player_{injector_, clock_};
};

// Pauses take no time.
class MacroPlayerInstantTest : public MacroPlayerTest {
 protected:
  MacroPlayerInstantTest() : MacroPlayerTest(FakePauseClock::Mode::Instant) {}
};

TEST_F(MacroPlayerInstantTest, RepeatCountPlaysTheStepsThatOftenAndReleasesAfterEachPass) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(30),
                                 Release(kMacroKey, kKeyA), MacroAction::Pause(12)});
  ASSERT_EQ(player_.StartRun(3, MacroNumberOf(MacroLoopMode::RepeatCount, 3), macro), Result::Ok);
  const Lines expected = Repeat(Lines{"key down A", "key up A"}, 3);
  EXPECT_EQ(lines_.WaitFor(expected.size()), expected);
  ASSERT_TRUE(clock_.WaitForWaits(6));  // the last pause, after the last report
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), expected);
  EXPECT_EQ(clock_.Waits(), (std::vector<std::uint32_t>{30, 12, 30, 12, 30, 12}));
  EXPECT_FALSE(player_.IsRunning());
}

TEST_F(MacroPlayerInstantTest, EveryKindOfStep) {
  const MacroData macro = Macro({
      Press(kMacroMouseButton, 0x02),
      Press(kMacroKey, 0xE1),  // left shift
      Press(kMacroKey, 0xC6),  // a key code that stands for volume down
      Release(kMacroKey, 0xC6),
      Press(kMacroConsumerKey, 0x0CD),
      Release(kMacroConsumerKey, 0x0CD),
      Press(kMacroKey, 0xBE),            // sleep: the system-control page sends nothing
      Press(kMacroKey, 0x00),            // no key
      Press(kMacroConsumerKey, 0x0301),  // no key code stands for it
      MacroAction{0x83, 0x01, 0x00},     // kind 3 means nothing
      Release(kMacroKey, 0xE1),
      Release(kMacroMouseButton, 0x02),
  });
  ASSERT_EQ(player_.StartRun(0, MacroNumberOf(MacroLoopMode::RepeatCount, 1), macro), Result::Ok);
  const Lines expected = Lines{"button down Right",
                               "key down Left Shift",
                               "consumer down Volume Down (0x00EA)",
                               "consumer up Volume Down (0x00EA)",
                               "consumer down Play/Pause (0x00CD)",
                               "consumer up Play/Pause (0x00CD)",
                               "key up Left Shift",
                               "button up Right"};
  EXPECT_EQ(lines_.WaitFor(expected.size()), expected);
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), expected);
}

TEST_F(MacroPlayerInstantTest, WhatAStepLeftHeldIsReleasedAtTheEndOfEachPass) {
  const MacroData macro = Macro(
      {Press(kMacroKey, kKeyA), Press(kMacroMouseButton, 0x10), Press(kMacroConsumerKey, 0x0E2)});
  ASSERT_EQ(player_.StartRun(0, MacroNumberOf(MacroLoopMode::RepeatCount, 2), macro), Result::Ok);
  // Keys go up in the reverse order they went down, then the mouse buttons.
  const Lines pass = {"key down A", "button down Forward", "consumer down Mute (0x00E2)",
                      "consumer up Mute (0x00E2)", "key up A", "button up Forward"};
  EXPECT_EQ(lines_.WaitFor(12), Repeat(pass, 2));
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
  EXPECT_EQ(held.consumer, 0);
}

TEST_F(MacroPlayerInstantTest, OnlySixtyStepsArePlayed) {
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  for (std::size_t i = 0; i < macro.steps.size(); ++i) {
    macro.steps[i] = i % 2 == 0 ? Press(kMacroKey, kKeyA) : Release(kMacroKey, kKeyA);
  }
  macro.byCount = 200;  // damaged
  ASSERT_EQ(player_.StartRun(0, MacroNumberOf(MacroLoopMode::RepeatCount, 1), macro), Result::Ok);
  const Lines expected = Repeat({"key down A", "key up A"}, 30);
  EXPECT_EQ(lines_.WaitFor(expected.size()), expected);
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), expected);
}

TEST_F(MacroPlayerInstantTest, NothingToPlayStartsNothing) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA)});
  EXPECT_EQ(player_.StartRun(0, 0x00000000, macro), Result::NothingToActOn);  // repeat count 0
  EXPECT_EQ(player_.StartRun(0, MacroNumberOf(MacroLoopMode::StopOnRelease, 1), MacroData{}),
            Result::NothingToActOn);
  EXPECT_FALSE(player_.IsRunning());
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(lines_.All().empty());
}

TEST_F(MacroPlayerInstantTest, RapidFireWithACountClicksExactlyThatOften) {
  ASSERT_EQ(player_.StartRapidFire(4, PackFireKey({.interval = 7, .clicks = 5})), Result::Ok);
  player_.StopRequest(4);  // the release of the button changes nothing
  const Lines click = Lines{"button down Left", "button up Left"};
  EXPECT_EQ(lines_.WaitFor(10), Repeat(click, 5));
  ASSERT_TRUE(clock_.WaitForWaits(10));
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), Repeat(click, 5));
  EXPECT_EQ(clock_.Waits(), std::vector<std::uint32_t>(10, 4));
}

TEST_F(MacroPlayerTest, RapidFireWithoutACountClicksWhileTheButtonIsHeld) {
  ASSERT_EQ(player_.StartRapidFire(1, PackFireKey({.interval = 20, .clicks = 0})), Result::Ok);
  const Lines click = Lines{"button down Left", "button up Left"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(clock_.WaitForWaits(2 * i + 1));
    clock_.Advance(10);
    ASSERT_TRUE(clock_.WaitForWaits(2 * i + 2));
    clock_.Advance(10);
  }
  ASSERT_TRUE(clock_.WaitForWaits(7));  // in the fourth click's first half
  player_.StopRequest(0);               // another button's release
  player_.StopRequest(1);
  const Lines expected =
      Repeat(click, 3) + Lines{"button down Left", "button up Left"};
  EXPECT_EQ(lines_.WaitFor(expected.size()), expected);
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), expected);
  EXPECT_EQ(Held().buttons, 0);
}

TEST_F(MacroPlayerTest, PausesAreLaidEndToEnd) {
  // Time lost before a pause ends (here 3 ms, as a late wake or slow reports would lose it) is
  // taken from the next pause; a loss longer than the next pause is not made up for.
  ASSERT_EQ(player_.StartRapidFire(0, PackFireKey({.interval = 20, .clicks = 0})), Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  clock_.Advance(13);
  ASSERT_TRUE(clock_.WaitForWaits(2));
  clock_.Advance(7);
  ASSERT_TRUE(clock_.WaitForWaits(3));
  clock_.Advance(25);
  ASSERT_TRUE(clock_.WaitForWaits(5));  // the fourth was over before it began
  EXPECT_EQ(clock_.Waits(), (std::vector<std::uint32_t>{10, 7, 10, 0, 10}));
  EXPECT_EQ(player_.StopNow(), Result::Ok);
}

TEST_F(MacroPlayerTest, StopOnSecondPressOfTheSameButtonOnlyEndsTheRun) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(500)});
  const std::uint32_t number = MacroNumberOf(MacroLoopMode::StopOnSecondPress, 1);
  ASSERT_EQ(player_.StartRun(2, number, macro), Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  player_.StopRequest(2);  // releasing the button does not end it
  clock_.Advance(500);
  ASSERT_TRUE(clock_.WaitForWaits(2));
  EXPECT_TRUE(player_.IsRunning());
  EXPECT_EQ(player_.StartRun(2, number, macro), Result::Ok);
  EXPECT_FALSE(player_.IsRunning());
  const Lines expected = Lines{"key down A", "key up A", "key down A", "key up A"};
  EXPECT_EQ(lines_.All(), expected);
  // The next press starts it again.
  ASSERT_EQ(player_.StartRun(2, number, macro), Result::Ok);
  EXPECT_EQ(lines_.WaitFor(5).back(), "key down A");
}

TEST_F(MacroPlayerTest, AnotherButtonsPressEndsTheRunAndStartsItsOwn) {
  const MacroData first = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(500)});
  const MacroData second = Macro({Press(kMacroKey, kKeyB), MacroAction::Pause(500)});
  ASSERT_EQ(player_.StartRun(3, MacroNumberOf(MacroLoopMode::StopOnSecondPress, 1), first),
            Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  ASSERT_EQ(player_.StartRun(4, MacroNumberOf(MacroLoopMode::StopOnSecondPress, 1), second),
            Result::Ok);
  EXPECT_EQ(lines_.WaitFor(3), (Lines{"key down A", "key up A", "key down B"}));
  EXPECT_TRUE(player_.IsRunning());
  player_.StopRequest(4);  // stop-on-second-press runs go on after a release
  EXPECT_TRUE(player_.IsRunning());
}

TEST_F(MacroPlayerTest, StopOnReleaseEndsWithTheReleaseOfItsButtonOnly) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(100)});
  ASSERT_EQ(player_.StartRun(5, MacroNumberOf(MacroLoopMode::StopOnRelease, 1), macro), Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  player_.StopRequest(6);
  clock_.Advance(100);
  ASSERT_TRUE(clock_.WaitForWaits(2));
  player_.StopRequest(5);
  const Lines expected = {"key down A", "key up A", "key down A", "key up A"};
  EXPECT_EQ(lines_.WaitFor(expected.size()), expected);
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), expected);
}

TEST_F(MacroPlayerTest, ALoopModeNoDialogWritesStopsOnRelease) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(100)});
  ASSERT_EQ(player_.StartRun(5, 0x00010700, macro), Result::Ok);  // mode 7
  ASSERT_TRUE(clock_.WaitForWaits(1));
  player_.StopRequest(5);
  EXPECT_EQ(lines_.WaitFor(2), (Lines{"key down A", "key up A"}));
}

TEST_F(MacroPlayerTest, RepeatCountRunsPlayOnAfterTheRelease) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(40)});
  ASSERT_EQ(player_.StartRun(0, MacroNumberOf(MacroLoopMode::RepeatCount, 3), macro), Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  player_.StopRequest(0);
  for (std::size_t i = 1; i <= 3; ++i) {
    ASSERT_TRUE(clock_.WaitForWaits(i));
    clock_.Advance(40);
  }
  const Lines pass = {"key down A", "key up A"};
  EXPECT_EQ(lines_.WaitFor(6), Repeat(pass, 3));
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_EQ(lines_.All(), Repeat(pass, 3));
}

TEST_F(MacroPlayerTest, StopNowEndsAPauseAndReleasesWhatTheRunHeld) {
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), Press(kMacroMouseButton, 0x01),
                                 MacroAction::Pause(60000), Release(kMacroKey, kKeyA)});
  ASSERT_EQ(player_.StartRun(1, MacroNumberOf(MacroLoopMode::RepeatCount, 100), macro), Result::Ok);
  ASSERT_TRUE(clock_.WaitForWaits(1));
  EXPECT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_FALSE(player_.IsRunning());
  EXPECT_EQ(lines_.All(), (Lines{"key down A", "button down Left", "key up A", "button up Left"}));
}

TEST_F(MacroPlayerTest, TheRunPlaysTheStepsAsTheyWereWhenItStarted) {
  MacroData macro = Macro({MacroAction::Pause(10), Press(kMacroKey, kKeyA)});
  ASSERT_EQ(player_.StartRun(1, MacroNumberOf(MacroLoopMode::RepeatCount, 1), macro), Result::Ok);
  macro.steps[1] = Press(kMacroKey, kKeyB);  // the editor changes the macro meanwhile
  ASSERT_TRUE(clock_.WaitForWaits(1));
  clock_.Advance(10);
  EXPECT_EQ(lines_.WaitFor(2), (Lines{"key down A", "key up A"}));
}

TEST_F(MacroPlayerTest, DestroyingThePlayerEndsTheRun) {
  {
    MacroPlayer player(injector_, clock_);
    const MacroData macro = Macro({Press(kMacroKey, kKeyB), MacroAction::Pause(1000)});
    ASSERT_EQ(player.StartRun(0, MacroNumberOf(MacroLoopMode::StopOnSecondPress, 1), macro),
              Result::Ok);
    ASSERT_TRUE(clock_.WaitForWaits(1));
  }
  EXPECT_EQ(lines_.All(), (Lines{"key down B", "key up B"}));
}

TEST(RapidFireRunTest, HalfTheIntervalRoundedUpBetweenDownAndUp) {
  struct Case {
    std::uint32_t fireKeyNumber;
    std::uint8_t pauseLow, pauseHigh;
    std::uint32_t parameter;
  };
  const Case cases[] = {
      {0x0001, 0x01, 0x00, 0x00010210},  // interval 1: 1 ms halves, while held
      {0x0002, 0x01, 0x00, 0x00010210}, {0x0003, 0x02, 0x00, 0x00010210},
      {0x05FF, 0x80, 0x00, 0x00050010},  // interval 255, five clicks
      {0xFF14, 0x0A, 0x00, 0x00FF0010},  // interval 20, 255 clicks
      {0x0000, 0x01, 0x00, 0x00010210},  // a damaged file: read as interval 1, never a flood
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fireKeyNumber);
    const MacroRun run = RapidFireRun(c.fireKeyNumber);
    EXPECT_EQ(run.parameter, c.parameter);
    EXPECT_EQ(run.record.byFlag, 0x55);
    EXPECT_EQ(run.record.byCount, 4);
    EXPECT_EQ(run.record.byExtFlag, 0);
    EXPECT_EQ(run.record.szName, "FireKey");
    EXPECT_EQ(run.record.steps[0], (MacroAction{0x81, 0x01, 0x00}));
    EXPECT_EQ(run.record.steps[1], (MacroAction{0x06, c.pauseLow, c.pauseHigh}));
    EXPECT_EQ(run.record.steps[2], (MacroAction{0x01, 0x01, 0x00}));
    EXPECT_EQ(run.record.steps[3], (MacroAction{0x06, c.pauseLow, c.pauseHigh}));
    EXPECT_EQ(run.record.steps[4], MacroAction{});
  }
}

TEST_F(MacroPlayerInstantTest, PressesFromTheWindowWhileRunsPlay) {
  // The user-interface thread starts and stops runs as fast as it can while the worker plays.
  const MacroData macro = Macro({Press(kMacroKey, kKeyA), MacroAction::Pause(1),
                                 Release(kMacroKey, kKeyA), Press(kMacroMouseButton, 0x04)});
  for (int i = 0; i < 300; ++i) {
    const int button = i % 7;
    const auto mode = static_cast<MacroLoopMode>(i % 3);
    const Result started = i % 5 == 0 ? player_.StartRapidFire(button, PackFireKey({3, 2}))
                                      : player_.StartRun(button, MacroNumberOf(mode, 4), macro);
    ASSERT_EQ(started, Result::Ok) << i;
    player_.StopRequest((i + 1) % 7);
    if (i % 11 == 0) {
      ASSERT_EQ(player_.StopNow(), Result::Ok);
    }
  }
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
}

}  // namespace
}  // namespace vexlo
