#include "engine/WheelLinesWorker.h"

#include <system_error>
#include <utility>

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

WheelLinesWorker::WheelLinesWorker(SystemMouseSettings& system) : system_(system) {}

Result WheelLinesWorker::Queue(std::uint32_t lines) {
  {
    std::scoped_lock lock(mutex_);
    pending_ = lines;
  }
  if (!worker_.joinable()) {
    try {
      worker_ = std::jthread([this](std::stop_token stop) { Run(std::move(stop)); });
    } catch (const std::system_error&) {
      // A thread fails to start only for want of resources.
      return Result::NotEnoughMemory;
    }
  }
  wake_.notify_one();
  return Result::Ok;
}

void WheelLinesWorker::Shutdown() {
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();
}

void WheelLinesWorker::Run(std::stop_token stop) {
  for (;;) {
    std::uint32_t lines = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, stop, [this] { return pending_.has_value(); });
      // Stopping still applies what was queued last, such as the defaults set at exit.
      if (!pending_) return;
      lines = *std::exchange(pending_, std::nullopt);
    }
    // Nobody waits for the outcome; a refused value leaves the desktop as it was.
    (void)system_.SetWheelScrollLines(lines);
  }
}

}  // namespace vexlo
