#include "engine/PauseSchedule.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

struct Case {
  const char* what;
  microseconds length;
  microseconds now;  // when the pause is asked for, after the end of the one before
  microseconds end;  // when it is to end, after the end of the one before
};

TEST(PauseScheduleTest, PausesKeepTheirScheduleUnlessARunStalls) {
  const Case cases[] = {
      {"on time", milliseconds(1), microseconds(0), milliseconds(1)},
      {"reports took a while", milliseconds(1), microseconds(300), milliseconds(1)},
      {"woke late: the next pause is shorter", milliseconds(1), microseconds(1'800),
       milliseconds(1)},
      {"woke later than a short pause: caught up", milliseconds(1), milliseconds(10),
       milliseconds(1)},
      {"stalled: counted from now", milliseconds(1), microseconds(10'001), microseconds(10'001)},
      {"a long pause absorbs its length", milliseconds(20), milliseconds(20), milliseconds(20)},
      {"a long pause stalled", milliseconds(20), microseconds(20'001), microseconds(20'001)},
      {"no pause", milliseconds(0), microseconds(200), microseconds(0)},
      {"no pause, stalled", milliseconds(0), milliseconds(11), milliseconds(11)},
  };
  const Clock::time_point previous = Clock::time_point() + std::chrono::hours(1);
  for (const Case& c : cases) {
    EXPECT_EQ(PauseEnd(previous, c.length, previous + c.now) - previous, c.end) << c.what;
  }
}

}  // namespace
}  // namespace vexlo
