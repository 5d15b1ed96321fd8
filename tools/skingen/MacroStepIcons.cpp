#include "MacroStepIcons.h"

#include <QImage>
#include <QPainter>

namespace vexlo::skin {
namespace {

constexpr int kSize = 16;
constexpr int kCount = 6;

void DrawIcon(QPainter& painter, int icon) {
  const QColor line(0x8D, 0xA2, 0xB8);
  const QColor accent(0x4F, 0xB3, 0xFF);
  painter.setPen(QPen(icon == 3 ? accent : line, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  switch (icon) {
    case 0:  // mouse
      painter.drawRoundedRect(QRectF(4.5, 1.5, 7, 13), 3.5, 3.5);
      painter.drawLine(QPointF(8, 2), QPointF(8, 6));
      break;
    case 1:  // keyboard
      painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 8), 1.5, 1.5);
      for (int x = 4; x <= 12; x += 3) painter.drawPoint(QPointF(x, 7));
      painter.drawLine(QPointF(5, 10), QPointF(11, 10));
      break;
    case 2:  // pause
      painter.drawEllipse(QRectF(2, 2, 12, 12));
      painter.drawPolyline(QPolygonF({QPointF(8, 4.5), QPointF(8, 8), QPointF(10.5, 9.5)}));
      break;
    case 3:    // press: an arrow down onto a line
    case 4: {  // release: an arrow up from it
      const bool press = icon == 3;
      const double tip = press ? 12 : 2.5;
      const double tail = press ? 2.5 : 12;
      const double wing = press ? -4 : 4;
      painter.drawLine(QPointF(8, tail), QPointF(8, tip));
      painter.drawPolyline(
          QPolygonF({QPointF(4, tip + wing), QPointF(8, tip), QPointF(12, tip + wing)}));
      painter.drawLine(QPointF(3, press ? 14.5 : 1.5), QPointF(13, press ? 14.5 : 1.5));
      break;
    }
    default:  // milliseconds: an hourglass
      painter.drawPolygon(
          QPolygonF({QPointF(4, 2), QPointF(12, 2), QPointF(4, 14), QPointF(12, 14)}));
      break;
  }
}

}  // namespace

void WriteMacroStepIcons(const std::filesystem::path& folder) {
  QImage strip(kSize * kCount, kSize, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int icon = 0; icon < kCount; ++icon) {
    painter.save();
    painter.translate(icon * kSize, 0);
    DrawIcon(painter, icon);
    painter.restore();
  }
  painter.end();
  strip.save(QString::fromStdString((folder / "MacroSteps.png").string()));
}

}  // namespace vexlo::skin
