#include "grid/CGridRowTraitXP.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPalette>

namespace vexlo {

void CGridRowTraitXP::PaintRow(QPainter& painter, const QRect& row, const QPalette& palette,
                               bool selected, bool active) const {
  painter.fillRect(row, BackColour(palette));
  if (!selected) return;
  const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
  const QColor base = active ? highlight : highlight.darker(170);
  QLinearGradient shade(row.topLeft(), row.bottomLeft());
  shade.setColorAt(0, base.lighter(118));
  shade.setColorAt(1, base);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(base.lighter(active ? 150 : 125), 1));
  painter.setBrush(shade);
  painter.drawRoundedRect(QRectF(row).adjusted(1.5, 0.5, -1.5, -0.5), 3, 3);
  painter.restore();
}

QColor CGridRowTraitXP::CellTextColour(const QPalette& palette, bool selected) const {
  return selected ? TextColour(palette).lighter(130) : TextColour(palette);
}

}  // namespace vexlo
