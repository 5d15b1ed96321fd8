#pragma once

#include <QDialog>

#include <memory>

#include "app/AppContext.h"
#include "platform/ports/ReleaseOnDestroy.h"
#include "skin/WindowMessage.h"

namespace vexlo {

// The main window. It runs modally for the whole life of the program, hidden until it is asked
// to show itself, and ends the program on UM_EXIT_APP. Other copies find it by its 'MAIN' tag.
class CVexloDlg final : public QDialog, public MessageHandler {
 public:
  explicit CVexloDlg(AppContext& context, QWidget* parent = nullptr);
  ~CVexloDlg() override;

  // Loads the window's skin: Ok, or BadData when its main image is missing.
  [[nodiscard]] Result LoadSkin();

  // Runs the window until the program is to end.
  int RunModal();

  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;
  MessageTarget& Target() { return target_; }

 protected:
  bool event(QEvent* event) override;
  void reject() override;  // Escape and closing only hide the window
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowAndRaise();

  AppContext& context_;
  QtMessageTarget target_;
  std::unique_ptr<ReleaseOnDestroy> publication_;
  RunningWindow self_;  // this window as other programs reach it
};

}  // namespace vexlo
