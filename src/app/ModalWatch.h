#pragma once

#include <QObject>

#include <functional>

namespace vexlo {

// Watches the program's modal dialogs and menus: whether one is open, and a call on the
// user-interface thread after one has closed. Work that must not run under a dialog or menu (a
// profile switch while a question waits for its answer) waits for that call; every dialog and
// menu, whoever opens it, is seen without doing anything for it.
class ModalWatch final : public QObject {
 public:
  // `closed` runs from the event loop after a modal dialog or menu has closed, once the code that
  // opened it has gone on.
  explicit ModalWatch(std::function<void()> closed);
  ~ModalWatch() override;

  // True while a modal dialog or a menu is open.
  static bool AnyOpen();
  // Closes every open menu and modal dialog, whoever opened it, as if the user had closed each:
  // a question answers Cancel, a file dialog chooses nothing. Each one's own loop ends once
  // control gets back to it, and the code that opened it goes on as after a cancel.
  static void CloseAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> closed_;
};

}  // namespace vexlo
