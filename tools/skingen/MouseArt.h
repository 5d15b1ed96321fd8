#pragma once

#include <QRect>

#include <array>

class QPainter;

namespace vexlo::skin {

// The four device models. Kobal and Zefta are the models of device kind 1, Pirul and Sorna of
// kind 2.
enum class MouseModel { Kobal, Pirul, Sorna, Zefta };

inline constexpr int kMouseButtons = 7;

// Draws the top view of the model's mouse, centred in `stage`, with numbered callouts for its
// seven buttons (0 left, 1 right, 2 middle, 3 forward, 4 back, 5 and 6 the sensitivity
// buttons). Highlighted, every button is lit. Returns the rectangle around each button: the part
// of the picture that shows it lit while its assignment button is pointed at. The rectangles do
// not overlap.
std::array<QRect, kMouseButtons> DrawMouse(QPainter& painter, MouseModel model, const QRect& stage,
                                           bool highlighted);

// The soft spotlight and floor under the mouse, drawn by the pages that show it.
void DrawMouseStage(QPainter& painter, const QRect& stage);

}  // namespace vexlo::skin
