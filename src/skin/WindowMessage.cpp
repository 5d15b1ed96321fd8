#include "skin/WindowMessage.h"

#include <QCoreApplication>

namespace vexlo {

WindowMessageEvent::WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam, std::vector<std::string> texts)
    : QEvent(Type()),
      message_(message),
      wParam_(wParam),
      lParam_(lParam),
      texts_(std::move(texts)) {}

QEvent::Type WindowMessageEvent::Type() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool DispatchWindowMessage(QEvent* event, MessageHandler& handler) {
  if (event->type() != WindowMessageEvent::Type()) return false;
  const auto* message = static_cast<const WindowMessageEvent*>(event);
  if (message->texts().empty()) {
    (void)handler.OnWindowMessage(message->message(), message->wParam(), message->lParam());
  } else {
    handler.OnTextMessage(message->message(), message->texts());
  }
  return true;
}

QtMessageTarget::QtMessageTarget(QObject& window) : window_(&window) {}

QtMessageTarget::~QtMessageTarget() {
  std::scoped_lock lock(mutex_);
  window_ = nullptr;
}

Result QtMessageTarget::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return Queue(std::make_unique<WindowMessageEvent>(message, wParam, lParam));
}

Result QtMessageTarget::PostText(std::uint32_t message, std::vector<std::string> texts) {
  return Queue(std::make_unique<WindowMessageEvent>(message, 0, 0, std::move(texts)));
}

Result QtMessageTarget::Queue(std::unique_ptr<WindowMessageEvent> event) {
  std::scoped_lock lock(mutex_);
  if (!window_) return Result::InvalidWindowHandle;
  // Qt owns the event from here on and deletes it unhandled when the window goes first.
  QCoreApplication::postEvent(window_, event.release());
  return Result::Ok;
}

}  // namespace vexlo
