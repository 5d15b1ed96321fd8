#pragma once

#include <QObject>

namespace vexlo {

class MessageTarget;

// Captures every keystroke of the program while it exists: each key press and release that any
// of the program's windows would receive is posted to the receiver as UM_KEY_HOOK (wParam =
// virtual-key code, lParam = keystroke flags, QtKeystroke.h) and reaches no window, shortcuts
// included. Auto-repeat comes as presses with the previous-state flag, as on the original
// platform, never as releases. Other programs are not affected. User-interface thread only; the
// receiver must outlive the hook.
class KeyboardHook final : public QObject {
 public:
  explicit KeyboardHook(MessageTarget& receiver);
  ~KeyboardHook() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MessageTarget& receiver_;
};

}  // namespace vexlo
