#pragma once

#include <QHeaderView>

namespace vexlo {

class CGridListCtrlEx;

// The grid's column header: flat sections in the palette's button colours, no sorting, no
// dragging, and no context menu of its own (the list's context-menu hook is asked instead).
class CGridListHeader final : public QHeaderView {
 public:
  explicit CGridListHeader(CGridListCtrlEx& list);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  CGridListCtrlEx& list_;
};

}  // namespace vexlo
