#include "skin/KeyboardHook.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "common/Messages.h"
#include "platform/ports/MessageTarget.h"
#include "skin/QtKeystroke.h"

namespace vexlo {

KeyboardHook::KeyboardHook(MessageTarget& receiver) : receiver_(receiver) {
  QCoreApplication::instance()->installEventFilter(this);
}

KeyboardHook::~KeyboardHook() {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->removeEventFilter(this);
  }
}

bool KeyboardHook::eventFilter(QObject* /*watched*/, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claimed, so that no shortcut takes the key before it arrives as a press.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      if (event->type() == QEvent::KeyRelease && key.isAutoRepeat()) return true;
      const HookKeystroke keystroke = KeystrokeOfKeyEvent(key);
      // The receiver lives as long as the hook; a refused post loses one keystroke only.
      (void)receiver_.Post(UM_KEY_HOOK, keystroke.virtualKey,
                           static_cast<std::intptr_t>(keystroke.flags));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vexlo
