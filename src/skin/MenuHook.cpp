#include "skin/MenuHook.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>

#include "common/Messages.h"
#include "platform/ports/MessageTarget.h"
#include "skin/CMenuEx.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

class MenuHook final : public QObject {
 public:
  MessageTarget* receiver = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Paint) return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu) return false;
    if (type == QEvent::Paint) return PaintWithBorder(*menu, event);
    // Showing and hiding come twice, once from the program and once from the window system.
    if (event->spontaneous()) return false;
    Report(type == QEvent::Show ? kMenuWindowSized : kMenuWindowDestroyed, menu);
    return false;
  }

 private:
  void Report(std::uintptr_t message, QMenu* menu) const {
    if (!receiver) return;
    // A main window that is going away has nothing to release.
    (void)receiver->Post(UM_MENU_WINDOW, message, reinterpret_cast<std::intptr_t>(menu));
  }

  // Lets the menu paint itself, then paints the border over its frame.
  static bool PaintWithBorder(QMenu& menu, QEvent* event) {
    if (dynamic_cast<CMenuEx*>(&menu)) return false;
    static_cast<QObject&>(menu).event(event);
    QPainter painter(&menu);
    PaintMenuBorder(painter, menu.rect());
    return true;
  }
};

QPointer<MenuHook>& Hook() {
  static QPointer<MenuHook> hook;
  return hook;
}

}  // namespace

void InstallMenuHook() {
  if (Hook() || !qApp) return;
  auto* hook = new MenuHook;
  hook->setParent(qApp);  // never outlives the application
  qApp->installEventFilter(hook);
  Hook() = hook;
}

void RemoveMenuHook() {
  if (!Hook()) return;
  delete Hook().data();  // removes itself from the application's filters
}

bool IsMenuHookInstalled() {
  return !Hook().isNull();
}

void SetMenuHookReceiver(MessageTarget* receiver) {
  if (Hook()) Hook()->receiver = receiver;
}

}  // namespace vexlo
