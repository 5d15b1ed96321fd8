#pragma once

#include <QEvent>
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/ports/MessageTarget.h"

namespace vexlo {

// A window message (common/Messages.h) travelling to a window's thread as a Qt event.
class WindowMessageEvent final : public QEvent {
 public:
  struct Reply;  // where a sent message's answer goes

  WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                     std::shared_ptr<Reply> reply = nullptr);
  ~WindowMessageEvent() override;  // answers 0 to a sender whose message was never handled

  static QEvent::Type Type();

  std::uint32_t message() const { return message_; }
  std::uintptr_t wParam() const { return wParam_; }
  std::intptr_t lParam() const { return lParam_; }
  void SetAnswer(std::intptr_t answer);

 private:
  std::uint32_t message_;
  std::uintptr_t wParam_;
  std::intptr_t lParam_;
  std::shared_ptr<Reply> reply_;
};

// A window that handles window messages. Its event() override passes every event to
// DispatchWindowMessage first.
class MessageHandler {
 public:
  virtual std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) = 0;

 protected:
  ~MessageHandler() = default;
};

// Handles the event when it is a window message; true when it was one.
bool DispatchWindowMessage(QEvent* event, MessageHandler& handler);

// The MessageTarget of one window, for workers and other processes. The window owns it and
// destroys it before itself; from then on Post answers InvalidWindowHandle and Send 0.
class QtMessageTarget final : public MessageTarget {
 public:
  QtMessageTarget(QObject& window, MessageHandler& handler);
  ~QtMessageTarget() override;

  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  std::mutex mutex_;  // guards window_ against the window going away during a post
  QObject* window_;
  MessageHandler& handler_;
};

}  // namespace vexlo
