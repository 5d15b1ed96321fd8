#pragma once

#include <cstdint>

class QPainter;
class QRect;

namespace vexlo {

// Every popup menu of the program wears a three-pixel border: one frame in the outer colour and
// two in the inner colour inside it. The colours are process-wide; each caller sets them before
// it shows its menu, and they keep the last values set. COLORREF values.
inline constexpr int kMenuBorderWidth = 3;
inline constexpr std::uint32_t kDefaultMenuOuterBorder = 0x979797;
inline constexpr std::uint32_t kDefaultMenuInnerBorder = 0xF2F2F2;

void SetMenuBorderColours(std::uint32_t outer, std::uint32_t inner);
std::uint32_t MenuOuterBorderColour();
std::uint32_t MenuInnerBorderColour();

// Paints the border along the edges of `window` (the menu window's rectangle).
void PaintMenuBorder(QPainter& painter, const QRect& window);

}  // namespace vexlo
