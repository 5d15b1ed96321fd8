#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iostream>
#include <string>
#include <system_error>

#include "common/RealtimeThread.h"

namespace vexlo {
namespace {

std::atomic<RealtimeBroker*> installedBroker{nullptr};
std::atomic<bool> refusalLogged{false};

std::string BrokerAnswer(Result result) {
  switch (result) {
    case Result::NotFound: return "not running";
    case Result::AccessDenied: return "refused";
    case Result::Timeout: return "no answer";
    default: return "error " + std::to_string(ToNumber(result));
  }
}

void LogRefusal(std::string_view threadName, int directError, const std::string& brokerAnswer) {
  if (refusalLogged.exchange(true)) return;
  // One line that a user can act on: why, and what it costs.
  std::cerr << "vexlo: no real-time scheduling for the " << threadName << " thread ("
            << std::generic_category().message(directError) << "; RealtimeKit: " << brokerAnswer
            << "); button events and macro pauses may come late while other programs keep the "
               "processors busy\n";
}

}  // namespace

void SetRealtimeBroker(RealtimeBroker* broker) {
  installedBroker.store(broker);
}

RealtimeGrant EnterRealtime(std::string_view threadName) {
  // The slack lets the kernel end a timed wait that much later to save wake-ups; a real-time
  // thread has none, an ordinary one 50 us unless told otherwise.
  (void)::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);  // a kernel without it has the default

  sched_param parameter{};
  parameter.sched_priority = kRealtimePriority;
  // Reset on fork: a thread or process this one starts is an ordinary one.
  const int directError =
      ::pthread_setschedparam(::pthread_self(), SCHED_FIFO | SCHED_RESET_ON_FORK, &parameter);
  if (directError == 0) return RealtimeGrant::Direct;

  RealtimeBroker* const broker = installedBroker.load();
  if (broker == nullptr) {
    LogRefusal(threadName, directError, "not asked");
    return RealtimeGrant::Refused;
  }
  const Result brokered =
      broker->MakeThreadRealtime(static_cast<std::uint64_t>(::gettid()), kRealtimePriority);
  if (brokered == Result::Ok) return RealtimeGrant::Brokered;
  LogRefusal(threadName, directError, BrokerAnswer(brokered));
  return RealtimeGrant::Refused;
}

}  // namespace vexlo
