#include "engine/ButtonDispatchThread.h"

#include <gtest/gtest.h>

#include <thread>

#include "HostFixture.h"
#include "common/Messages.h"

namespace vexlo {
namespace {

using test::FakePauseClock;
using Lines = std::vector<std::string>;
using Message = test::RecordingTarget::Message;

// The dispatcher behind the thread pauses its key combinations on a clock the test moves.
class ButtonDispatchThreadTest : public test::HostFixture {
 protected:
  ButtonDispatchThreadTest() : HostFixture(FakePauseClock::Mode::Instant) {}

  void Assign(int button, const KeyAssignment& assignment) {
    ASSERT_EQ(StoreKeyAssignment(profiles_.Data().device, button, assignment), Result::Ok);
    buttons_.UseAssignments(profiles_.Data().device);
  }
  void Press(int button) {
    ASSERT_EQ(buttons_.Post(UM_BUTTON_EVENT, 1, 0x11 + button), Result::Ok);
  }
  void Release() { ASSERT_EQ(buttons_.Post(UM_BUTTON_EVENT, 1, 0), Result::Ok); }

  FakePauseClock combinationClock_{FakePauseClock::Mode::Manual};
  test::RecordingTarget window_;
  HostDispatcher threadDispatcher_{macros_, injector_, player_, launcher_, combinationClock_, {}};
  ButtonDispatchThread buttons_{threadDispatcher_, window_};
};

TEST_F(ButtonDispatchThreadTest, EventsAreDispatchedInTheirOrderAndOtherMessagesGoToTheWindow) {
  Assign(0, KeyAssignment::Plain(1));         // right button
  Assign(4, KeyAssignment::SingleKey(0x1E));  // A
  ASSERT_EQ(buttons_.Post(UM_DRIVER_SETUP, 1, 0), Result::Ok);
  Press(4);
  Release();
  Press(0);
  Release();
  // Performed at once, on the posting thread.
  EXPECT_EQ(NewLines(), (Lines{"key down A", "key up A", "button down Right", "button up Right"}));
  EXPECT_EQ(window_.posted.Items(), (std::vector<Message>{{UM_DRIVER_SETUP, 1, 0}}));

  // A reassignment holds from the next press; the release undoes what the press did.
  Press(4);
  ASSERT_EQ(NewLines(1), Lines{"key down A"});
  Assign(4, KeyAssignment::Plain(1));
  Release();
  Press(4);
  EXPECT_EQ(NewLines(2), (Lines{"key up A", "button down Right"}));

  Assign(6, KeyAssignment::SingleKey(0x1E));
  buttons_.Stop();
  Press(6);  // dropped: the thread has ended
  buttons_.ReleaseEverything();
  EXPECT_EQ(NewLines(), (Lines{"keys unchanged", "button up Right"}));
}

// A key combination is pressed with its pauses on the thread; a click that comes meanwhile waits
// behind it.
TEST_F(ButtonDispatchThreadTest, AnEventThatWaitsKeepsTheOrder) {
  Assign(3, KeyAssignment::Plain(34));  // Alt+Tab
  Assign(0, KeyAssignment::Plain(1));   // right button
  Press(3);
  ASSERT_TRUE(combinationClock_.WaitForWaits(1));
  Press(0);
  EXPECT_EQ(NewLines(), Lines{"key down Left Alt"});
  combinationClock_.Advance(10);
  ASSERT_TRUE(combinationClock_.WaitForWaits(2));
  combinationClock_.Advance(10);
  EXPECT_EQ(NewLines(2), (Lines{"key down Tab", "button down Right"}));
}

// ReleaseEverything from the window's thread waits for the combination being pressed, so that
// nothing it presses after the release stays down.
TEST_F(ButtonDispatchThreadTest, ReleaseEverythingWaitsForTheEventInProgress) {
  Assign(3, KeyAssignment::Plain(34));  // Alt+Tab
  Press(3);
  ASSERT_TRUE(combinationClock_.WaitForWaits(1));  // Alt is down, Tab waits for its pause
  std::jthread window([this] { buttons_.ReleaseEverything(); });
  combinationClock_.Advance(10);
  ASSERT_TRUE(combinationClock_.WaitForWaits(2));
  combinationClock_.Advance(10);
  window.join();
  // The combination was pressed whole before everything was let go at once.
  EXPECT_EQ(NewLines(), (Lines{"key down Left Alt", "key down Tab", "key up Left Alt", "key up Tab",
                               "buttons unchanged"}));
  EXPECT_TRUE(Held().keys.empty());
}

}  // namespace
}  // namespace vexlo
