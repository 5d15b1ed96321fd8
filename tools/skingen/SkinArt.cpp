#include "SkinArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

#include "SkinTheme.h"

namespace vexlo::skin {
namespace {

constexpr qreal kRadius = 8;

QRectF Inner(const QRect& rect) {
  return QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
}

void FillRounded(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& fill,
                 const QColor& border) {
  painter.setPen(border.isValid() ? QPen(border, 1) : Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(rect, radius, radius);
}

QLinearGradient Vertical(const QRectF& rect, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  return gradient;
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

// A raised button face: gradient fill, hairline border and a faint top light.
void DrawFace(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom,
              const QColor& border) {
  const QRectF face = Inner(rect);
  FillRounded(painter, face, kRadius, Vertical(face, top, bottom), border);
  painter.setPen(QPen(QColor(255, 255, 255, 18), 1));
  painter.drawLine(QPointF(face.left() + kRadius, face.top() + 1),
                   QPointF(face.right() - kRadius, face.top() + 1));
}

void DrawButton(QPainter& painter, const QRect& rect, bool highlighted) {
  if (highlighted) {
    DrawFace(painter, rect, kHotTop, kHotBottom, kAccent);
  } else {
    DrawFace(painter, rect, kButtonTop, kButtonBottom, kButtonBorder);
  }
}

void DrawPrimary(QPainter& painter, const QRect& rect, bool highlighted) {
  if (highlighted) {
    DrawFace(painter, rect, QColor(0x46, 0x9A, 0xF5), QColor(0x2A, 0x7C, 0xDC), kAccentSoft);
  } else {
    DrawFace(painter, rect, QColor(0x2A, 0x7A, 0xD8), QColor(0x1D, 0x63, 0xBB),
             QColor(0x3B, 0x8C, 0xEB));
  }
}

void DrawChevron(QPainter& painter, const QRectF& zone, const QColor& colour) {
  const QPointF c = zone.center();
  QPainterPath chevron;
  chevron.moveTo(c.x() - 5, c.y() - 2.5);
  chevron.lineTo(c.x(), c.y() + 2.5);
  chevron.lineTo(c.x() + 5, c.y() - 2.5);
  painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(chevron);
}

void DrawDropdown(QPainter& painter, const QRect& rect, bool highlighted) {
  const QRectF face = Inner(rect);
  FillRounded(painter, face, kRadius, Vertical(face, QColor(0x0C, 0x1A, 0x2A), kField),
              highlighted ? kAccent : kFieldBorder);
  const qreal zone = std::min<qreal>(36, rect.height());
  const QRectF arrow(face.right() - zone, face.top(), zone, face.height());
  painter.setPen(QPen(highlighted ? WithAlpha(kAccent, 120) : kLine, 1));
  painter.drawLine(QPointF(arrow.left(), face.top() + 8), QPointF(arrow.left(), face.bottom() - 8));
  DrawChevron(painter, arrow, highlighted ? kIconHot : kIcon);
}

void DrawModelCard(QPainter& painter, const QRect& rect, bool highlighted) {
  const QRectF face = Inner(rect);
  if (highlighted) {
    FillRounded(painter, face, kRadius,
                Vertical(face, QColor(0x1B, 0x3D, 0x66), QColor(0x14, 0x2E, 0x4F)), kAccent);
    // A lit bar along the bottom edge marks the chosen model.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawRoundedRect(QRectF(face.center().x() - 14, face.bottom() - 2.5, 28, 2.5), 1.25,
                            1.25);
  } else {
    FillRounded(painter, face, kRadius, kCard, kCardBorder);
  }
}

void DrawIndicator(QPainter& painter, Look look, const QRect& rect, bool highlighted) {
  const bool small = look == Look::SmallRadio;
  // A small ring leaves a gap of six pixels before a caption 18 pixels in.
  const qreal size = small ? 12 : 18;
  const QRectF box(rect.left() + (small ? 0.5 : 8.5), rect.center().y() - size / 2 + 0.5, size,
                   size);
  if (!small && highlighted) {
    // The whole row lights up faintly.
    FillRounded(painter, Inner(rect), 6, QColor(255, 255, 255, 10), QColor());
  }
  const QColor ring = highlighted ? kAccent : QColor(0x3A, 0x55, 0x73);
  if (look == Look::CheckBox) {
    FillRounded(painter, box, 4, highlighted ? QBrush(kAccent) : QBrush(kField), ring);
    if (highlighted) {
      QPainterPath tick;
      tick.moveTo(box.left() + 4.5, box.center().y() + 0.5);
      tick.lineTo(box.left() + 7.8, box.bottom() - 5);
      tick.lineTo(box.right() - 4, box.top() + 5);
      painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.setBrush(Qt::NoBrush);
      painter.drawPath(tick);
    }
    return;
  }
  painter.setPen(QPen(ring, small ? 1.4 : 1.6));
  painter.setBrush(kField);
  painter.drawEllipse(box);
  if (highlighted) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    const qreal dot = small ? 6 : 8;
    painter.drawEllipse(QRectF(box.center().x() - dot / 2, box.center().y() - dot / 2, dot, dot));
  }
}

void DrawRecord(QPainter& painter, const QRect& rect, bool highlighted) {
  const QRectF face = Inner(rect);
  if (highlighted) {
    FillRounded(painter, face, face.height() / 2,
                Vertical(face, QColor(0x4A, 0x1A, 0x22), QColor(0x35, 0x12, 0x19)), kRecord);
  } else {
    FillRounded(painter, face, face.height() / 2, Vertical(face, kButtonTop, kButtonBottom),
                kButtonBorder);
  }
  const QPointF centre(face.left() + face.height() / 2 + 4, face.center().y());
  if (highlighted) DrawGlow(painter, centre, 16, 16, WithAlpha(kRecord, 150));
  painter.setPen(QPen(kRecord, 2));
  painter.setBrush(highlighted ? QBrush(kRecord) : QBrush(Qt::NoBrush));
  painter.drawEllipse(centre, 7, 7);
}

void DrawTrack(QPainter& painter, const QRect& channel, bool highlighted) {
  const QRectF bar(channel.left(), channel.center().y() - 2.5, channel.width(), 6);
  if (highlighted) {
    QLinearGradient fill(bar.topLeft(), bar.topRight());
    fill.setColorAt(0, kAccentDeep);
    fill.setColorAt(1, kAccent);
    FillRounded(painter, bar, 3, fill, QColor());
  } else {
    FillRounded(painter, bar, 3, QColor(0x1D, 0x30, 0x46), QColor());
  }
}

void DrawKeyCap(QPainter& painter, const QRect& face) {
  const QRectF outer = QRectF(face).adjusted(-10, -8, 10, 14);
  QLinearGradient side(outer.topLeft(), outer.bottomLeft());
  side.setColorAt(0, QColor(0xDD, 0xE4, 0xEC));
  side.setColorAt(1, QColor(0x8C, 0x99, 0xA8));
  painter.setPen(QPen(QColor(0x05, 0x0B, 0x12), 1));
  painter.setBrush(side);
  painter.drawRoundedRect(outer, 12, 12);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(face).adjusted(-4, -3, 4, 3), 8, 8);
}

}  // namespace

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

void DrawLogoMark(QPainter& painter, const QRectF& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF c = rect.center();
  const qreal r = std::min(rect.width(), rect.height()) / 2;
  QPolygonF hexagon;
  for (int k = 0; k < 6; ++k) {
    const qreal a = (60.0 * k - 90) * M_PI / 180.0;
    hexagon << c + QPointF(std::cos(a) * r, std::sin(a) * r);
  }
  QLinearGradient fill(rect.topLeft(), rect.bottomRight());
  fill.setColorAt(0, QColor(0x4C, 0xA2, 0xFF));
  fill.setColorAt(1, kAccentDeep);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawPolygon(hexagon);
  QPainterPath chevrons;
  const qreal u = r / 10;
  for (const qreal dy : {-2.5, 3.5}) {
    chevrons.moveTo(c + QPointF(-5 * u, (dy + 2.5) * u));
    chevrons.lineTo(c + QPointF(0, (dy - 2.5) * u));
    chevrons.lineTo(c + QPointF(5 * u, (dy + 2.5) * u));
  }
  painter.setPen(QPen(Qt::white, 1.9 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(chevrons);
  painter.restore();
}

void DrawWordmark(QPainter& painter, qreal x, qreal top, int size, bool centred) {
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing);
  const auto line = [&](const QString& text, const QFont& font, const QColor& colour, qreal y) {
    const QFontMetricsF metrics(font);
    // Letter spacing trails the last letter; it does not count when centring.
    const qreal width = metrics.horizontalAdvance(text) - font.letterSpacing();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(centred ? x - width / 2 : x, y + metrics.ascent()), text);
    return metrics.height();
  };
  QFont name(kBrandFace);
  name.setPixelSize(size);
  name.setWeight(QFont::Bold);
  name.setLetterSpacing(QFont::AbsoluteSpacing, size * 0.16);
  QFont model(kBrandFace);
  model.setPixelSize(std::max(8, size * 9 / 17));
  model.setWeight(QFont::DemiBold);
  model.setLetterSpacing(QFont::AbsoluteSpacing, size * 0.1);
  const qreal height = line(QStringLiteral("HALVEC"), name, QColor(0xF2, 0xF6, 0xFB), top);
  line(QStringLiteral("QXA7702 GAMING MOUSE"), model, QColor(0x6F, 0x8B, 0xAA), top + height - 4);
  painter.restore();
}

void DrawGlow(QPainter& painter, const QPointF& centre, qreal radiusX, qreal radiusY,
              const QColor& colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(centre);
  painter.scale(1.0, radiusY / radiusX);
  QRadialGradient glow(QPointF(0, 0), radiusX);
  glow.setColorAt(0, colour);
  glow.setColorAt(1, WithAlpha(colour, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(glow);
  painter.drawEllipse(QPointF(0, 0), radiusX, radiusX);
  painter.restore();
}

void DrawWindowBackground(QPainter& painter, const QRect& window) {
  painter.fillRect(window, kWindow);
  painter.setPen(QPen(kLine, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(window).adjusted(0.5, 0.5, -0.5, -0.5));
}

void DrawCard(QPainter& painter, const QRect& rect) {
  const QRectF card = Inner(rect);
  FillRounded(painter, card, 12, Vertical(card, QColor(0x10, 0x1E, 0x2E), kCard), kCardBorder);
}

void DrawSeparator(QPainter& painter, int left, int right, int y) {
  painter.setPen(QPen(kLine, 1));
  painter.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
}

void DrawIconTile(QPainter& painter, const QRect& rect, Icon icon) {
  const QRectF tile = Inner(rect);
  QLinearGradient fill(tile.topLeft(), tile.bottomRight());
  fill.setColorAt(0, QColor(0x18, 0x36, 0x5C));
  fill.setColorAt(1, kTile);
  FillRounded(painter, tile, 10, fill, QColor(0x24, 0x4A, 0x75));
  DrawIcon(painter, icon, QRectF(rect).adjusted(9, 9, -9, -9), kAccentSoft);
}

void DrawLook(QPainter& painter, Look look, const QRect& rect, bool highlighted, Icon icon) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  switch (look) {
    case Look::None:
      break;
    case Look::Button:
      DrawButton(painter, rect, highlighted);
      break;
    case Look::PrimaryButton:
      DrawPrimary(painter, rect, highlighted);
      break;
    case Look::IconButton:
      DrawButton(painter, rect, highlighted);
      break;
    case Look::TitleButton:
    case Look::CloseButton:
      if (highlighted) {
        FillRounded(painter, Inner(rect), 8,
                    look == Look::CloseButton ? kDanger : QColor(0x1E, 0x33, 0x4C), QColor());
      }
      break;
    case Look::TopTab:
      if (highlighted) {
        FillRounded(painter, Inner(rect), rect.height() / 2.0, WithAlpha(kAccent, 46),
                    WithAlpha(kAccent, 170));
      }
      break;
    case Look::SubTab:
      if (highlighted) {
        QLinearGradient glow(QPointF(0, rect.bottom()), QPointF(0, rect.top()));
        glow.setColorAt(0, WithAlpha(kAccent, 40));
        glow.setColorAt(1, WithAlpha(kAccent, 0));
        painter.fillRect(rect, glow);
        FillRounded(painter, QRectF(rect.left() + 10, rect.bottom() - 2, rect.width() - 20, 3), 1.5,
                    kAccent, QColor());
      }
      break;
    case Look::ModelCard:
      DrawModelCard(painter, rect, highlighted);
      break;
    case Look::Dropdown:
      DrawDropdown(painter, rect, highlighted);
      break;
    case Look::Field:
      FillRounded(painter, QRectF(rect).adjusted(-2.5, -2.5, 2.5, 2.5), 7, kField, kFieldBorder);
      break;
    case Look::CheckBox:
    case Look::Radio:
    case Look::SmallRadio:
      DrawIndicator(painter, look, rect, highlighted);
      break;
    case Look::Record:
      DrawRecord(painter, rect, highlighted);
      break;
    case Look::Track:
      DrawTrack(painter, rect, highlighted);
      break;
    case Look::List:
      FillRounded(painter, QRectF(rect).adjusted(-1.5, -1.5, 1.5, 1.5), 4, Qt::black, kFieldBorder);
      break;
    case Look::KeyCap:
      DrawKeyCap(painter, rect);
      break;
  }
  if (icon != Icon::None) {
    const qreal side = std::min<qreal>(20, std::min(rect.width(), rect.height()) - 12);
    const QRectF box(rect.center().x() + 0.5 - side / 2, rect.center().y() + 0.5 - side / 2, side,
                     side);
    DrawIcon(painter, icon, box, highlighted ? kIconHot : kIcon);
  }
  painter.restore();
}

void DrawBadge(QPainter& painter, const QPointF& centre, int number, bool highlighted) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(highlighted ? kAccentSoft : kAccent, 1.5));
  painter.setBrush(highlighted ? kAccentDeep : QColor(0x0E, 0x22, 0x3A));
  painter.drawEllipse(centre, 11, 11);
  QFont font(kBrandFace);
  font.setPixelSize(12);
  font.setWeight(QFont::Bold);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(centre.x() - 11, centre.y() - 11, 22, 22), Qt::AlignCenter,
                   QString::number(number));
  painter.restore();
}

void DrawTicks(QPainter& painter, const QRect& channel, int steps) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal y = channel.bottom() + 6;
  for (int i = 0; i <= steps; ++i) {
    const qreal x = channel.left() + channel.width() * static_cast<qreal>(i) / steps;
    const bool major = i == 0 || i == steps || (steps % 2 == 0 && i == steps / 2);
    painter.setPen(
        QPen(major ? kMuted : QColor(0x2E, 0x42, 0x58), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x, y), QPointF(x, y + (major ? 6 : 4)));
  }
  painter.restore();
}

}  // namespace vexlo::skin
