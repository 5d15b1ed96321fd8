#include "engine/HostDispatcher.h"

#include <gtest/gtest.h>

#include "HostFixture.h"

namespace vexlo {
namespace {

using test::FakePauseClock;
using test::Macro;
using test::Press;
using test::Release;
using test::operator+;
using Lines = std::vector<std::string>;

constexpr std::intptr_t kRelease = 0;
constexpr std::intptr_t PressOf(int button) {
  return 0x11 + button;
}

// Events straight to the dispatcher, as the main window hands them over.
class HostDispatcherTest : public test::HostFixture {
 protected:
  explicit HostDispatcherTest(FakePauseClock::Mode playerClock = FakePauseClock::Mode::Instant)
      : HostFixture(playerClock) {}

  void PressButton(int button) { dispatcher_.DispatchButtonEvent(1, PressOf(button)); }
  void ReleaseButtons() { dispatcher_.DispatchButtonEvent(1, kRelease); }
};

// The player's pauses last until the test lets them pass.
class HostDispatcherManualTest : public HostDispatcherTest {
 protected:
  HostDispatcherManualTest() : HostDispatcherTest(FakePauseClock::Mode::Manual) {}
};

TEST_F(HostDispatcherTest, OneReleaseEventReleasesEveryButtonHeld) {
  Assign(4, KeyAssignment::SingleKey(0x1E));  // A
  Assign(0, KeyAssignment::Plain(1));         // right button
  PressButton(4);
  PressButton(0);
  EXPECT_EQ(NewLines(), (Lines{"key down A", "button down Right"}));
  ReleaseButtons();
  EXPECT_EQ(NewLines(), (Lines{"button up Right", "key up A"}));  // in button order
  ReleaseButtons();
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, AReleaseWithNothingPressedDoesNothing) {
  Assign(1, KeyAssignment::Plain(14));
  ReleaseButtons();
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, AFailedReportReadChangesNoFlag) {
  Assign(1, KeyAssignment::Plain(14));  // mute
  Assign(2, KeyAssignment::Plain(13));  // volume down
  PressButton(1);
  dispatcher_.DispatchButtonEvent(0, kRelease);
  dispatcher_.DispatchButtonEvent(0, PressOf(2));
  EXPECT_EQ(NewLines(), (Lines{"consumer down Mute (0x00E2)"}));
  ReleaseButtons();
  EXPECT_EQ(NewLines(), (Lines{"consumer up Mute (0x00E2)"}));
}

TEST_F(HostDispatcherTest, OnlyTheLow16BitsOfTheEventCodeCount) {
  for (int button = 0; button < 7; ++button) Assign(button, KeyAssignment::Plain(2));
  for (const std::intptr_t code : {0x10, 0x18, 0x01, 0xFFFF, 0x10000}) {
    dispatcher_.DispatchButtonEvent(1, code);
  }
  EXPECT_TRUE(NewLines().empty());
  dispatcher_.DispatchButtonEvent(1, 0x30017);  // button 6
  EXPECT_EQ(NewLines(), (Lines{"button down Middle"}));
  dispatcher_.DispatchButtonEvent(1, 0x20000);  // a release
  EXPECT_EQ(NewLines(), (Lines{"button up Middle"}));
}

TEST_F(HostDispatcherTest, AReleaseUndoesWhatThePressDidWhateverTheButtonMeansNow) {
  Assign(2, KeyAssignment::Plain(34));  // Alt+Tab
  Assign(3, KeyAssignment::Plain(3));   // forward
  PressButton(2);
  PressButton(3);
  // Another profile became current while both were held.
  Assign(2, KeyAssignment::Plain(3));
  Assign(3, KeyAssignment::Plain(34));
  ReleaseButtons();
  EXPECT_EQ(NewLines(), (Lines{"key down Left Alt", "key down Tab", "button down Forward",
                               "key up Tab", "key up Left Alt", "button up Forward"}));
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
}

TEST_F(HostDispatcherTest, RapidFireLeavesAloneWhatAnotherButtonHolds) {
  Assign(0, KeyAssignment::SingleKey(0x2A));  // Shift, for shift-clicks
  Assign(1, KeyAssignment::FireKey({.interval = 4, .clicks = 2}));
  PressButton(0);
  PressButton(1);
  ASSERT_EQ(player_.StopNow(), Result::Ok);  // the clicks end, whenever they are
  EXPECT_EQ(Held().keys, (std::vector<std::uint8_t>{0xE1}));  // Shift is still down
  EXPECT_EQ(Held().buttons, 0);
  ReleaseButtons();
  EXPECT_TRUE(Held().keys.empty());
}

TEST_F(HostDispatcherTest, KeyCombinationsPauseBetweenTheirKeys) {
  Assign(3, KeyAssignment::Plain(26));  // Ctrl+S
  PressButton(3);
  EXPECT_EQ(NewLines(), (Lines{"key down Left Ctrl", "key down S"}));
  EXPECT_EQ(pauses_.Waits(), (std::vector<std::uint32_t>{10, 10}));
  ReleaseButtons();
  EXPECT_EQ(NewLines(), (Lines{"key up S", "key up Left Ctrl"}));
  EXPECT_EQ(pauses_.Waits(), (std::vector<std::uint32_t>{10, 10, 10, 10}));
}

TEST_F(HostDispatcherTest, SingleKeysOfEveryPage) {
  Assign(0, KeyAssignment::SingleKey(0xB0));  // Volume +: a consumer key
  Assign(1, KeyAssignment::SingleKey(0xDF));  // Sleep: the system-control page sends nothing
  Assign(2, KeyAssignment::SingleKey(0x36));  // an empty entry: no key
  Assign(3, KeyAssignment::SingleKey(0x1E));  // A
  PressButton(3);
  PressButton(0);
  PressButton(1);
  PressButton(2);
  EXPECT_EQ(NewLines(), (Lines{"key down A", "consumer down Volume Up (0x00E9)"}));
  ReleaseButtons();
  // The empty entry releases nothing: A goes up with its own button only.
  EXPECT_EQ(NewLines(), (Lines{"consumer up Volume Up (0x00E9)", "key up A"}));
}

TEST_F(HostDispatcherTest, LaunchingAProgramThatExists) {
  const std::string program = temp_ / "Tools/run me.sh";
  test::WriteFile(program, "#!/bin/sh\n");
  Assign(5, KeyAssignment::LaunchProgram(program));
  PressButton(5);
  ReleaseButtons();
  EXPECT_EQ(launcher_.opened,
            (std::vector<test::RecordingLauncher::Opened>{{program, "", temp_ / "Tools/"}}));
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, LaunchingAProgramThatIsGoneDoesNothing) {
  Assign(5, KeyAssignment::LaunchProgram(temp_ / "gone.sh"));
  Assign(6, KeyAssignment::Plain(38));  // no path at all
  PressButton(5);
  PressButton(6);
  ReleaseButtons();
  EXPECT_TRUE(launcher_.opened.empty());
}

TEST_F(HostDispatcherTest, ShowingTheMainWindow) {
  Assign(6, KeyAssignment::Plain(6));
  PressButton(6);
  EXPECT_EQ(shown_, 1);
  ReleaseButtons();
  EXPECT_EQ(shown_, 1);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, MacrosComeFromTheirSlot) {
  AddMacro(Macro({Press(kMacroKey, 0x04)}));
  const int slot = AddMacro(Macro({Press(kMacroKey, 0x05), Release(kMacroKey, 0x05)}));
  ASSERT_EQ(slot, 1);
  Assign(0, KeyAssignment::Macro({1, MacroLoopMode::RepeatCount, 2}));
  PressButton(0);
  ReleaseButtons();
  const Lines pass = Lines{"key down B", "key up B"};
  EXPECT_EQ(NewLines(4), pass + pass);
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, AMacroSlotOfSixteenOrMoreDoesNothing) {
  AddMacro(Macro({Press(kMacroKey, 0x04)}));
  Assign(0, {kCodeMacro, 0, "300"});     // slot 0x2C
  Assign(1, {kCodeMacro, 0, "-65520"});  // 0xFFFF0010: slot 16
  PressButton(0);
  PressButton(1);
  EXPECT_FALSE(player_.IsRunning());
  ReleaseButtons();
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherTest, AnEmptyMacroSlotPlaysNothing) {
  Assign(0, KeyAssignment::Macro({9, MacroLoopMode::StopOnRelease, 1}));
  PressButton(0);
  EXPECT_FALSE(player_.IsRunning());
  ReleaseButtons();
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(HostDispatcherManualTest, ReleaseEverythingEndsTheRunAndLetsGoOfAllInput) {
  const int slot = AddMacro(
      Macro({Press(kMacroKey, 0x04), Press(kMacroMouseButton, 0x08), MacroAction::Pause(5000)}));
  Assign(0, KeyAssignment::Macro(
                {static_cast<std::uint8_t>(slot), MacroLoopMode::StopOnSecondPress, 1}));
  Assign(3, KeyAssignment::SingleKey(0x2A));  // Shift
  Assign(4, KeyAssignment::Plain(12));        // volume up
  Assign(5, KeyAssignment::Plain(1));         // right button
  PressButton(3);
  PressButton(4);
  PressButton(5);
  PressButton(0);
  ASSERT_TRUE(playerClock_.WaitForWaits(1));
  EXPECT_EQ(NewLines(), (Lines{"key down Left Shift", "consumer down Volume Up (0x00E9)",
                               "button down Right", "key down A", "button down Back"}));

  dispatcher_.ReleaseEverything();
  EXPECT_FALSE(player_.IsRunning());
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
  EXPECT_EQ(held.consumer, 0);
  EXPECT_EQ(NewLines(), (Lines{// the run lets go of what its steps hold
                               "key up A", "button up Back",
                               // then the dispatcher of what the other buttons hold
                               "key up Left Shift", "button up Right",
                               "consumer up Volume Up (0x00E9)"}));
  // No button counts as pressed any more.
  ReleaseButtons();
  EXPECT_TRUE(NewLines().empty());
}

}  // namespace
}  // namespace vexlo
