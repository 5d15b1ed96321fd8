#pragma once

#include <QPixmap>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "grid/CGridColumnTrait.h"
#include "grid/CGridRowTraitText.h"

namespace vexlo {

class CGridEditorText;
class CGridListHeader;

// An editable report-style list: rows of cells with text and an image, per-column behaviour
// (column traits), per-row drawing (row traits), a cell-click hook that reports row and column,
// one in-place text editor at a time, and moves of the selected rows.
//
// Columns are numbered as a list view numbers its sub-items: a hidden label column 0 keeps
// every visible column a sub-item column, so the first visible column is 1.
class CGridListCtrlEx final : public QTreeWidget {
 public:
  enum ContextMenuMode { kHeaderMenu = 0, kCellMenu = 1, kEmptyAreaMenu = 2 };

  // Called for every left click with the cell under the pointer; row -1 below the last row or on
  // no row, column -1 right of the last column.
  using CellClickHook = std::function<void(int row, int column)>;
  // Called after every end of an in-place edit, accepted or not, after the cell took the text.
  using EditEndHook = std::function<void(int row, int column)>;
  // Asked before any context menu, at a global position. The control has no cell menus of its
  // own; for the header it returns whether the header may show its own (it has none either).
  using ContextMenuHook = std::function<bool(ContextMenuMode mode, QPoint position)>;

  explicit CGridListCtrlEx(QWidget* parent = nullptr);
  ~CGridListCtrlEx() override;

  // Rows as tall as the font times the factor; the header keeps the font's own height.
  void SetCellMargin(double factor);
  void SetDefaultRowTrait(std::unique_ptr<CGridRowTraitText> trait);
  const CGridRowTraitText& DefaultRowTrait() const { return *rowTrait_; }

  // Columns are added in order, before any row. Column 0 without a title, hidden: returns 0, or
  // -1 when there are columns already.
  int InsertHiddenLabelColumn();
  // Adds the column at `position`, which must be the next one, with its title, text alignment
  // and width in pixels, and the trait (a plain text column when none). Returns the column's
  // index, or -1 for another position or a list that has rows.
  int InsertColumnTrait(int position, const QString& title, Qt::Alignment format, int width,
                        std::unique_ptr<CGridColumnTrait> trait = nullptr);
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }

  // The images that cells show by index.
  void SetImageList(std::vector<QPixmap> images);

  // Rows. Inserting a row at or above the edited one, deleting and moving rows end an open
  // in-place edit first, cancelled (its end hook runs while the rows are still as it saw them).
  // Returns the new row's index.
  int InsertItem(int row);
  int GetItemCount() const { return topLevelItemCount(); }
  bool DeleteItem(int row);
  void DeleteAllItems();
  bool SetItemText(int row, int column, const QString& text);
  QString GetItemText(int row, int column) const;
  // Image index -1: none.
  bool SetCellImage(int row, int column, int image);
  int GetCellImage(int row, int column) const;

  // The first selected row, or -1.
  int GetSelectedRow() const;
  // Selects only this row and gives it the focus mark (none: clears the selection).
  void SelectRow(int row);
  // The row with the focus mark, or -1.
  int GetFocusRow() const;
  void EnsureVisible(int row);

  // Moves the selected rows, in their order, to the drop index (-1: the end): one selected row
  // at k goes to 0, k - 1, k + 1 or the end for those drop indexes. The rows stay selected.
  // Returns false when nothing moved (no selection, or one selected row dropped on itself).
  bool MoveSelectedRows(int dropIndex);

  // Opens the column trait's in-place editor over the cell, focused. False for a cell that does
  // not exist or a column without an editor.
  bool EditCell(int row, int column);
  CGridEditorText* ActiveEditor() const { return editor_; }

  void SetCellClickHook(CellClickHook hook) { cellClick_ = std::move(hook); }
  void SetEditEndHook(EditEndHook hook) { editEnd_ = std::move(hook); }
  void SetContextMenuHook(ContextMenuHook hook) { contextMenu_ = std::move(hook); }

  // The cell's rectangle in viewport coordinates.
  QRect CellRect(int row, int column) const;

  // For the editor and the header.
  void OnEditorEnded(CGridEditorText& editor, const std::optional<QString>& text, bool hadFocus);
  bool AskContextMenu(ContextMenuMode mode, QPoint position);

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Column {
    std::unique_ptr<CGridColumnTrait> trait;
    Qt::Alignment align;
  };

  bool IsCell(int row, int column) const;
  // The cell at a point of the viewport: row -1 when no row is there, column -1 when no column.
  std::pair<int, int> CellAt(QPoint point) const;
  void UpdateRowHeight();
  int FirstVisibleColumn() const;
  void StyleScrollBar();
  void EndActiveEdit(bool accept);
  const QPixmap* CellPicture(const QTreeWidgetItem& item, int column) const;
  // Where the cell's text goes: the cell less its padding and picture.
  QRect TextRect(const QTreeWidgetItem& item, int column, const QRect& cell) const;
  void PaintCell(QPainter& painter, const QRect& cell, const QTreeWidgetItem& item, int column,
                 const QColor& text) const;

  CGridListHeader* header_;
  std::unique_ptr<CGridRowTraitText> rowTrait_;
  std::vector<Column> columns_;
  std::vector<QPixmap> images_;
  double cellMargin_ = 1.0;
  int rowHeight_ = 0;  // from the font and the cell margin
  CGridEditorText* editor_ = nullptr;
  std::optional<QPoint> clickPress_;  // where a left press began that may become a click
  CellClickHook cellClick_;
  EditEndHook editEnd_;
  ContextMenuHook contextMenu_;
};

}  // namespace vexlo
