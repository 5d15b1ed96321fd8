#include "SkinTestImages.h"

#include <QFile>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace vexlo::test {

QImage PatternImage(int width, int height, int tag) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, tag));
  }
  return image;
}

void SavePng(const QImage& image, const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  ASSERT_TRUE(image.save(QFile::decodeName(file.c_str()), "PNG")) << file;
}

QImage Grab(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace vexlo::test
