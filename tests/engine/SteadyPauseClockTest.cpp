#include "engine/SteadyPauseClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace vexlo {
namespace {

using Clock = SteadyPauseClock::Clock;

TEST(SteadyPauseClockTest, NoWaitForZero) {
  SteadyPauseClock clock;
  std::stop_source stopped;
  stopped.request_stop();
  EXPECT_TRUE(clock.WaitMs(0));
  EXPECT_TRUE(clock.WaitMs(0, stopped.get_token()));
}

TEST(SteadyPauseClockTest, AWaitNeverEndsEarly) {
  SteadyPauseClock clock;
  std::stop_source running;
  for (const std::uint32_t ms : {1u, 2u, 3u, 7u}) {
    for (int i = 0; i < 5; ++i) {
      const Clock::time_point start = Clock::now();
      ASSERT_TRUE(clock.WaitMs(ms, i % 2 == 0 ? running.get_token() : std::stop_token{}));
      EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(ms));
    }
  }
}

TEST(SteadyPauseClockTest, AStopEndsAWaitUnderWay) {
  SteadyPauseClock clock;
  std::stop_source stop;
  std::promise<bool> result;
  std::jthread waiter([&] { result.set_value(clock.WaitMs(60'000, stop.get_token())); });
  std::this_thread::sleep_for(std::chrono::milliseconds(5));  // most likely asleep by now
  stop.request_stop();
  std::future<bool> ended = result.get_future();
  ASSERT_EQ(ended.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(ended.get());
}

TEST(SteadyPauseClockTest, AStopBeforeTheWaitEndsItAtOnce) {
  SteadyPauseClock clock;
  std::stop_source stop;
  stop.request_stop();
  EXPECT_FALSE(clock.WaitMs(60'000, stop.get_token()));
}

TEST(SteadyPauseClockTest, SeveralThreadsWaitAtOnce) {
  SteadyPauseClock clock;
  std::stop_source stop;
  std::vector<std::jthread> waiters;
  std::atomic<int> whole{0};
  for (int t = 0; t < 4; ++t) {
    waiters.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i) whole += clock.WaitMs(1 + (t + i) % 3, stop.get_token());
    });
  }
  waiters.clear();
  EXPECT_EQ(whole.load(), 80);
}

}  // namespace
}  // namespace vexlo
