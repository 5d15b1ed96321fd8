#pragma once

#include <QImage>

#include <filesystem>
#include <string>

class QWidget;

namespace vexlo::test {

// A picture whose every pixel tells where it is and which picture it belongs to:
// red = x, green = y (both modulo 256), blue = tag. A control showing the wrong picture or the
// wrong part of it shows other numbers.
QImage PatternImage(int width, int height, int tag);

// Saves the picture as PNG (alpha kept); fails the test when it cannot.
void SavePng(const QImage& image, const std::filesystem::path& file);

// The widget as the user sees it, at one device pixel per pixel.
QImage Grab(QWidget& widget);

}  // namespace vexlo::test
