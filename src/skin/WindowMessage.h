#pragma once

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ports/MessageTarget.h"

namespace vexlo {

// A window message (common/Messages.h) travelling to a window's thread as a Qt event, by value.
class WindowMessageEvent final : public QEvent {
 public:
  WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                     std::vector<std::string> texts = {});

  static QEvent::Type Type();

  std::uint32_t message() const { return message_; }
  std::uintptr_t wParam() const { return wParam_; }
  std::intptr_t lParam() const { return lParam_; }
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  std::uint32_t message_;
  std::uintptr_t wParam_;
  std::intptr_t lParam_;
  std::vector<std::string> texts_;
};

// A window that handles window messages. Its event() override passes every event to
// DispatchWindowMessage first.
class MessageHandler {
 public:
  virtual std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) = 0;
  // A message posted with texts (MessageTarget::PostText); windows that take none ignore it.
  virtual void OnTextMessage(std::uint32_t /*message*/,
                             const std::vector<std::string>& /*texts*/) {}

 protected:
  ~MessageHandler() = default;
};

// Handles the event when it is a window message; true when it was one.
bool DispatchWindowMessage(QEvent* event, MessageHandler& handler);

// The MessageTarget of one window, for workers and other processes. The window owns it and
// destroys it before itself; from then on Post answers InvalidWindowHandle, and messages still
// queued are dropped with the window's events.
class QtMessageTarget final : public MessageTarget {
 public:
  explicit QtMessageTarget(QObject& window);
  ~QtMessageTarget() override;

  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  Result PostText(std::uint32_t message, std::vector<std::string> texts) override;

 private:
  Result Queue(std::unique_ptr<WindowMessageEvent> event);

  std::mutex mutex_;  // guards window_ against the window going away during a post
  QObject* window_;
};

}  // namespace vexlo
