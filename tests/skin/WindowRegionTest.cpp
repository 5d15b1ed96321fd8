#include "skin/WindowRegion.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

bool SameArea(const QRegion& a, const QRegion& b) {
  return a.xored(b).isEmpty();
}

QImage Filled(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

TEST(WindowRegionTest, WhiteBorderIsLeftOut) {
  QImage image = Filled(6, 5, qRgb(255, 255, 255));
  for (int y = 1; y < 4; ++y) {
    for (int x = 1; x < 5; ++x) image.setPixel(x, y, qRgb(200, 0, 0));
  }
  EXPECT_TRUE(SameArea(RegionFromBitmap(image), QRegion(1, 1, 4, 3)));
}

TEST(WindowRegionTest, SingleWhitePixelIsAHole) {
  QImage image = Filled(5, 5, qRgb(0, 0, 0));
  image.setPixel(2, 2, qRgb(255, 255, 255));
  EXPECT_TRUE(SameArea(RegionFromBitmap(image), QRegion(0, 0, 5, 5) - QRegion(2, 2, 1, 1)));
}

TEST(WindowRegionTest, NoWhiteGivesTheFullRectangleAndAllWhiteNothing) {
  EXPECT_TRUE(SameArea(RegionFromBitmap(Filled(7, 3, qRgb(254, 255, 255))), QRegion(0, 0, 7, 3)));
  EXPECT_TRUE(RegionFromBitmap(Filled(7, 3, qRgb(255, 255, 255))).isEmpty());
}

TEST(WindowRegionTest, AlphaIsNotLookedAt) {
  QImage image = Filled(2, 1, qRgba(255, 255, 255, 0));
  image.setPixel(1, 0, qRgba(0, 0, 0, 0));
  EXPECT_TRUE(SameArea(RegionFromBitmap(image), QRegion(1, 0, 1, 1)));
}

TEST(WindowRegionTest, ManyRunsStillGiveTheirUnion) {
  // 2100 separate runs on one row, more than a single batch of rectangles holds.
  const int width = 4200;
  QImage image = Filled(width, 3, qRgb(0, 0, 0));
  QRegion expected(0, 0, width, 3);
  for (int x = 1; x < width; x += 2) {
    image.setPixel(x, 1, qRgb(255, 255, 255));
    expected -= QRegion(x, 1, 1, 1);
  }
  EXPECT_TRUE(SameArea(RegionFromBitmap(image), expected));
}

TEST(WindowRegionTest, CompositingOverBlackKeepsTransparentPixelsInside) {
  // A fully transparent white pixel turns black, so it is part of the outline; an opaque white
  // one stays white and is cut out.
  QImage image = Filled(2, 1, qRgba(255, 255, 255, 0));
  image.setPixel(1, 0, qRgba(255, 255, 255, 255));
  EXPECT_TRUE(SameArea(RegionFromBitmap(CompositeOverBlack(image)), QRegion(0, 0, 1, 1)));
}

}  // namespace
}  // namespace vexlo
