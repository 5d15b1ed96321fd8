#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "common/Result.h"
#include "platform/ports/MessageTarget.h"

namespace vexlo {

struct DeviceSettings;
class HostDispatcher;

// The target of the mouse's messages. Button events go to the host dispatcher in the order they
// came, never through the user-interface thread, which a busy machine schedules late and which may
// be drawing or in a dialog; every other message goes on to the window. An event that the
// dispatcher performs at once (a click, a key, a media key) while nothing is queued is performed
// on the posting thread itself, the mouse's real-time reader, which saves waking another thread;
// one that waits (a key combination's pauses, a program start, a macro run ending) goes to a
// real-time thread of this object's own, so the reader goes back to the mouse at once.
//
// The dispatcher is used only under this object's lock: for one event at a time, and by the
// user-interface thread through UseAssignments and ReleaseEverything, which wait for the event in
// progress (at most a key combination's pauses).
class ButtonDispatchThread final : public MessageTarget {
 public:
  // Both must outlive this object. The thread starts at the first button event.
  ButtonDispatchThread(HostDispatcher& dispatcher, MessageTarget& window);
  // Stops the thread and waits for it.
  ~ButtonDispatchThread() override { Stop(); }
  ButtonDispatchThread(const ButtonDispatchThread&) = delete;
  ButtonDispatchThread& operator=(const ButtonDispatchThread&) = delete;

  // UM_BUTTON_EVENT is performed now or queued for the thread (Ok, or NotEnoughMemory when the
  // thread cannot be started: the event is lost); anything else is the window's Post. Any thread;
  // never waits for an event that waits.
  [[nodiscard]] Result Post(std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  [[nodiscard]] Result PostText(std::uint32_t message, std::vector<std::string> texts) override;

  // HostDispatcher::UseAssignments, between two events.
  void UseAssignments(const DeviceSettings& device);
  // Events still queued are dropped (they belong to what ends now), then
  // HostDispatcher::ReleaseEverything.
  void ReleaseEverything();
  // The thread ends once the event in progress is done; queued and later events are dropped.
  void Stop();

 private:
  struct ButtonEvent {
    std::uintptr_t pressed;
    std::intptr_t code;
  };

  void Run(std::stop_token stop);

  HostDispatcher& dispatcher_;
  MessageTarget& window_;
  std::mutex queueMutex_;  // guards queue_ and stopped_
  std::condition_variable_any wake_;
  std::deque<ButtonEvent> queue_;
  bool stopped_ = false;
  // Held while the dispatcher is used. Lock order: queueMutex_ first.
  std::mutex dispatchMutex_;
  std::jthread worker_;  // last, so it is stopped and joined before the members it uses go
};

}  // namespace vexlo
