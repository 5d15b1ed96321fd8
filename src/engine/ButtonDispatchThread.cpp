#include "engine/ButtonDispatchThread.h"

#include <system_error>
#include <utility>

#include "common/Messages.h"
#include "common/RealtimeThread.h"
#include "engine/HostDispatcher.h"

namespace vexlo {

ButtonDispatchThread::ButtonDispatchThread(HostDispatcher& dispatcher, MessageTarget& window)
    : dispatcher_(dispatcher), window_(window) {}

Result ButtonDispatchThread::Post(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  if (message != UM_BUTTON_EVENT) return window_.Post(message, wParam, lParam);
  {
    std::unique_lock lock(queueMutex_);
    if (stopped_) return Result::Ok;  // the program is ending: nothing more is dispatched
    // With nothing queued and nothing in progress, this event is the next in order.
    std::unique_lock dispatching(dispatchMutex_, std::try_to_lock);
    if (queue_.empty() && dispatching && dispatcher_.PerformsAtOnce(wParam, lParam)) {
      lock.unlock();
      dispatcher_.DispatchButtonEvent(wParam, lParam);
      return Result::Ok;
    }
    if (!worker_.joinable()) {
      try {
        worker_ = std::jthread([this](std::stop_token stop) { Run(std::move(stop)); });
      } catch (const std::system_error&) {
        // A thread fails to start only for want of resources.
        return Result::NotEnoughMemory;
      }
    }
    queue_.push_back({wParam, lParam});
  }
  wake_.notify_one();
  return Result::Ok;
}

Result ButtonDispatchThread::PostText(std::uint32_t message, std::vector<std::string> texts) {
  return window_.PostText(message, std::move(texts));
}

void ButtonDispatchThread::UseAssignments(const DeviceSettings& device) {
  std::scoped_lock dispatching(dispatchMutex_);
  dispatcher_.UseAssignments(device);
}

void ButtonDispatchThread::ReleaseEverything() {
  {
    std::scoped_lock lock(queueMutex_);
    queue_.clear();
  }
  std::scoped_lock dispatching(dispatchMutex_);
  dispatcher_.ReleaseEverything();
}

void ButtonDispatchThread::Stop() {
  {
    std::scoped_lock lock(queueMutex_);
    stopped_ = true;
    queue_.clear();
  }
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();
}

void ButtonDispatchThread::Run(std::stop_token stop) {
  (void)EnterRealtime("button dispatch");  // refused, it dispatches all the same
  for (;;) {
    ButtonEvent event{};
    std::unique_lock<std::mutex> dispatching;
    {
      std::unique_lock lock(queueMutex_);
      if (!wake_.wait(lock, stop, [this] { return !queue_.empty(); })) return;
      event = queue_.front();
      queue_.pop_front();
      // Taken before the queue is let go, so that ReleaseEverything, once it holds the dispatcher,
      // knows that no event it dropped is still on its way to it.
      dispatching = std::unique_lock(dispatchMutex_);
    }
    dispatcher_.DispatchButtonEvent(event.pressed, event.code);
  }
}

}  // namespace vexlo
