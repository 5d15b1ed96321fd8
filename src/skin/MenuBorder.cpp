#include "skin/MenuBorder.h"

#include <QPainter>

#include "skin/ColorRef.h"

namespace vexlo {
namespace {

// User-interface thread only, like the menus.
std::uint32_t outerColour = kDefaultMenuOuterBorder;
std::uint32_t innerColour = kDefaultMenuInnerBorder;

void Frame(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
  painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

}  // namespace

void SetMenuBorderColours(std::uint32_t outer, std::uint32_t inner) {
  outerColour = outer;
  innerColour = inner;
}

std::uint32_t MenuOuterBorderColour() {
  return outerColour;
}

std::uint32_t MenuInnerBorderColour() {
  return innerColour;
}

void PaintMenuBorder(QPainter& painter, const QRect& window) {
  Frame(painter, window, ColorFromRef(outerColour));
  Frame(painter, window.adjusted(1, 1, -1, -1), ColorFromRef(innerColour));
  Frame(painter, window.adjusted(2, 2, -2, -2), ColorFromRef(innerColour));
}

}  // namespace vexlo
