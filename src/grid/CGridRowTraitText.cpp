#include "grid/CGridRowTraitText.h"

#include <QPainter>
#include <QPalette>

namespace vexlo {

QColor CGridRowTraitText::TextColour(const QPalette& palette) const {
  return textColour.isValid() ? textColour : palette.color(QPalette::Text);
}

QColor CGridRowTraitText::BackColour(const QPalette& palette) const {
  return backColour.isValid() ? backColour : palette.color(QPalette::Base);
}

void CGridRowTraitText::PaintRow(QPainter& painter, const QRect& row, const QPalette& palette,
                                 bool selected, bool active) const {
  painter.fillRect(row, BackColour(palette));
  if (selected) {
    painter.fillRect(
        row, palette.color(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
  }
}

QColor CGridRowTraitText::CellTextColour(const QPalette& palette, bool selected) const {
  return selected ? palette.color(QPalette::HighlightedText) : TextColour(palette);
}

}  // namespace vexlo
