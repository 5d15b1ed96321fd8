#pragma once

#include "grid/CGridRowTraitText.h"

namespace vexlo {

// Rows drawn in the style of the desktop theme's lists: the selection is a rounded, softly
// shaded band in the highlight colour with a brighter edge, dimmed while the list has no focus,
// and the text keeps its colour over it.
class CGridRowTraitXP final : public CGridRowTraitText {
 public:
  void PaintRow(QPainter& painter, const QRect& row, const QPalette& palette, bool selected,
                bool active) const override;
  QColor CellTextColour(const QPalette& palette, bool selected) const override;
};

}  // namespace vexlo
