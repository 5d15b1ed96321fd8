#include "skin/DrawText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexlo {

int QtTextFlags(std::uint32_t format) {
  int flags = 0;
  if (format & dt::kCenter) {
    flags |= Qt::AlignHCenter;
  } else if (format & dt::kRight) {
    flags |= Qt::AlignRight;
  } else {
    flags |= Qt::AlignLeft;
  }
  if (format & dt::kSingleLine) {
    flags |= Qt::TextSingleLine;
    if (format & dt::kVCenter) {
      flags |= Qt::AlignVCenter;
    } else if (format & dt::kBottom) {
      flags |= Qt::AlignBottom;
    } else {
      flags |= Qt::AlignTop;
    }
  } else {
    flags |= Qt::AlignTop;
    if (format & dt::kWordBreak) flags |= Qt::TextWordWrap;
  }
  if (!(format & dt::kNoPrefix)) flags |= Qt::TextShowMnemonic;
  if (format & dt::kExpandTabs) flags |= Qt::TextExpandTabs;
  return flags;
}

QRect MeasureText(const QFontMetrics& metrics, const QRect& rect, const QString& text,
                  std::uint32_t format) {
  return metrics.boundingRect(rect, QtTextFlags(format), text);
}

void DrawText(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t format) {
  QString shown = text;
  if ((format & dt::kEndEllipsis) && (format & dt::kSingleLine)) {
    shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width(),
                                             QtTextFlags(format) & Qt::TextShowMnemonic);
  }
  painter.drawText(rect, QtTextFlags(format), shown);
}

QFont CreateSkinFont(int height, int weight, const QString& face) {
  QFont font(face);
  font.setStyleHint(QFont::SansSerif);
  if (height < 0) {
    font.setPixelSize(-height);
  } else if (height > 0) {
    // The cell height includes the internal leading; scale the em size down to fit it.
    font.setPixelSize(height);
    const int cell = QFontMetrics(font).height();
    if (cell > 0)
      font.setPixelSize(
          std::max(1, static_cast<int>(std::lround(height * static_cast<double>(height) / cell))));
  }
  font.setWeight(weight <= 0 ? QFont::Normal
                             : static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  return font;
}

}  // namespace vexlo
