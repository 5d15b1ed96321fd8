#include "app/CVexloDlg.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QVBoxLayout>

#include "common/Messages.h"

namespace vexlo {

CVexloDlg::CVexloDlg(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), target_(*this, *this) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Vexlo"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Vexlo"), this));
}

CVexloDlg::~CVexloDlg() = default;

Result CVexloDlg::LoadSkin() { return Result::Ok; }

int CVexloDlg::RunModal() {
  // Other copies reach this window from now on; a failure only means they cannot.
  (void)context_.platform.instances->PublishWindow(kTagMainWindow, target_, publication_, self_);
  // The window runs for the whole program but starts in the background: it shows itself only when
  // asked, so the loop runs without exec(), which would show it.
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  loop.exec();
  return result();
}

void CVexloDlg::reject() { hide(); }

void CVexloDlg::ShowAndRaise() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

std::intptr_t CVexloDlg::OnWindowMessage(std::uint32_t message, std::uintptr_t /*wParam*/,
                                         std::intptr_t /*lParam*/) {
  switch (message) {
    case UM_SHOW_MAIN:
      ShowAndRaise();
      return 0;
    case UM_EXIT_APP:
      done(QDialog::Accepted);
      return 0;
    default:
      return 0;
  }
}

bool CVexloDlg::event(QEvent* event) {
  return DispatchWindowMessage(event, *this) || QDialog::event(event);
}

void CVexloDlg::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the program ends on an exit request.
  event->ignore();
  hide();
}

}  // namespace vexlo
