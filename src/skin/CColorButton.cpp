#include "skin/CColorButton.h"

#include <QFocusEvent>
#include <QPainter>

#include "skin/ColorRef.h"
#include "skin/FocusRing.h"
#include "skin/SkinFile.h"

namespace vexlo {

CColorButton::CColorButton(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel is painted.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CColorButton::~CColorButton() = default;

void CColorButton::SetFillColour(std::uint32_t colorref) {
  fill_ = colorref;
  update();
}

void CColorButton::SetBorder(const BorderColours& colours, int width) {
  borders_ = colours;
  borderWidth_ = width;
  update();
}

void CColorButton::SetMark(MarkMode mode, std::uint32_t colorref) {
  markMode_ = mode;
  markColour_ = colorref;
  update();
}

int CColorButton::CurrentState() const {
  if (!isEnabled()) return kDisabled;
  if (isDown()) return kPressed;
  if (hover_) return kHover;
  return kNormal;
}

CColorButton::Mark CColorButton::MarkGeometry(QSize size, int borderWidth) {
  const double w = borderWidth;
  const double width = size.width();
  const double height = size.height();
  if (width < 2 * height) {
    // A corner mark at the bottom right, inside the border.
    const double x1 = width - w - 1;
    const double y1 = height - w - 1;
    const double innerWidth = width - 2 * w;
    const double innerHeight = height - 2 * w;
    return {
        QPolygonF({{x1, y1}, {x1 - innerWidth * 0.25 - 3, y1}, {x1, y1 - innerHeight * 0.25 - 3}}),
        QPolygonF({{x1 - 1, y1 - 1},
                   {x1 - 1 - innerWidth * 0.25, y1 - 1},
                   {x1 - 1, y1 - 1 - innerHeight * 0.25}})};
  }
  // A drop-down arrow at the right.
  const double x1 = width - height * 0.25;
  const double y1 = height * 0.25;
  return {
      QPolygonF({{x1, y1}, {x1 - height * 0.577, y1}, {x1 - height * 0.289, y1 + height * 0.5}}),
      QPolygonF({{x1 - 1, y1 + 1},
                 {x1 - height * 0.577 + 1, y1 + 1},
                 {x1 - height * 0.289, y1 + height * 0.5 - 1}})};
}

std::uint32_t CColorButton::MarkOutlineColour(std::uint32_t markColour) {
  std::uint32_t outline = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t channel = (markColour >> shift) & 0xFF;
    outline |= ((channel * 127 + 255 * 128) / 255) << shift;
  }
  return outline;
}

void CColorButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect item = rect();
  if (borderWidth_ > 0) {
    painter.fillRect(item, ColorFromRef(borders_[CurrentState()]));
    painter.fillRect(item.adjusted(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_),
                     ColorFromRef(fill_));
  } else {
    painter.fillRect(item, ColorFromRef(fill_));
  }
  if (markMode_ != MarkMode::None) {
    const std::uint32_t markColour =
        markMode_ == MarkMode::InverseFill ? InverseRef(fill_) : markColour_;
    const Mark mark = MarkGeometry(item.size(), borderWidth_);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The mark's coordinates name pixel centres; the painter's name pixel corners.
    painter.translate(0.5, 0.5);
    painter.setBrush(ColorFromRef(MarkOutlineColour(markColour)));
    painter.drawPolygon(mark.outline);
    painter.setBrush(ColorFromRef(markColour));
    painter.drawPolygon(mark.mark);
    painter.restore();
  }
  if (hasFocus() && keyboardFocus_) DrawFocusRing(painter, item, palette());
}

void CColorButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void CColorButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void CColorButton::focusInEvent(QFocusEvent* event) {
  keyboardFocus_ = IsKeyboardFocusReason(event->reason());
  QAbstractButton::focusInEvent(event);
}

void SetupColorButton(const std::filesystem::path& skinIni, std::string_view key,
                      CColorButton& button, std::uint32_t fill,
                      const CColorButton::BorderColours& borders, int borderWidth,
                      const QString& toolTip, CColorButton::MarkMode markMode,
                      std::uint32_t markColour) {
  PlaceControl(skinIni, key, button);
  button.SetFillColour(fill);
  button.SetBorder(borders, borderWidth);
  button.SetMark(markMode, markColour);
  button.setToolTip(toolTip);
}

}  // namespace vexlo
