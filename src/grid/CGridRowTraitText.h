#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QPalette;

namespace vexlo {

// How a grid draws a row behind its cells: a background colour and a text colour (unset, that is
// invalid, means the list's palette) and a flat selection in the palette's highlight.
class CGridRowTraitText {
 public:
  virtual ~CGridRowTraitText() = default;

  QColor textColour;
  QColor backColour;

  QColor TextColour(const QPalette& palette) const;
  QColor BackColour(const QPalette& palette) const;

  // Paints the row's background and, when selected, its selection; `active` is whether the list
  // has the focus.
  virtual void PaintRow(QPainter& painter, const QRect& row, const QPalette& palette, bool selected,
                        bool active) const;
  // The colour of the row's text.
  virtual QColor CellTextColour(const QPalette& palette, bool selected) const;
};

}  // namespace vexlo
