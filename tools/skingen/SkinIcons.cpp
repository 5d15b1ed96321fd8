#include <QPainter>
#include <QPainterPath>

#include "SkinArt.h"

namespace vexlo::skin {
namespace {

// Icons are drawn on a 24 x 24 grid with 1.8-unit round strokes, like a line icon font.
QPainterPath Lines(std::initializer_list<std::initializer_list<QPointF>> strokes) {
  QPainterPath path;
  for (const auto& stroke : strokes) {
    bool first = true;
    for (const QPointF& point : stroke) {
      if (first) {
        path.moveTo(point);
      } else {
        path.lineTo(point);
      }
      first = false;
    }
  }
  return path;
}

// Collects paths as separate sub-paths (operator+ would unite their areas and drop open strokes).
QPainterPath Join(std::initializer_list<QPainterPath> parts) {
  QPainterPath path;
  for (const QPainterPath& part : parts) path.addPath(part);
  return path;
}

QPainterPath Circle(QPointF centre, qreal radius) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  return path;
}

QPainterPath Rounded(QRectF rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QPainterPath Arrow(bool down, bool bar) {
  const qreal tip = down ? 19 : 5;
  const qreal tail = down ? 5 : 19;
  const qreal barY = down ? 20 : 4;
  const qreal head = down ? tip - 6 : tip + 6;
  QPainterPath path = Lines({{{12, tail}, {12, tip}}, {{6.5, head}, {12, tip}, {17.5, head}}});
  if (bar) {
    path.moveTo(5.5, barY);
    path.lineTo(18.5, barY);
  }
  return path;
}

QPainterPath Rotation(bool clockwise) {
  QPainterPath path;
  path.arcMoveTo(QRectF(4.5, 4.5, 15, 15), clockwise ? 120 : 60);
  path.arcTo(QRectF(4.5, 4.5, 15, 15), clockwise ? 120 : 60, clockwise ? -290 : 290);
  const QPointF end = path.currentPosition();
  const qreal side = clockwise ? -1 : 1;
  path.moveTo(end + QPointF(side * 4.5, -1.5));
  path.lineTo(end);
  path.lineTo(end + QPointF(side * 1.0, 4.5));
  return path;
}

struct Shape {
  QPainterPath stroked;
  QPainterPath filled;
};

Shape MakeIcon(Icon icon) {
  switch (icon) {
    case Icon::None:
      return {};
    case Icon::Info:
      return {Join({Circle({12, 12}, 9), Lines({{{12, 11}, {12, 16.5}}})}), Circle({12, 7.6}, 1.3)};
    case Icon::Minimize:
      return {Lines({{{6, 12.5}, {18, 12.5}}}), {}};
    case Icon::Close:
      return {Lines({{{7, 7}, {17, 17}}, {{17, 7}, {7, 17}}}), {}};
    case Icon::Plus:
      return {Lines({{{12, 5}, {12, 19}}, {{5, 12}, {19, 12}}}), {}};
    case Icon::Minus:
      return {Lines({{{5, 12}, {19, 12}}}), {}};
    case Icon::Trash:
      return {Lines({{{4.5, 7}, {19.5, 7}},
                     {{9.5, 7}, {9.5, 4.5}, {14.5, 4.5}, {14.5, 7}},
                     {{6.5, 7}, {7.5, 19.5}, {16.5, 19.5}, {17.5, 7}},
                     {{10.5, 10.5}, {10.5, 16}},
                     {{13.5, 10.5}, {13.5, 16}}}),
              {}};
    case Icon::More:
      return {{}, Join({Circle({5.5, 12}, 1.8), Circle({12, 12}, 1.8), Circle({18.5, 12}, 1.8)})};
    case Icon::Folder:
      return {Lines({{{3.5, 6.5},
                      {9.5, 6.5},
                      {11.5, 9},
                      {20.5, 9},
                      {20.5, 18.5},
                      {3.5, 18.5},
                      {3.5, 6.5}}}),
              {}};
    case Icon::ToTop:
      return {Arrow(false, true), {}};
    case Icon::Up:
      return {Arrow(false, false), {}};
    case Icon::Down:
      return {Arrow(true, false), {}};
    case Icon::ToBottom:
      return {Arrow(true, true), {}};
    case Icon::Remove:
      return {Join({Circle({12, 12}, 8.5), Lines({{{8, 12}, {16, 12}}})}), {}};
    case Icon::Clear:
      return {Lines({{{4, 6.5}, {16, 6.5}},
                     {{4, 11.5}, {13, 11.5}},
                     {{4, 16.5}, {9.5, 16.5}},
                     {{14.5, 14}, {20, 19.5}},
                     {{20, 14}, {14.5, 19.5}}}),
              {}};
    case Icon::RotateLeft:
      return {Rotation(false), {}};
    case Icon::RotateRight:
      return {Rotation(true), {}};
    case Icon::Keyboard:
      return {Join({Rounded({2.5, 6, 19, 12}, 2.5), Lines({{{7.5, 14.5}, {16.5, 14.5}}})}),
              Join({Circle({6.5, 9.5}, 0.9), Circle({9.5, 9.5}, 0.9), Circle({12.5, 9.5}, 0.9),
                    Circle({15.5, 9.5}, 0.9), Circle({18, 9.5}, 0.9), Circle({5.5, 14.5}, 0.9),
                    Circle({18.5, 14.5}, 0.9)})};
    case Icon::Fire:
      return {Join({Circle({12, 12}, 6.5), Lines({{{12, 2.5}, {12, 7}},
                                                  {{12, 17}, {12, 21.5}},
                                                  {{2.5, 12}, {7, 12}},
                                                  {{17, 12}, {21.5, 12}}})}),
              Circle({12, 12}, 1.6)};
    case Icon::Macro: {
      QPainterPath play;
      play.moveTo(15, 12.5);
      play.lineTo(21, 16.25);
      play.lineTo(15, 20);
      play.closeSubpath();
      return {
          Lines(
              {{{3.5, 6.5}, {17, 6.5}}, {{3.5, 11.5}, {12.5, 11.5}}, {{3.5, 16.5}, {10.5, 16.5}}}),
          play};
    }
    case Icon::DoubleClick:
      return {Lines({{{8, 7},
                      {8, 20},
                      {11.2, 16.8},
                      {13.6, 21.8},
                      {15.6, 20.9},
                      {13.3, 15.9},
                      {17.6, 15.9},
                      {8, 7}},
                     {{4.5, 4}, {6, 5.5}},
                     {{9, 2}, {9, 4}},
                     {{13.5, 4}, {12, 5.5}}}),
              {}};
    case Icon::Speed: {
      QPainterPath gauge;
      gauge.arcMoveTo(QRectF(3, 5, 18, 18), 200);
      gauge.arcTo(QRectF(3, 5, 18, 18), 200, -220);
      return {Join({gauge, Lines({{{12, 14}, {16.5, 9}}})}), Circle({12, 14}, 1.8)};
    }
    case Icon::Pulse:
      return {
          Lines({{{2, 13}, {6.5, 13}, {9, 6.5}, {12.5, 18.5}, {15.5, 9.5}, {17.5, 13}, {22, 13}}}),
          {}};
    case Icon::Wheel:
      return {Join({Rounded({6.5, 3, 11, 18}, 5.5), Lines({{{12, 6.5}, {12, 10}}})}), {}};
    case Icon::Light: {
      QPainterPath rays;
      for (int i = 0; i < 8; ++i) {
        QTransform turn;
        turn.translate(12, 12);
        turn.rotate(45.0 * i);
        rays.moveTo(turn.map(QPointF(0, -7)));
        rays.lineTo(turn.map(QPointF(0, -9.5)));
      }
      return {Join({Circle({12, 12}, 4), rays}), {}};
    }
    case Icon::Profile: {
      QPainterPath shoulders;
      shoulders.moveTo(4.5, 20);
      shoulders.cubicTo(5.5, 14.5, 18.5, 14.5, 19.5, 20);
      return {Join({Circle({12, 8.5}, 3.8), shoulders}), {}};
    }
    case Icon::Ruler: {
      QPainterPath wave;
      wave.moveTo(3, 17);
      wave.cubicTo(6, 13, 8, 21, 11, 17);
      wave.cubicTo(14, 13, 16, 21, 21, 16);
      return {Join({wave, Lines({{{3, 8}, {21, 8}}})}),
              Join({Circle({3, 8}, 1.6), Circle({21, 8}, 1.6)})};
    }
    case Icon::Record:
      return {{}, Circle({12, 12}, 6)};
    case Icon::Sensitivity:
      return {Join({Circle({12, 12}, 8), Circle({12, 12}, 4),
                    Lines({{{12, 1.5}, {12, 5}},
                           {{12, 19}, {12, 22.5}},
                           {{1.5, 12}, {5, 12}},
                           {{19, 12}, {22.5, 12}}})}),
              Circle({12, 12}, 1.3)};
    case Icon::Mouse:
      return {Join({Rounded({6.5, 3, 11, 18}, 5.5),
                    Lines({{{12, 3}, {12, 9.5}}, {{6.5, 9.5}, {17.5, 9.5}}})}),
              {}};
    case Icon::Slow:
      return {Lines({{{10, 7}, {15, 12}, {10, 17}}}), {}};
    case Icon::Fast:
      return {Lines({{{4, 7}, {9, 12}, {4, 17}},
                     {{10, 7}, {15, 12}, {10, 17}},
                     {{16, 7}, {21, 12}, {16, 17}}}),
              {}};
  }
  return {};
}

}  // namespace

void DrawIcon(QPainter& painter, Icon icon, const QRectF& rect, const QColor& colour) {
  const Shape shape = MakeIcon(icon);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(rect.topLeft());
  painter.scale(rect.width() / 24.0, rect.height() / 24.0);
  painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(shape.stroked);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPath(shape.filled);
  painter.restore();
}

}  // namespace vexlo::skin
