#pragma once

#include <QLineEdit>

namespace vexlo {

class CGridListCtrlEx;

// The in-place editor of one grid cell: a line edit over the cell with the list's font and the
// cell's text, all of it selected. It ends exactly once: accepted on Enter, Tab, a wheel turn or
// the loss of focus, cancelled on Escape. Ending hides it, reports to the list (with the new text
// only when accepted and typed into) and deletes it later.
class CGridEditorText final : public QLineEdit {
 public:
  // From the editor's left edge to its text: border and padding.
  static constexpr int kTextInset = 4;

  // `rect` in the list's viewport coordinates.
  CGridEditorText(CGridListCtrlEx& list, int row, int column, const QRect& rect);

  int Row() const { return row_; }
  int Column() const { return column_; }
  void End(bool accept);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  CGridListCtrlEx& list_;
  int row_;
  int column_;
  bool ended_ = false;
};

}  // namespace vexlo
