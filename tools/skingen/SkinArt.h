#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRect>

class QPainter;

// Drawing primitives of the default skin. Every control look comes in two pictures: normal (the
// window's Main image) and highlighted (its Status2 image), which the controls show on hover,
// press and check.
namespace vexlo::skin {

enum class Look {
  None,           // nothing drawn: labels, pictures, channels, masks
  Button,         // text button
  PrimaryButton,  // the button that confirms a dialog
  IconButton,     // square tool button with an icon
  TitleButton,    // caption-bar button (about, minimise)
  CloseButton,    // caption-bar close button, red when highlighted
  TopTab,         // main section switch in the caption bar
  SubTab,         // page tab, underlined when highlighted
  ModelCard,      // device-model choice with a two-line caption
  Dropdown,       // button that opens a menu, with a chevron at the right
  Field,          // frame around an edit (the edit fills the rectangle itself)
  CheckBox,       // box at the left, caption after it
  Radio,          // ring at the left, caption after it
  SmallRadio,     // ring inside the first 18 pixels, for tight captions
  Record,         // the macro record toggle
  Track,          // slider channel: empty when normal, filled when highlighted
  List,           // frame around a list control
  KeyCap,         // key-cap frame around a label with a white face
};

enum class Icon {
  None,
  Info,
  Minimize,
  Close,
  Plus,
  Minus,
  Trash,
  More,
  Folder,
  ToTop,
  Up,
  Down,
  ToBottom,
  Remove,
  Clear,
  RotateLeft,
  RotateRight,
  Keyboard,
  Fire,
  Macro,
  DoubleClick,
  Speed,
  Pulse,
  Wheel,
  Light,
  Profile,
  Ruler,
  Record,
  Sensitivity,
  Mouse,
  Slow,
  Fast
};

// The window's plain background with a one-pixel outline.
void DrawWindowBackground(QPainter& painter, const QRect& window);

// A rounded panel that groups related controls.
void DrawCard(QPainter& painter, const QRect& rect);

// A horizontal hairline.
void DrawSeparator(QPainter& painter, int left, int right, int y);

// The rounded tile with an accent icon that heads a card.
void DrawIconTile(QPainter& painter, const QRect& rect, Icon icon);

void DrawLook(QPainter& painter, Look look, const QRect& rect, bool highlighted, Icon icon);

// Strokes an icon centred in the rectangle (24 x 24 design grid scaled to fit).
void DrawIcon(QPainter& painter, Icon icon, const QRectF& rect, const QColor& colour);

// A soft glow: the colour (with its alpha) at the centre, fading out towards an ellipse of the
// given radii.
void DrawGlow(QPainter& painter, const QPointF& centre, qreal radiusX, qreal radiusY,
              const QColor& colour);

// A numbered round badge.
void DrawBadge(QPainter& painter, const QPointF& centre, int number, bool highlighted);

// Tick marks under a slider channel, one per step.
void DrawTicks(QPainter& painter, const QRect& channel, int steps);

QPainterPath RoundedRect(const QRectF& rect, qreal radius);

// The product's mark (a hexagon with two chevrons) and its lettering "HALVEC" with the model
// line "QXA7702 GAMING MOUSE" under it, `size` pixels high, starting at x or centred on it.
void DrawLogoMark(QPainter& painter, const QRectF& rect);
void DrawWordmark(QPainter& painter, qreal x, qreal top, int size, bool centred);

}  // namespace vexlo::skin
