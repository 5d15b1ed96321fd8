#include "skin/WindowMessage.h"

#include <QCoreApplication>
#include <QThread>

namespace vexlo {

struct WindowMessageEvent::Reply {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  std::intptr_t answer = 0;
};

WindowMessageEvent::WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam, std::shared_ptr<Reply> reply)
    : QEvent(Type()),
      message_(message),
      wParam_(wParam),
      lParam_(lParam),
      reply_(std::move(reply)) {}

WindowMessageEvent::~WindowMessageEvent() {
  if (reply_) SetAnswer(0);
}

QEvent::Type WindowMessageEvent::Type() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void WindowMessageEvent::SetAnswer(std::intptr_t answer) {
  if (!reply_) return;
  {
    std::scoped_lock lock(reply_->mutex);
    reply_->answer = answer;
    reply_->done = true;
  }
  reply_->answered.notify_all();
  reply_.reset();
}

bool DispatchWindowMessage(QEvent* event, MessageHandler& handler) {
  if (event->type() != WindowMessageEvent::Type()) return false;
  auto* message = static_cast<WindowMessageEvent*>(event);
  message->SetAnswer(
      handler.OnWindowMessage(message->message(), message->wParam(), message->lParam()));
  return true;
}

QtMessageTarget::QtMessageTarget(QObject& window, MessageHandler& handler)
    : window_(&window), handler_(handler) {}

QtMessageTarget::~QtMessageTarget() {
  std::scoped_lock lock(mutex_);
  window_ = nullptr;
}

Result QtMessageTarget::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::scoped_lock lock(mutex_);
  if (!window_) return Result::InvalidWindowHandle;
  QCoreApplication::postEvent(window_, new WindowMessageEvent(message, wParam, lParam));
  return Result::Ok;
}

std::intptr_t QtMessageTarget::Send(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
  auto reply = std::make_shared<WindowMessageEvent::Reply>();
  bool on_window_thread = false;
  {
    std::scoped_lock lock(mutex_);
    if (!window_) return 0;
    on_window_thread = window_->thread() == QThread::currentThread();
    if (!on_window_thread) {
      QCoreApplication::postEvent(window_, new WindowMessageEvent(message, wParam, lParam, reply));
    }
  }
  // The handler may close the window, so it runs without the lock.
  if (on_window_thread) return handler_.OnWindowMessage(message, wParam, lParam);
  std::unique_lock wait(reply->mutex);
  reply->answered.wait(wait, [&] { return reply->done; });
  return reply->answer;
}

}  // namespace vexlo
