#include "grid/CGridListCtrlEx.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

#include "grid/CGridEditorText.h"
#include "grid/CGridListHeader.h"

namespace vexlo {
namespace {

constexpr int kImageRole = Qt::UserRole;
constexpr int kCellPaddingLeft = 4;
constexpr int kCellPaddingRight = 3;
constexpr int kImageGap = 4;
constexpr int kRowPadding = 4;

// Gives every row the grid's row height; the grid paints the rows itself.
class RowHeightDelegate final : public QStyledItemDelegate {
 public:
  RowHeightDelegate(QObject* parent, const int& height)
      : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {0, height_};
  }

 private:
  const int& height_;
};

}  // namespace

CGridListCtrlEx::CGridListCtrlEx(QWidget* parent)
    : QTreeWidget(parent), rowTrait_(std::make_unique<CGridRowTraitText>()) {
  header_ = new CGridListHeader(*this);
  setHeader(header_);
  setColumnCount(0);
  setRootIsDecorated(false);
  setIndentation(0);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setItemDelegate(new RowHeightDelegate(this, rowHeight_));
  UpdateRowHeight();
  StyleScrollBar();
  // A column that changes its width would leave an editor over the wrong place.
  connect(header_, &QHeaderView::sectionResized, this, [this] { EndActiveEdit(true); });
}

CGridListCtrlEx::~CGridListCtrlEx() {
  // The editor goes with the list and reports nothing.
  delete editor_;
}

void CGridListCtrlEx::SetCellMargin(double factor) {
  cellMargin_ = factor;
  UpdateRowHeight();
}

void CGridListCtrlEx::UpdateRowHeight() {
  rowHeight_ =
      static_cast<int>(std::lround(QFontMetricsF(font()).height() * cellMargin_)) + kRowPadding;
  emit itemDelegate()->sizeHintChanged(QModelIndex());
}

void CGridListCtrlEx::SetDefaultRowTrait(std::unique_ptr<CGridRowTraitText> trait) {
  rowTrait_ = std::move(trait);
  StyleScrollBar();
  viewport()->update();
}

int CGridListCtrlEx::InsertHiddenLabelColumn() {
  auto trait = std::make_unique<CGridColumnTrait>();
  trait->visible = false;
  trait->resizable = false;
  return InsertColumnTrait(0, {}, Qt::AlignLeft, 0, std::move(trait));
}

int CGridListCtrlEx::InsertColumnTrait(int position, const QString& title, Qt::Alignment format,
                                       int width, std::unique_ptr<CGridColumnTrait> trait) {
  const int column = GetColumnCount();
  if (position != column || GetItemCount() > 0) return -1;
  setColumnCount(column + 1);
  const Qt::Alignment align = format & Qt::AlignHorizontal_Mask;
  headerItem()->setText(column, title);
  headerItem()->setTextAlignment(column, align);
  setColumnWidth(column, width);
  if (!trait) trait = std::make_unique<CGridColumnTrait>();
  header_->setSectionHidden(column, !trait->visible);
  header_->setSectionResizeMode(column,
                                trait->resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
  columns_.push_back(Column{std::move(trait), align});
  return column;
}

void CGridListCtrlEx::SetImageList(std::vector<QPixmap> images) {
  images_ = std::move(images);
  viewport()->update();
}

int CGridListCtrlEx::InsertItem(int row) {
  row = std::clamp(row, 0, GetItemCount());
  if (editor_ && row <= editor_->Row()) EndActiveEdit(false);
  insertTopLevelItem(row, new QTreeWidgetItem());
  return row;
}

bool CGridListCtrlEx::DeleteItem(int row) {
  if (row < 0 || row >= GetItemCount()) return false;
  EndActiveEdit(false);
  delete takeTopLevelItem(row);
  return true;
}

void CGridListCtrlEx::DeleteAllItems() {
  EndActiveEdit(false);
  clear();
}

bool CGridListCtrlEx::IsCell(int row, int column) const {
  return row >= 0 && row < GetItemCount() && column >= 0 && column < GetColumnCount();
}

bool CGridListCtrlEx::SetItemText(int row, int column, const QString& text) {
  if (!IsCell(row, column)) return false;
  topLevelItem(row)->setText(column, text);
  return true;
}

QString CGridListCtrlEx::GetItemText(int row, int column) const {
  return IsCell(row, column) ? topLevelItem(row)->text(column) : QString();
}

bool CGridListCtrlEx::SetCellImage(int row, int column, int image) {
  if (!IsCell(row, column)) return false;
  topLevelItem(row)->setData(column, kImageRole, image);
  return true;
}

int CGridListCtrlEx::GetCellImage(int row, int column) const {
  if (!IsCell(row, column)) return -1;
  const QVariant image = topLevelItem(row)->data(column, kImageRole);
  return image.isValid() ? image.toInt() : -1;
}

int CGridListCtrlEx::GetSelectedRow() const {
  for (int row = 0; row < GetItemCount(); ++row) {
    if (topLevelItem(row)->isSelected()) return row;
  }
  return -1;
}

void CGridListCtrlEx::SelectRow(int row) {
  if (row < 0 || row >= GetItemCount()) {
    clearSelection();
    return;
  }
  setCurrentItem(topLevelItem(row), FirstVisibleColumn(),
                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int CGridListCtrlEx::FirstVisibleColumn() const {
  // The keyboard cannot move a current cell that lies in a hidden column.
  const int column = header_->logicalIndexAt(0);
  return column >= 0 ? column : 0;
}

int CGridListCtrlEx::GetFocusRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void CGridListCtrlEx::EnsureVisible(int row) {
  if (row >= 0 && row < GetItemCount()) scrollToItem(topLevelItem(row));
}

bool CGridListCtrlEx::MoveSelectedRows(int dropIndex) {
  const int count = GetItemCount();
  const int drop = dropIndex < 0 ? count : std::min(dropIndex, count);
  std::vector<QTreeWidgetItem*> selected;
  std::vector<QTreeWidgetItem*> others;
  int firstSelected = -1;
  for (int row = 0; row < count; ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item->isSelected()) {
      if (selected.empty()) firstSelected = row;
      selected.push_back(item);
    } else {
      others.push_back(item);
    }
  }
  if (selected.empty() || (selected.size() == 1 && firstSelected == drop)) return false;
  // The selected rows go, as one block, after every unselected row above the drop index, and
  // after the drop row itself when they came from above it.
  std::size_t place = 0;
  for (int row = 0; row < count; ++row) {
    if (!topLevelItem(row)->isSelected() && (row < drop || (row == drop && firstSelected < drop))) {
      ++place;
    }
  }
  std::vector<QTreeWidgetItem*> order(others.begin(), others.begin() + static_cast<long>(place));
  order.insert(order.end(), selected.begin(), selected.end());
  order.insert(order.end(), others.begin() + static_cast<long>(place), others.end());
  bool changed = false;
  for (int row = 0; row < count; ++row) {
    changed = changed || order[static_cast<std::size_t>(row)] != topLevelItem(row);
  }
  if (!changed) return false;

  EndActiveEdit(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  while (topLevelItemCount() > 0) takeTopLevelItem(0);
  QList<QTreeWidgetItem*> items(order.begin(), order.end());
  insertTopLevelItems(0, items);
  for (QTreeWidgetItem* item : selected) item->setSelected(true);
  setCurrentItem(selected.front(), FirstVisibleColumn(), QItemSelectionModel::NoUpdate);
  QApplication::restoreOverrideCursor();
  return true;
}

std::pair<int, int> CGridListCtrlEx::CellAt(QPoint point) const {
  const QModelIndex index = indexAt(point);
  return {index.isValid() ? index.row() : -1, columnAt(point.x())};
}

QRect CGridListCtrlEx::CellRect(int row, int column) const {
  if (!IsCell(row, column)) return {};
  const QRect rowRect = visualItemRect(topLevelItem(row));
  return QRect(columnViewportPosition(column), rowRect.y(), columnWidth(column), rowRect.height());
}

bool CGridListCtrlEx::EditCell(int row, int column) {
  if (!IsCell(row, column)) return false;
  EndActiveEdit(true);
  scrollToItem(topLevelItem(row));
  CGridColumnTrait& trait = *columns_[static_cast<std::size_t>(column)].trait;
  // The editor covers the cell's text, its picture stays in view, and the text does not move.
  const QRect text = TextRect(*topLevelItem(row), column, CellRect(row, column));
  editor_ = trait.CreateEditor(
      *this, row, column, text.adjusted(-CGridEditorText::kTextInset, 0, kCellPaddingRight, 0));
  if (!editor_) return false;
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  return true;
}

void CGridListCtrlEx::EndActiveEdit(bool accept) {
  if (editor_) editor_->End(accept);
}

void CGridListCtrlEx::OnEditorEnded(CGridEditorText& editor, const std::optional<QString>& text,
                                    bool hadFocus) {
  const int row = editor.Row();
  const int column = editor.Column();
  if (text) SetItemText(row, column, *text);
  if (hadFocus) setFocus(Qt::OtherFocusReason);
  if (editor_ == &editor) editor_ = nullptr;
  if (editEnd_) editEnd_(row, column);
}

bool CGridListCtrlEx::AskContextMenu(ContextMenuMode mode, QPoint position) {
  return contextMenu_ && contextMenu_(mode, position);
}

void CGridListCtrlEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const QTreeWidgetItem* item = itemFromIndex(index);
  if (!item) return;
  const QRect row(-header_->offset(), option.rect.y(), header_->length(), option.rect.height());
  const bool selected = item->isSelected();
  const bool active = hasFocus() || (editor_ && editor_->hasFocus());
  rowTrait_->PaintRow(*painter, row, palette(), selected, active);
  const QColor text = rowTrait_->CellTextColour(palette(), selected);
  for (int column = 0; column < GetColumnCount(); ++column) {
    if (isColumnHidden(column)) continue;
    const QRect cell(columnViewportPosition(column), row.y(), columnWidth(column), row.height());
    PaintCell(*painter, cell, *item, column, text);
  }
}

const QPixmap* CGridListCtrlEx::CellPicture(const QTreeWidgetItem& item, int column) const {
  const QVariant image = item.data(column, kImageRole);
  if (!image.isValid() || image.toInt() < 0 || image.toInt() >= static_cast<int>(images_.size())) {
    return nullptr;
  }
  return &images_[static_cast<std::size_t>(image.toInt())];
}

QRect CGridListCtrlEx::TextRect(const QTreeWidgetItem& item, int column, const QRect& cell) const {
  QRect text = cell.adjusted(kCellPaddingLeft, 0, -kCellPaddingRight, 0);
  if (const QPixmap* picture = CellPicture(item, column)) {
    text.setLeft(text.left() + picture->deviceIndependentSize().toSize().width() + kImageGap);
  }
  return text;
}

void CGridListCtrlEx::PaintCell(QPainter& painter, const QRect& cell, const QTreeWidgetItem& item,
                                int column, const QColor& text) const {
  if (const QPixmap* picture = CellPicture(item, column)) {
    const int height = picture->deviceIndependentSize().toSize().height();
    painter.drawPixmap(cell.x() + kCellPaddingLeft, cell.y() + (cell.height() - height) / 2,
                       *picture);
  }
  const QRect space = TextRect(item, column, cell);
  painter.setPen(text);
  painter.setFont(font());
  const Qt::Alignment align = columns_[static_cast<std::size_t>(column)].align;
  painter.drawText(space, static_cast<int>(align | Qt::AlignVCenter),
                   fontMetrics().elidedText(item.text(column), Qt::ElideRight, space.width()));
}

void CGridListCtrlEx::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) clickPress_ = event->position().toPoint();
  QTreeWidget::mousePressEvent(event);
}

void CGridListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a click of its own.
  if (event->button() == Qt::LeftButton) clickPress_ = event->position().toPoint();
  QTreeWidget::mouseDoubleClickEvent(event);
}

void CGridListCtrlEx::mouseReleaseEvent(QMouseEvent* event) {
  QTreeWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !clickPress_) return;
  const QPoint point = event->position().toPoint();
  const bool click = (point - *clickPress_).manhattanLength() < QApplication::startDragDistance();
  clickPress_.reset();
  if (!click || !cellClick_) return;
  const auto [row, column] = CellAt(point);
  cellClick_(row, column);
}

void CGridListCtrlEx::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  const bool onRow = CellAt(event->pos()).first >= 0;
  AskContextMenu(onRow ? kCellMenu : kEmptyAreaMenu, event->globalPos());
}

void CGridListCtrlEx::wheelEvent(QWheelEvent* event) {
  EndActiveEdit(true);
  QTreeWidget::wheelEvent(event);
}

void CGridListCtrlEx::scrollContentsBy(int dx, int dy) {
  // The editor would stay where the cell was.
  EndActiveEdit(true);
  QTreeWidget::scrollContentsBy(dx, dy);
}

void CGridListCtrlEx::changeEvent(QEvent* event) {
  QTreeWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateRowHeight();
  if (event->type() == QEvent::PaletteChange) StyleScrollBar();
}

void CGridListCtrlEx::StyleScrollBar() {
  // A slim bar in the rows' own colours rather than the desktop's.
  verticalScrollBar()->setStyleSheet(
      QStringLiteral("QScrollBar:vertical { background: %1; width: 10px; margin: 0; }"
                     "QScrollBar::handle:vertical { background: %2; border-radius: 3px;"
                     " min-height: 24px; margin: 2px; }"
                     "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                     "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
          .arg(rowTrait_->BackColour(palette()).name(),
               palette().color(QPalette::Mid).lighter(170).name()));
}

void CGridListCtrlEx::paintEvent(QPaintEvent* event) {
  // Beside and below the rows the list shows the rows' background.
  {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), rowTrait_->BackColour(palette()));
  }
  QTreeWidget::paintEvent(event);
}

}  // namespace vexlo
