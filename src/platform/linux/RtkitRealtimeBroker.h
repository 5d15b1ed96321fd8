#pragma once

#include <mutex>

#include "common/RealtimeThread.h"

using GDBusConnection = struct _GDBusConnection;

namespace vexlo {

// Real-time scheduling from RealtimeKit (org.freedesktop.RealtimeKit1 on the system bus), as
// desktop audio gets it: the service raises a thread of a process that may not raise it itself.
// It asks that the process cap how long a real-time thread may run without sleeping, so the
// first request sets that limit to what the service accepts by default (200 ms) unless it is
// lower already; the threads that ask sleep between every few microseconds of work.
class RtkitRealtimeBroker final : public RealtimeBroker {
 public:
  RtkitRealtimeBroker() = default;
  ~RtkitRealtimeBroker() override;
  RtkitRealtimeBroker(const RtkitRealtimeBroker&) = delete;
  RtkitRealtimeBroker& operator=(const RtkitRealtimeBroker&) = delete;

  Result MakeThreadRealtime(std::uint64_t threadId, int priority) override;

 private:
  // The system bus, connected at the first request that finds it; null until then.
  GDBusConnection* Bus(Result& failure);

  std::mutex mutex_;  // guards bus_
  GDBusConnection* bus_ = nullptr;  // owned
};

}  // namespace vexlo
