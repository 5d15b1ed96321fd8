#pragma once

#include <Qt>

class QPainter;
class QRect;
class QPalette;

namespace vexlo {

// The skinned controls show keyboard focus only when it came from the keyboard (Tab, a
// shortcut), never after a click, and show it as a thin rounded ring in the highlight colour.
bool IsKeyboardFocusReason(Qt::FocusReason reason);
void DrawFocusRing(QPainter& painter, const QRect& rect, const QPalette& palette);

}  // namespace vexlo
