#include "engine/WheelLinesWorker.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "FakeSystemMouseSettings.h"

namespace vexlo {
namespace {

using Calls = std::vector<std::uint32_t>;

TEST(WheelLinesWorker, ChangesQueuedWhileBusyCollapseIntoTheLast) {
  test::FakeSystemMouseSettings desktop;
  desktop.HoldWheelSetter();
  {
    WheelLinesWorker worker(desktop);
    ASSERT_EQ(worker.Queue(1), Result::Ok);
    ASSERT_TRUE(desktop.WaitForWheelCalls(1));  // the worker is inside the change of 1
    ASSERT_EQ(worker.Queue(2), Result::Ok);
    ASSERT_EQ(worker.Queue(3), Result::Ok);
    ASSERT_EQ(worker.Queue(0xFFFFFFFF), Result::Ok);
    desktop.ReleaseWheelSetter();
    ASSERT_TRUE(desktop.WaitForWheelCalls(2));
  }
  EXPECT_EQ(desktop.WheelCalls(), (Calls{1, 0xFFFFFFFF}));
}

TEST(WheelLinesWorker, AppliesEachChangeItWasGivenTimeFor) {
  test::FakeSystemMouseSettings desktop;
  WheelLinesWorker worker(desktop);
  std::size_t applied = 0;
  for (std::uint32_t lines : {5u, 6u, 100u}) {
    ASSERT_EQ(worker.Queue(lines), Result::Ok);
    ASSERT_TRUE(desktop.WaitForWheelCalls(++applied));
  }
  EXPECT_EQ(desktop.WheelCalls(), (Calls{5, 6, 100}));
}

TEST(WheelLinesWorker, AppliesTheLastChangeBeforeItEnds) {
  // At exit the window queues the default wheel lines and the worker goes right after; the
  // defaults must still reach the desktop.
  test::FakeSystemMouseSettings desktop;
  desktop.HoldWheelSetter();
  std::optional<WheelLinesWorker> worker(std::in_place, desktop);
  ASSERT_EQ(worker->Queue(9), Result::Ok);
  ASSERT_TRUE(desktop.WaitForWheelCalls(1));
  ASSERT_EQ(worker->Queue(3), Result::Ok);
  desktop.ReleaseWheelSetter();
  worker.reset();
  EXPECT_EQ(desktop.WheelCalls(), (Calls{9, 3}));
}

TEST(WheelLinesWorker, EndsAtOnceWhenNothingWasQueued) {
  test::FakeSystemMouseSettings desktop;
  { WheelLinesWorker worker(desktop); }
  {
    WheelLinesWorker worker(desktop);
    ASSERT_EQ(worker.Queue(4), Result::Ok);
    ASSERT_TRUE(desktop.WaitForWheelCalls(1));
  }
  EXPECT_EQ(desktop.WheelCalls(), (Calls{4}));
}

}  // namespace
}  // namespace vexlo
