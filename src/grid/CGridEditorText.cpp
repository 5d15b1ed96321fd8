#include "grid/CGridEditorText.h"

#include <QKeyEvent>

#include <optional>

#include "grid/CGridListCtrlEx.h"
#include "grid/CGridRowTraitText.h"

namespace vexlo {
namespace {
// The margin a line edit keeps between its contents rectangle and its text.
constexpr int kLineEditMargin = 2;
}  // namespace

CGridEditorText::CGridEditorText(CGridListCtrlEx& list, int row, int column, const QRect& rect)
    : QLineEdit(list.viewport()), list_(list), row_(row), column_(column) {
  setFrame(false);
  // Its own context menu would take the focus and so end the edit under the menu.
  setContextMenuPolicy(Qt::NoContextMenu);
  setFont(list.font());
  const QPalette& colours = list.palette();
  const QColor highlight = colours.color(QPalette::Highlight);
  setStyleSheet(QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3;"
                               " padding-left: %4px; selection-background-color: %3;"
                               " selection-color: %2; }")
                    .arg(highlight.darker(300).name(),
                         list.DefaultRowTrait().TextColour(colours).lighter(130).name(),
                         highlight.name())
                    .arg(kTextInset - 1 - kLineEditMargin));
  setGeometry(rect);
  setText(list.GetItemText(row, column));
  selectAll();
}

void CGridEditorText::End(bool accept) {
  if (ended_) return;
  // Hiding a focused editor moves the focus, which would end it a second time.
  ended_ = true;
  const bool hadFocus = hasFocus();
  std::optional<QString> typed;
  if (accept && isModified()) typed = text();
  hide();
  list_.OnEditorEnded(*this, typed, hadFocus);
  deleteLater();
}

bool CGridEditorText::event(QEvent* event) {
  // Tab is taken before the key handler sees it, to move the focus.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      End(true);
      return true;
    }
  }
  return QLineEdit::event(event);
}

void CGridEditorText::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      End(true);
      return;
    case Qt::Key_Escape:
      End(false);
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void CGridEditorText::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  End(true);
}

void CGridEditorText::wheelEvent(QWheelEvent* event) {
  event->accept();
  End(true);
}

}  // namespace vexlo
