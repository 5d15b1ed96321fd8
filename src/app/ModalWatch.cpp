#include "app/ModalWatch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace vexlo {

ModalWatch::ModalWatch(std::function<void()> closed) : closed_(std::move(closed)) {
  qApp->installEventFilter(this);
}

ModalWatch::~ModalWatch() { qApp->removeEventFilter(this); }

bool ModalWatch::AnyOpen() {
  return QApplication::activeModalWidget() != nullptr ||
         QApplication::activePopupWidget() != nullptr;
}

bool ModalWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide && watched->isWidgetType()) {
    const auto* widget = static_cast<const QWidget*>(watched);
    if (widget->isWindow() && (widget->isModal() || widget->windowType() == Qt::Popup)) {
      // Queued: a dialog hides inside its own loop, before the code that opened it has its answer.
      QMetaObject::invokeMethod(this, closed_, Qt::QueuedConnection);
    }
  }
  return false;
}

}  // namespace vexlo
