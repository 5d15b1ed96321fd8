#include "skin/ColorMatrix.h"

#include <QPainter>

#include <gtest/gtest.h>

#include "skin/SkinImage.h"

namespace vexlo {
namespace {

TEST(ColorMatrixTest, TintMatrixHasTheDocumentedEntries) {
  // ARGB 0x80FF4000: t = 128 / 255.
  const ColorMatrix tint = ColorMatrix::Tint(0x80FF4000);
  const float t = 128.0f / 255.0f;
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(tint.m[i][i], 1.0f - t);
  EXPECT_FLOAT_EQ(tint.m[3][3], 1.0f);
  EXPECT_FLOAT_EQ(tint.m[4][0], t * 255.0f / 255.0f);
  EXPECT_FLOAT_EQ(tint.m[4][1], t * 64.0f / 255.0f);
  EXPECT_FLOAT_EQ(tint.m[4][2], 0.0f);
  EXPECT_FLOAT_EQ(tint.m[4][3], 0.0f);
  EXPECT_FLOAT_EQ(tint.m[4][4], 1.0f);
  EXPECT_FLOAT_EQ(tint.m[0][1], 0.0f);
  EXPECT_FLOAT_EQ(tint.m[3][0], 0.0f);
}

struct PixelCase {
  std::uint32_t tint;
  QRgb in;
  QRgb out;
};

class TintPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(TintPixelTest, MixesTowardsTheTintKeepingAlpha) {
  EXPECT_EQ(ColorMatrix::Tint(GetParam().tint).Apply(GetParam().in), GetParam().out);
}

// Worked by hand: channel' = round(255 x ((1 - t) x c / 255 + t x tint / 255)), t = a / 255.
INSTANTIATE_TEST_SUITE_P(
    Values, TintPixelTest,
    ::testing::Values(
        // t = 128/255: blue 255 x 127/255 = 127, red 255 x 128/255 = 128.
        PixelCase{0x80FF0000, qRgba(0, 0, 255, 255), qRgba(128, 0, 127, 255)},
        // Alpha 0 leaves every pixel as it is.
        PixelCase{0x00FF00FF, qRgba(12, 34, 56, 78), qRgba(12, 34, 56, 78)},
        // Alpha 255 gives the flat tint colour with the pixel's own alpha.
        PixelCase{0xFF0A141E, qRgba(200, 100, 50, 77), qRgba(10, 20, 30, 77)},
        // t = 0x30/255 = 48/255: 200 x 207/255 = 162.35; 200 x 207/255 + 48 = 210.35.
        PixelCase{0x3000FFFF, qRgba(200, 200, 200, 255), qRgba(162, 210, 210, 255)}));

TEST(ColorMatrixTest, GeneralMatrixSwapsAndTranslates) {
  ColorMatrix matrix;  // red and blue swapped, green halved and raised by a quarter
  matrix.m[0][2] = 1.0f;
  matrix.m[2][0] = 1.0f;
  matrix.m[1][1] = 0.5f;
  matrix.m[4][1] = 0.25f;
  matrix.m[3][3] = 1.0f;
  // green: 255 x (100/255 x 0.5 + 0.25) = 50 + 63.75 = 113.75 -> 114.
  EXPECT_EQ(matrix.Apply(qRgba(200, 100, 50, 255)), qRgba(50, 114, 200, 255));
  // Results beyond the range are clamped.
  matrix.m[4][0] = 2.0f;
  EXPECT_EQ(qRed(matrix.Apply(qRgba(200, 100, 50, 255))), 255);
}

TEST(ColorMatrixTest, BlendedDrawingGoesThroughTheMatrix) {
  QImage source(4, 4, QImage::Format_ARGB32);
  source.fill(qRgba(0, 0, 255, 255));
  source.setPixel(3, 3, qRgba(0, 0, 255, 0));  // transparent stays transparent
  GdiplusImage image;
  image.Assign(source);

  QImage canvas(4, 4, QImage::Format_ARGB32);
  canvas.fill(qRgb(0, 40, 0));
  QPainter painter(&canvas);
  const ColorMatrix tint = ColorMatrix::Tint(0x80FF0000);
  image.DrawBlended(painter, QRect(0, 0, 4, 4), QRect(0, 0, 4, 4), &tint);
  painter.end();

  EXPECT_EQ(canvas.pixel(0, 0), qRgb(128, 0, 127));
  EXPECT_EQ(canvas.pixel(3, 3), qRgb(0, 40, 0));
}

}  // namespace
}  // namespace vexlo
