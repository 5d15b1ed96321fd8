#include "MouseArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SkinArt.h"
#include "SkinTheme.h"

namespace vexlo::skin {
namespace {

enum Button { kLeft, kRight, kMiddle, kForward, kBack, kDpiUp, kDpiDown };

// A model in its own coordinates: x = 0 is the centre line, y = 0 the front tip.
struct Design {
  std::vector<QPointF> outline;   // right half, front to back; mirrored unless asymmetric
  std::vector<QPointF> leftHalf;  // left half, back to front, for asymmetric bodies
  bool angular = false;
  qreal split = 150;   // where the main buttons end on the centre line
  qreal channel = 14;  // half width of the groove between the main buttons
  QRectF wheel;
  QRectF dpi[2];
  bool roundDpi = false;
  qreal side[2] = {};  // centre heights of the forward and back buttons
  qreal sideLength = 44;
  enum class Trim { Logo, Ring, Honeycomb, Strips } trim = Trim::Logo;
};

Design MakeDesign(MouseModel model) {
  Design d;
  switch (model) {
    case MouseModel::Kobal:  // ergonomic, right-handed, with a flared thumb rest
      d.outline = {{0, 0},    {34, 4},   {64, 22},  {86, 70}, {93, 148},
                   {97, 228}, {88, 298}, {52, 348}, {0, 362}};
      d.leftHalf = {{-58, 348}, {-94, 300}, {-108, 238}, {-92, 182},
                    {-86, 122}, {-80, 66},  {-60, 20},   {-32, 4}};
      d.split = 152;
      d.wheel = {-8, 34, 16, 56};
      d.dpi[0] = {-7, 104, 14, 18};
      d.dpi[1] = {-7, 127, 14, 18};
      d.side[0] = 200;
      d.side[1] = 252;
      d.trim = Design::Trim::Logo;
      break;
    case MouseModel::Pirul:  // ambidextrous, a long symmetric egg
      d.outline = {{0, 0},    {32, 4},   {60, 20},  {81, 64}, {87, 140},
                   {91, 226}, {82, 298}, {48, 342}, {0, 352}};
      d.split = 148;
      d.channel = 13;
      d.wheel = {-8, 32, 16, 54};
      d.dpi[0] = {-6, 98, 12, 20};
      d.dpi[1] = {-6, 123, 12, 20};
      d.side[0] = 194;
      d.side[1] = 246;
      d.trim = Design::Trim::Ring;
      break;
    case MouseModel::Sorna:  // compact, for a fingertip grip, with a perforated shell
      d.outline = {{0, 0},    {30, 4},   {56, 18},  {76, 58}, {79, 126},
                   {88, 206}, {80, 272}, {46, 310}, {0, 318}};
      d.split = 128;
      d.channel = 12;
      d.wheel = {-7, 28, 14, 50};
      d.dpi[0] = {-7, 88, 14, 14};
      d.dpi[1] = {-7, 107, 14, 14};
      d.roundDpi = true;
      d.side[0] = 172;
      d.side[1] = 216;
      d.sideLength = 40;
      d.trim = Design::Trim::Honeycomb;
      break;
    case MouseModel::Zefta:  // angular, with light strips along the flanks
      d.outline = {{0, 0},     {40, 4},    {74, 26},  {86, 80},  {84, 140},
                   {100, 200}, {100, 262}, {80, 326}, {40, 360}, {0, 366}};
      d.leftHalf = {{-40, 360}, {-82, 326}, {-106, 258}, {-104, 200},
                    {-86, 140}, {-86, 80},  {-74, 26},   {-40, 4}};
      d.angular = true;
      d.split = 160;
      d.channel = 15;
      d.wheel = {-8, 36, 16, 56};
      d.dpi[0] = {-8, 106, 16, 18};
      d.dpi[1] = {-8, 130, 16, 18};
      d.side[0] = 210;
      d.side[1] = 262;
      d.sideLength = 46;
      d.trim = Design::Trim::Strips;
      break;
  }
  if (d.leftHalf.empty()) {
    for (auto it = d.outline.rbegin() + 1; it + 1 != d.outline.rend(); ++it) {
      d.leftHalf.emplace_back(-it->x(), it->y());
    }
  }
  return d;
}

// A smooth closed curve through the points (Catmull-Rom turned into cubic Bezier segments).
QPainterPath SmoothClosed(const std::vector<QPointF>& points) {
  QPainterPath path;
  const std::size_t n = points.size();
  path.moveTo(points[0]);
  for (std::size_t i = 0; i < n; ++i) {
    const QPointF& p0 = points[(i + n - 1) % n];
    const QPointF& p1 = points[i];
    const QPointF& p2 = points[(i + 1) % n];
    const QPointF& p3 = points[(i + 2) % n];
    path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
  }
  path.closeSubpath();
  return path;
}

QPainterPath Body(const Design& d) {
  std::vector<QPointF> points = d.outline;
  points.insert(points.end(), d.leftHalf.begin(), d.leftHalf.end());
  if (!d.angular) return SmoothClosed(points);
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points.begin(), points.end())));
  path.closeSubpath();
  return path;
}

// The left or right main button: the body in front of a gently curved split line, beside the
// centre groove.
QPainterPath MainButton(const Design& d, const QPainterPath& body, bool right) {
  const qreal s = right ? 1 : -1;
  QPainterPath region;
  region.moveTo(s * d.channel, -20);
  region.lineTo(s * 200, -20);
  region.lineTo(s * 200, d.split + 14);
  region.quadTo(s * 60, d.split + 6, s * d.channel, d.split);
  region.closeSubpath();
  return body.intersected(region);
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
  return RoundedRect(rect, radius);
}

// Leftmost point of the body at height y.
qreal LeftEdge(const QPainterPath& body, qreal y) {
  qreal x = -140;
  while (x < 0 && !body.contains(QPointF(x, y))) x += 0.5;
  return x;
}

QPainterPath SideButton(const Design& d, const QPainterPath& body, qreal y) {
  const qreal top = LeftEdge(body, y - d.sideLength / 2);
  const qreal bottom = LeftEdge(body, y + d.sideLength / 2);
  const qreal angle = std::atan2(bottom - top, d.sideLength) * 180.0 / M_PI;
  QTransform place;
  place.translate((top + bottom) / 2 + 4, y);
  place.rotate(-angle);
  return place.map(Rounded(QRectF(-7, -d.sideLength / 2, 14, d.sideLength), 7));
}

struct Parts {
  QPainterPath body;
  std::array<QPainterPath, kMouseButtons> buttons;
};

Parts MakeParts(const Design& d) {
  Parts parts;
  parts.body = Body(d);
  parts.buttons[kLeft] = MainButton(d, parts.body, false);
  parts.buttons[kRight] = MainButton(d, parts.body, true);
  parts.buttons[kMiddle] = Rounded(d.wheel, d.wheel.width() / 2);
  parts.buttons[kForward] = SideButton(d, parts.body, d.side[0]);
  parts.buttons[kBack] = SideButton(d, parts.body, d.side[1]);
  for (int i = 0; i < 2; ++i) {
    QPainterPath dpi;
    if (d.roundDpi) {
      dpi.addEllipse(d.dpi[i]);
    } else {
      dpi = Rounded(d.dpi[i], 4);
    }
    parts.buttons[kDpiUp + i] = dpi;
  }
  return parts;
}

QColor Alpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

void DrawShadow(QPainter& painter, const QRectF& bounds) {
  const QPointF centre(bounds.center().x(), bounds.center().y() + 14);
  QRadialGradient shadow(centre, bounds.height() * 0.62);
  shadow.setColorAt(0, QColor(0, 0, 0, 150));
  shadow.setColorAt(0.7, QColor(0, 0, 0, 60));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  painter.save();
  painter.translate(centre);
  painter.scale(0.62, 1.0);
  painter.translate(-centre);
  painter.setPen(Qt::NoPen);
  painter.setBrush(shadow);
  painter.drawEllipse(centre, bounds.height() * 0.62, bounds.height() * 0.62);
  painter.restore();
}

void DrawShell(QPainter& painter, const Parts& parts) {
  const QRectF b = parts.body.boundingRect();
  QLinearGradient shell(b.topLeft(), b.topRight());
  shell.setColorAt(0, QColor(0x1A, 0x20, 0x29));
  shell.setColorAt(0.45, QColor(0x2B, 0x33, 0x3F));
  shell.setColorAt(1, QColor(0x14, 0x19, 0x20));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shell);
  painter.drawPath(parts.body);
  QRadialGradient sheen(QPointF(b.center().x() - b.width() * 0.15, b.top() + b.height() * 0.62),
                        b.width() * 0.55);
  sheen.setColorAt(0, QColor(255, 255, 255, 26));
  sheen.setColorAt(1, QColor(255, 255, 255, 0));
  painter.setBrush(sheen);
  painter.drawPath(parts.body);
}

void DrawButtonFace(QPainter& painter, const QPainterPath& shape) {
  const QRectF b = shape.boundingRect();
  QLinearGradient face(b.topLeft(), b.bottomLeft());
  face.setColorAt(0, QColor(0x36, 0x3F, 0x4C));
  face.setColorAt(1, QColor(0x22, 0x29, 0x33));
  painter.setPen(Qt::NoPen);
  painter.setBrush(face);
  painter.drawPath(shape);
}

void DrawSeam(QPainter& painter, const QPainterPath& shape) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x06, 0x08, 0x0B), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(shape);
  painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
  painter.drawPath(shape.translated(0, 1));
}

void DrawWheel(QPainter& painter, const QRectF& wheel) {
  QLinearGradient rubber(wheel.topLeft(), wheel.topRight());
  rubber.setColorAt(0, QColor(0x0B, 0x0E, 0x12));
  rubber.setColorAt(0.5, QColor(0x2A, 0x30, 0x39));
  rubber.setColorAt(1, QColor(0x0B, 0x0E, 0x12));
  painter.setPen(QPen(QColor(0x05, 0x07, 0x09), 1.5));
  painter.setBrush(rubber);
  painter.drawRoundedRect(wheel, wheel.width() / 2, wheel.width() / 2);
  painter.setPen(QPen(QColor(0x45, 0x4E, 0x5B), 1.2, Qt::SolidLine, Qt::RoundCap));
  for (qreal y = wheel.top() + 7; y < wheel.bottom() - 5; y += 5) {
    painter.drawLine(QPointF(wheel.left() + 4, y), QPointF(wheel.right() - 4, y));
  }
}

void DrawLit(QPainter& painter, const QPainterPath& shape) {
  const QRectF b = shape.boundingRect();
  QLinearGradient lit(b.topLeft(), b.bottomLeft());
  lit.setColorAt(0, Alpha(QColor(0x4C, 0xA2, 0xFF), 215));
  lit.setColorAt(1, Alpha(kAccentDeep, 170));
  painter.setPen(Qt::NoPen);
  painter.setBrush(lit);
  painter.drawPath(shape);
  QRadialGradient shine(QPointF(b.center().x(), b.top() + b.height() * 0.3), b.width() * 0.8);
  shine.setColorAt(0, QColor(255, 255, 255, 60));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  painter.setBrush(shine);
  painter.drawPath(shape);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kAccentSoft, 1.4));
  painter.drawPath(shape);
}

// The model's light and texture on the palm.
void DrawTrim(QPainter& painter, const Design& d, const QPainterPath& body) {
  const qreal rear = d.outline.back().y();
  const QPointF logo(0, rear * 0.76);
  DrawGlow(painter, logo, 30, 30, Alpha(kAccent, 110));
  switch (d.trim) {
    case Design::Trim::Logo:
      break;
    case Design::Trim::Ring:
      painter.setPen(QPen(Alpha(kAccent, 200), 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(logo, 20, 20);
      break;
    case Design::Trim::Honeycomb: {
      painter.save();
      painter.setClipPath(body);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0x07, 0x09, 0x0C));
      const qreal r = 6.5;
      for (int row = 0; row < 7; ++row) {
        // Odd rows sit half a cell over, so each row is symmetric about the centre line.
        for (int twice = -16; twice <= 16; ++twice) {
          if ((twice % 2 != 0) != (row % 2 == 1)) continue;
          const QPointF c(twice * r * 0.95, d.split + 58 + row * r * 1.65);
          if (std::abs(c.x()) < 26 && c.y() > logo.y() - 30 && c.y() < logo.y() + 26) continue;
          if (!body.contains(c + QPointF(0, 10)) || !body.contains(c - QPointF(0, 10))) continue;
          QPolygonF hex;
          for (int k = 0; k < 6; ++k) {
            const qreal a = (60.0 * k + 30) * M_PI / 180.0;
            hex << c + QPointF(std::cos(a) * r * 0.72, std::sin(a) * r * 0.72);
          }
          painter.drawPolygon(hex);
        }
      }
      painter.restore();
      break;
    }
    case Design::Trim::Strips: {
      painter.setPen(QPen(kAccent, 2.5, Qt::SolidLine, Qt::RoundCap));
      for (const qreal s : {-1.0, 1.0}) {
        QPainterPath strip;
        strip.moveTo(s * 66, 214);
        strip.lineTo(s * 70, 268);
        strip.lineTo(s * 52, 318);
        painter.drawPath(strip);
      }
      break;
    }
  }
  // The emblem: two chevrons.
  QPainterPath emblem;
  emblem.moveTo(logo + QPointF(-9, -3));
  emblem.lineTo(logo + QPointF(0, -10));
  emblem.lineTo(logo + QPointF(9, -3));
  emblem.moveTo(logo + QPointF(-9, 5));
  emblem.lineTo(logo + QPointF(0, -2));
  emblem.lineTo(logo + QPointF(9, 5));
  painter.setPen(QPen(kAccentSoft, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(emblem);
}

// A callout from a numbered badge at the stage's edge to the button.
void DrawCallout(QPainter& painter, const QPointF& badge, const QPointF& anchor, int number) {
  const qreal toward = anchor.x() < badge.x() ? -1 : 1;
  QPainterPath line;
  line.moveTo(badge + QPointF(toward * 12, 0));
  line.lineTo(QPointF(anchor.x() - toward * 14, badge.y()));
  line.lineTo(anchor);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 0, 0, 150), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(line);
  painter.setPen(QPen(QColor(0x6F, 0x8B, 0xAA), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(line);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kAccentSoft);
  painter.drawEllipse(anchor, 2.6, 2.6);
  DrawBadge(painter, badge, number, false);
}

// Spreads badge heights so that neighbours keep a minimum distance.
void Spread(std::vector<std::pair<qreal, int>>& badges, qreal gap) {
  std::sort(badges.begin(), badges.end());
  for (std::size_t i = 1; i < badges.size(); ++i) {
    badges[i].first = std::max(badges[i].first, badges[i - 1].first + gap);
  }
}

}  // namespace

void DrawMouseStage(QPainter& painter, const QRect& stage) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF centre = QRectF(stage).center();
  DrawGlow(painter, centre, stage.width() * 0.6, stage.width() * 0.6,
           QColor(0x17, 0x31, 0x52, 210));
  // Two faint rings with ticks, like a turntable the mouse stands on.
  painter.setBrush(Qt::NoBrush);
  for (const qreal radius : {150.0, 176.0}) {
    painter.setPen(QPen(Alpha(kAccent, radius < 160 ? 46 : 26), 1));
    painter.drawEllipse(centre, radius, radius);
  }
  painter.setPen(QPen(Alpha(kAccent, 60), 1.2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 72; ++i) {
    const qreal a = i * 5.0 * M_PI / 180.0;
    const qreal inner = i % 6 == 0 ? 158 : 162;
    const QPointF direction(std::cos(a), std::sin(a));
    painter.drawLine(centre + direction * inner, centre + direction * 168.0);
  }
  painter.restore();
}

std::array<QRect, kMouseButtons> DrawMouse(QPainter& painter, MouseModel model, const QRect& stage,
                                           bool highlighted) {
  const Design d = MakeDesign(model);
  const Parts parts = MakeParts(d);
  const QRectF bounds = parts.body.boundingRect();
  // Centred across the stage, a little above its middle to leave room for the floor.
  const QPointF origin(stage.center().x() + 0.5,
                       QRectF(stage).center().y() - bounds.height() / 2 - 4);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(origin);
  DrawShadow(painter, bounds);
  DrawShell(painter, parts);
  DrawButtonFace(painter, parts.buttons[kLeft]);
  DrawButtonFace(painter, parts.buttons[kRight]);
  DrawSeam(painter, parts.buttons[kLeft]);
  DrawSeam(painter, parts.buttons[kRight]);
  DrawTrim(painter, d, parts.body);
  for (const int side : {kForward, kBack}) {
    DrawButtonFace(painter, parts.buttons[side]);
    DrawSeam(painter, parts.buttons[side]);
  }
  for (const int dpi : {kDpiUp, kDpiDown}) {
    DrawButtonFace(painter, parts.buttons[dpi]);
    DrawSeam(painter, parts.buttons[dpi]);
  }
  DrawWheel(painter, d.wheel);
  if (highlighted) {
    for (const QPainterPath& button : parts.buttons) DrawLit(painter, button);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x4A, 0x56, 0x66), 1.2));
  painter.drawPath(parts.body);
  painter.restore();

  std::array<QRect, kMouseButtons> rects;
  for (int i = 0; i < kMouseButtons; ++i) {
    rects[i] =
        parts.buttons[i].boundingRect().translated(origin).toAlignedRect().adjusted(-2, -2, 2, 2);
  }

  // Callouts: the main, forward and back buttons on the left, the others on the right.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const auto anchor = [&](int button) {
    const QRectF b = parts.buttons[button].boundingRect().translated(origin);
    if (button == kLeft) return QPointF(b.left() + b.width() * 0.45, b.top() + b.height() * 0.45);
    if (button == kRight) return QPointF(b.left() + b.width() * 0.55, b.top() + b.height() * 0.45);
    return b.center();
  };
  std::vector<std::pair<qreal, int>> left = {
      {anchor(kLeft).y(), kLeft}, {anchor(kForward).y(), kForward}, {anchor(kBack).y(), kBack}};
  std::vector<std::pair<qreal, int>> right = {{anchor(kRight).y(), kRight},
                                              {anchor(kMiddle).y() - 16, kMiddle},
                                              {anchor(kDpiUp).y(), kDpiUp},
                                              {anchor(kDpiDown).y() + 8, kDpiDown}};
  Spread(left, 34);
  Spread(right, 34);
  for (const auto& [y, button] : left) {
    DrawCallout(painter, QPointF(stage.left() + 22, y), anchor(button), button + 1);
  }
  for (const auto& [y, button] : right) {
    DrawCallout(painter, QPointF(stage.right() - 22, y), anchor(button), button + 1);
  }
  painter.restore();
  return rects;
}

}  // namespace vexlo::skin
