#include "common/RealtimeThread.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace vexlo {
namespace {

// A broker that answers as it is told and notes what it was asked.
class FakeBroker final : public RealtimeBroker {
 public:
  explicit FakeBroker(Result answer) : answer_(answer) {}
  Result MakeThreadRealtime(std::uint64_t threadId, int priority) override {
    threadId_ = threadId;
    priority_ = priority;
    return answer_;
  }
  std::uint64_t threadId_ = 0;
  int priority_ = 0;

 private:
  Result answer_;
};

// In a child of the test: leaves the process no right to real-time scheduling of its own.
void GiveUpRealtimeRights() {
  const rlimit none{0, 0};
  if (::setrlimit(RLIMIT_RTPRIO, &none) != 0) std::_Exit(10);
  if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(11);  // root may regardless
}

int Policy() {
  return ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
}

TEST(RealtimeThreadTest, ARefusalIsLoggedOnceAndLeavesAnOrdinaryThreadWithTheLeastSlack) {
  EXPECT_EXIT(
      {
        GiveUpRealtimeRights();
        FakeBroker broker(Result::AccessDenied);
        SetRealtimeBroker(&broker);
        const bool refused = EnterRealtime("test") == RealtimeGrant::Refused &&
                             EnterRealtime("second") == RealtimeGrant::Refused;
        const bool leastSlack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0) == 1;
        std::exit(refused && leastSlack && Policy() == SCHED_OTHER ? 0 : 1);
      },
      ::testing::ExitedWithCode(0),
      "^vexlo: no real-time scheduling for the test thread \\(Operation not permitted; "
      "RealtimeKit: refused\\)[^\n]*\n$");
}

TEST(RealtimeThreadTest, WithoutABrokerARefusalSaysItWasNotAsked) {
  EXPECT_EXIT(
      {
        GiveUpRealtimeRights();
        std::exit(EnterRealtime("test") == RealtimeGrant::Refused ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "RealtimeKit: not asked\\)");
}

TEST(RealtimeThreadTest, TheBrokerIsAskedForThisThreadWhenTheProcessMayNot) {
  EXPECT_EXIT(
      {
        GiveUpRealtimeRights();
        FakeBroker broker(Result::Ok);
        SetRealtimeBroker(&broker);
        const bool brokered = EnterRealtime("test") == RealtimeGrant::Brokered &&
                              broker.threadId_ == static_cast<std::uint64_t>(::gettid()) &&
                              broker.priority_ == kRealtimePriority;
        std::exit(brokered ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "^$");  // nothing logged
}

TEST(RealtimeThreadTest, APermittedThreadGetsFifoWithoutSlackButNotItsChildren) {
  RealtimeGrant grant = RealtimeGrant::Refused;
  int policy = -1;
  sched_param parameter{};
  int slack = -1;
  int childPolicy = -1;
  std::jthread([&] {
    grant = EnterRealtime("test");
    policy = Policy();
    (void)::sched_getparam(0, &parameter);
    slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    std::jthread([&] { childPolicy = Policy(); }).join();
  }).join();
  if (grant == RealtimeGrant::Refused) GTEST_SKIP() << "this process may not use real-time";
  EXPECT_EQ(slack, 0);  // a real-time thread has none at all
  EXPECT_EQ(grant, RealtimeGrant::Direct);
  EXPECT_EQ(policy, SCHED_FIFO);
  EXPECT_EQ(parameter.sched_priority, kRealtimePriority);
  EXPECT_EQ(childPolicy, SCHED_OTHER);
}

}  // namespace
}  // namespace vexlo
