#include "grid/CGridListHeader.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "grid/CGridListCtrlEx.h"

namespace vexlo {

namespace {
constexpr int kTextPadding = 8;
}

CGridListHeader::CGridListHeader(CGridListCtrlEx& list)
    : QHeaderView(Qt::Horizontal, &list), list_(list) {
  setSectionsClickable(false);
  setSectionsMovable(false);
  setHighlightSections(false);
  setStretchLastSection(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CGridListHeader::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  const QRect area = viewport()->rect();
  painter.fillRect(area, palette().color(QPalette::Button));
  for (int visual = 0; visual < count(); ++visual) {
    const int logical = logicalIndex(visual);
    if (isSectionHidden(logical)) continue;
    paintSection(&painter,
                 QRect(sectionViewportPosition(logical), 0, sectionSize(logical), area.height()),
                 logical);
  }
  painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1),
                   palette().color(QPalette::Mid));
}

void CGridListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const QString title = model()->headerData(logicalIndex, orientation()).toString();
  const Qt::Alignment align = static_cast<Qt::Alignment>(
      model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt());
  painter->setPen(palette().color(QPalette::ButtonText));
  painter->setFont(font());
  const QRect text = rect.adjusted(kTextPadding, 0, -kTextPadding, -1);
  painter->drawText(text, static_cast<int>(align | Qt::AlignVCenter),
                    fontMetrics().elidedText(title, Qt::ElideRight, text.width()));
  // A short divider at the section's right edge.
  const int inset = rect.height() / 4;
  painter->fillRect(QRect(rect.right(), rect.top() + inset, 1, rect.height() - 2 * inset),
                    palette().color(QPalette::Mid));
}

void CGridListHeader::contextMenuEvent(QContextMenuEvent* event) {
  // The header has no menu of its own; the owner may show one from the hook.
  event->accept();
  list_.AskContextMenu(CGridListCtrlEx::kHeaderMenu, event->globalPos());
}

}  // namespace vexlo
