// A button press from end to end: the simulated mouse's button goes down and up, the device link
// turns that into UM_BUTTON_EVENT for the window, the dispatcher performs it, and what the
// simulated injection device received is compared with what the host should have seen.

#include <gtest/gtest.h>

#include "HostFixture.h"
#include "common/Messages.h"
#include "device/DeviceSession.h"
#include "device/DriverInterface.h"
#include "platform/sim/SimMouseFirmware.h"

namespace vexlo {
namespace {

using test::FakePauseClock;
using test::Macro;
using test::Press;
using test::Release;
using test::Repeat;
using test::operator+;
using Lines = std::vector<std::string>;

// A mouse whose side and sensitivity buttons report to the host, as the button commands set them
// up when the host performs their functions.
SimState WithReportingButtons() {
  constexpr std::uint8_t kReportFunctions[] = {0x0C, 0x10, 0x12, 0x13};  // buttons 3..6
  SimState state;
  for (int button = 3; button < 7; ++button) {
    std::uint8_t& reg = state.mouse.registers[ButtonRegister(state.mouse.model, button)];
    reg = static_cast<std::uint8_t>((reg & 0xE0) | kReportFunctions[button - 3]);
  }
  return state;
}

class ButtonPressEndToEndTest : public test::HostFixture {
 protected:
  explicit ButtonPressEndToEndTest(FakePauseClock::Mode playerClock = FakePauseClock::Mode::Instant)
      : HostFixture(playerClock, WithReportingButtons()) {}

  void SetUp() override {
    HostFixture::SetUp();
    session_.SetEventTarget(&window_);
    ASSERT_EQ(session_.Connect(), Result::Ok);
    // The mouse filter intercepts the left, right and middle buttons.
    ASSERT_EQ(link_.MouseFilterControl(kIoctlButtonInterception,
                                       test::InterceptionTable(link_, {0, 1, 2, 3, 4, 5})),
              Result::Ok);
  }

  void PressOnMouse(int button) {
    ASSERT_EQ(machine_.sim->Press(button), Result::Ok);
    HandleNextMessage();
  }
  void ReleaseOnMouse(int button) {
    ASSERT_EQ(machine_.sim->Release(button), Result::Ok);
    HandleNextMessage();
  }

  // Waits for the next message the device link posts to the window and handles it as the main
  // window's UM_BUTTON_EVENT handler does, on this thread.
  void HandleNextMessage() {
    const std::vector<test::RecordingTarget::Message> posted = window_.posted.WaitFor(handled_ + 1);
    ASSERT_GT(posted.size(), handled_) << "no event came";
    const test::RecordingTarget::Message message = posted[handled_++];
    ASSERT_EQ(message.message, UM_BUTTON_EVENT);
    dispatcher_.DispatchButtonEvent(message.wParam, message.lParam);
  }

  test::RecordingTarget window_;
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
  DeviceSession session_{link_, messages_};
  std::size_t handled_ = 0;
};

// The player's pauses last until the test lets them pass.
class ButtonPressManualClockTest : public ButtonPressEndToEndTest {
 protected:
  ButtonPressManualClockTest() : ButtonPressEndToEndTest(FakePauseClock::Mode::Manual) {}
};

struct CodeCase {
  std::uint8_t code;
  Lines press;
  Lines release;
};

CodeCase ConsumerCase(std::uint8_t code, const std::string& name) {
  return {code, {"consumer down " + name}, {"consumer up " + name}};
}
CodeCase Combination(std::uint8_t code, const std::string& modifier, const std::string& key) {
  return {
      code, {"key down " + modifier, "key down " + key}, {"key up " + key, "key up " + modifier}};
}

// What the host sees for each of the 44 codes.
std::vector<CodeCase> EveryCode() {
  const Lines click = Lines{"button down Left", "button up Left"};
  return {
      {0, {"button down Left"}, {"button up Left"}},
      {1, {"button down Right"}, {"button up Right"}},
      {2, {"button down Middle"}, {"button up Middle"}},
      {3, {"button down Forward"}, {"button up Forward"}},
      {4, {"button down Back"}, {"button up Back"}},
      {5, {}, {}},
      {6, {}, {}},  // the main window shows
      ConsumerCase(7, "Media Player (0x0183)"),
      ConsumerCase(8, "Play/Pause (0x00CD)"),
      ConsumerCase(9, "Stop (0x00B7)"),
      ConsumerCase(10, "Next Track (0x00B5)"),
      ConsumerCase(11, "Previous Track (0x00B6)"),
      ConsumerCase(12, "Volume Up (0x00E9)"),
      ConsumerCase(13, "Volume Down (0x00EA)"),
      ConsumerCase(14, "Mute (0x00E2)"),
      ConsumerCase(15, "My Computer (0x0194)"),
      ConsumerCase(16, "Calculator (0x0192)"),
      ConsumerCase(17, "Mail (0x018A)"),
      ConsumerCase(18, "Search (0x0221)"),
      ConsumerCase(19, "Browser Home (0x0223)"),
      ConsumerCase(20, "Browser Forward (0x0225)"),
      ConsumerCase(21, "Browser Back (0x0224)"),
      ConsumerCase(22, "Browser Refresh (0x0227)"),
      ConsumerCase(23, "Browser Stop (0x0226)"),
      Combination(24, "Left Ctrl", "N"),
      Combination(25, "Left Ctrl", "O"),
      Combination(26, "Left Ctrl", "S"),
      Combination(27, "Left Ctrl", "F"),
      Combination(28, "Left Ctrl", "A"),
      Combination(29, "Left Ctrl", "C"),
      Combination(30, "Left Ctrl", "X"),
      Combination(31, "Left Ctrl", "V"),
      Combination(32, "Left Ctrl", "Z"),
      Combination(33, "Left Alt", "F4"),
      Combination(34, "Left Alt", "Tab"),
      Combination(35, "Left GUI", "D"),
      Combination(36, "Left GUI", "R"),
      {37, {"key down Enter"}, {"key up Enter"}},
      {38, {}, {}},                                                   // the program starts
      {39, Repeat(click, 2), {}},                                     // two clicks
      {40, Lines{"key down B", "key up B"}, {}},  // one pass of the macro
      {41, {}, {}},
      {42, {}, {}},
      {43, {}, {}},
  };
}

TEST_F(ButtonPressEndToEndTest, EveryCodeOnTheButtonsOfBothEventPaths) {
  const std::string program = temp_ / "Programs/player.sh";
  test::WriteFile(program, "#!/bin/sh\n");
  const int slot = AddMacro(Macro({Press(kMacroKey, 0x05), Release(kMacroKey, 0x05)}));

  const std::vector<CodeCase> cases = EveryCode();
  ASSERT_EQ(cases.size(), 44u);
  for (const CodeCase& c : cases) {
    // Buttons 0..2 come through the mouse filter's events, buttons 3..6 as reports.
    const int button = c.code % 7;
    SCOPED_TRACE(testing::Message() << "code " << int{c.code} << " on button " << button);
    KeyAssignment assignment = KeyAssignment::Plain(c.code);
    if (c.code == kCodeSingleKey) assignment = KeyAssignment::SingleKey(0x1C);  // Enter
    if (c.code == kCodeLaunchProgram) assignment = KeyAssignment::LaunchProgram(program);
    if (c.code == kCodeFireKey) assignment = KeyAssignment::FireKey({.interval = 9, .clicks = 2});
    if (c.code == kCodeMacro) {
      assignment =
          KeyAssignment::Macro({static_cast<std::uint8_t>(slot), MacroLoopMode::RepeatCount, 1});
    }
    Assign(button, assignment);
    const int shownBefore = shown_;
    const std::size_t launchedBefore = launcher_.opened.size();

    PressOnMouse(button);
    EXPECT_EQ(NewLines(c.press.size()), c.press);
    ASSERT_EQ(player_.StopNow(), Result::Ok);  // a run has played what it should; nothing more
    EXPECT_TRUE(NewLines().empty());
    ReleaseOnMouse(button);
    EXPECT_EQ(NewLines(), c.release);

    EXPECT_EQ(shown_ - shownBefore, c.code == kCodeShowMainWindow ? 1 : 0);
    EXPECT_EQ(launcher_.opened.size() - launchedBefore, c.code == kCodeLaunchProgram ? 1u : 0u);
  }
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
  EXPECT_EQ(held.consumer, 0);
}

TEST_F(ButtonPressEndToEndTest, TheLeftButtonHeldWhileTheMiddleOneClicks) {
  Assign(0, KeyAssignment::SingleKey(0x2A));  // Shift
  Assign(2, KeyAssignment::Plain(8));         // play/pause
  PressOnMouse(0);
  PressOnMouse(2);
  ReleaseOnMouse(2);  // the first release releases both
  EXPECT_EQ(NewLines(), (Lines{"key down Left Shift", "consumer down Play/Pause (0x00CD)",
                               "key up Left Shift", "consumer up Play/Pause (0x00CD)"}));
  ReleaseOnMouse(0);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(ButtonPressEndToEndTest, RapidFireWithACount) {
  Assign(4, KeyAssignment::FireKey({.interval = 30, .clicks = 5}));
  PressOnMouse(4);
  ReleaseOnMouse(4);  // five clicks whatever the button does
  const Lines click = Lines{"button down Left", "button up Left"};
  EXPECT_EQ(NewLines(10), Repeat(click, 5));
  ASSERT_TRUE(playerClock_.WaitForWaits(10));  // the last pause, after the last report
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(NewLines().empty());
  EXPECT_EQ(playerClock_.Waits(), std::vector<std::uint32_t>(10, 15));
}

TEST_F(ButtonPressManualClockTest, RapidFireWithoutACountClicksUntilTheRelease) {
  Assign(1, KeyAssignment::FireKey({.interval = 16, .clicks = 0}));
  PressOnMouse(1);
  for (std::size_t wait = 1; wait <= 6; ++wait) {
    ASSERT_TRUE(playerClock_.WaitForWaits(wait));
    playerClock_.Advance(8);
  }
  ASSERT_TRUE(playerClock_.WaitForWaits(7));
  ReleaseOnMouse(1);
  const Lines click = Lines{"button down Left", "button up Left"};
  EXPECT_EQ(NewLines(8), (Repeat(click, 3) + Lines{"button down Left", "button up Left"}));
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(ButtonPressManualClockTest, AMacroWithARepeatCountPlaysOnAfterTheRelease) {
  const int slot =
      AddMacro(Macro({Press(kMacroKey, 0x04), MacroAction::Pause(25), Release(kMacroKey, 0x04)}));
  Assign(5, KeyAssignment::Macro({static_cast<std::uint8_t>(slot), MacroLoopMode::RepeatCount, 3}));
  PressOnMouse(5);
  ReleaseOnMouse(5);
  for (std::size_t wait = 1; wait <= 3; ++wait) {
    ASSERT_TRUE(playerClock_.WaitForWaits(wait));
    playerClock_.Advance(25);
  }
  const Lines pass = Lines{"key down A", "key up A"};
  EXPECT_EQ(NewLines(6), Repeat(pass, 3));
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(ButtonPressManualClockTest, AMacroThatStopsOnTheSecondPress) {
  const int slot = AddMacro(Macro({Press(kMacroKey, 0x04), MacroAction::Pause(25),
                                   Release(kMacroKey, 0x04), MacroAction::Pause(25)}));
  Assign(6, KeyAssignment::Macro(
                {static_cast<std::uint8_t>(slot), MacroLoopMode::StopOnSecondPress, 1}));
  PressOnMouse(6);
  ReleaseOnMouse(6);
  for (std::size_t wait = 1; wait <= 4; ++wait) {
    ASSERT_TRUE(playerClock_.WaitForWaits(wait));
    playerClock_.Advance(25);
  }
  ASSERT_TRUE(playerClock_.WaitForWaits(5));  // the third pass, in its first pause
  PressOnMouse(6);
  EXPECT_FALSE(player_.IsRunning());
  ReleaseOnMouse(6);
  const Lines pass = Lines{"key down A", "key up A"};
  EXPECT_EQ(NewLines(), (Repeat(pass, 2) + Lines{"key down A", "key up A"}));
}

TEST_F(ButtonPressManualClockTest, AMacroThatStopsOnTheRelease) {
  const int slot = AddMacro(Macro(
      {Press(kMacroMouseButton, 0x04), MacroAction::Pause(40), Release(kMacroMouseButton, 0x04)}));
  Assign(2,
         KeyAssignment::Macro({static_cast<std::uint8_t>(slot), MacroLoopMode::StopOnRelease, 1}));
  PressOnMouse(2);
  ASSERT_TRUE(playerClock_.WaitForWaits(1));
  playerClock_.Advance(40);
  ASSERT_TRUE(playerClock_.WaitForWaits(2));
  ReleaseOnMouse(2);
  EXPECT_EQ(NewLines(4), (Lines{"button down Middle", "button up Middle", "button down Middle",
                                "button up Middle"}));
  ASSERT_EQ(player_.StopNow(), Result::Ok);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(ButtonPressManualClockTest, UnpluggingDuringAMacroStopsItAndReleasesEverything) {
  const int slot = AddMacro(Macro({Press(kMacroKey, 0x04), Press(kMacroMouseButton, 0x01),
                                   Press(kMacroConsumerKey, 0x0E9), MacroAction::Pause(3000)}));
  Assign(3, KeyAssignment::Macro(
                {static_cast<std::uint8_t>(slot), MacroLoopMode::StopOnSecondPress, 1}));
  Assign(0, KeyAssignment::SingleKey(0x1D));  // Ctrl, held by the left button
  PressOnMouse(0);
  PressOnMouse(3);
  ASSERT_TRUE(playerClock_.WaitForWaits(1));
  EXPECT_EQ(NewLines(), (Lines{"key down Left Ctrl", "key down A", "button down Left",
                               "consumer down Volume Up (0x00E9)"}));

  ASSERT_EQ(machine_.sim->Unplug(), Result::Ok);
  HandleNextMessage();  // the report reader ended: pressed flag 0, which changes nothing
  EXPECT_EQ(window_.posted.Items().back(), (test::RecordingTarget::Message{UM_BUTTON_EVENT, 0, 0}));
  EXPECT_TRUE(player_.IsRunning());
  // What the main window does when it learns that the mouse has gone.
  dispatcher_.ReleaseEverything();

  EXPECT_FALSE(player_.IsRunning());
  EXPECT_EQ(NewLines(),
            (Lines{// the run lets go of what it holds, the last key down first
                   "consumer up Volume Up (0x00E9)", "key up A", "button up Left",
                   // then the dispatcher of everything else
                   "key up Left Ctrl", "buttons unchanged"}));
  const InjectedInput held = Held();
  EXPECT_TRUE(held.keys.empty());
  EXPECT_EQ(held.buttons, 0);
  EXPECT_EQ(held.consumer, 0);

  // Back again: the buttons held before the removal are not released a second time.
  ASSERT_EQ(machine_.sim->Plug(), Result::Ok);
  ASSERT_EQ(session_.Connect(), Result::Ok);
  ASSERT_EQ(link_.MouseFilterControl(kIoctlButtonInterception,
                                     test::InterceptionTable(link_, {0, 1, 2, 3, 4, 5})),
            Result::Ok);
  PressOnMouse(1);
  ReleaseOnMouse(1);
  EXPECT_EQ(NewLines(), (Lines{"button down Right", "button up Right"}));
}

}  // namespace
}  // namespace vexlo
