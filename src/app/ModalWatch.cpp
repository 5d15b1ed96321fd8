#include "app/ModalWatch.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
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

void ModalWatch::CloseAll() {
  // A menu that refuses to close ends the sweep rather than being asked forever.
  while (QWidget* menu = QApplication::activePopupWidget()) {
    menu->close();
    if (QApplication::activePopupWidget() == menu) break;
  }
  // Closing one answers its caller's signals at once, which may take another window away.
  QList<QPointer<QWidget>> windows;
  for (QWidget* window : QApplication::topLevelWidgets()) windows.append(window);
  for (const QPointer<QWidget>& window : windows) {
    if (window && window->isVisible() && window->isModal()) window->close();
  }
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
