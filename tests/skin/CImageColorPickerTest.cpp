#include "skin/CImageColorPicker.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "SkinTestImages.h"
#include "TempFolder.h"
#include "skin/ColorRef.h"

namespace vexlo {
namespace {

using test::Grab;
using test::PatternImage;

struct PickRecord {
  bool pressed;
  std::uint32_t colour;
};

// A 300 x 200 window picture whose pixels tell their place (red = x, green = y, blue 9) and a
// picker 150 x 100 at (40, 60).
class CImageColorPickerTest : public ::testing::Test {
 protected:
  CImageColorPickerTest() {
    ini_ = std::filesystem::path(folder_.path()) / "Light.ini";
    test::WriteFile(ini_, "[CONTROL]\nBTN_LIGHT_COLOR_PICKER=40,60,150,100\n");
    image_.Assign(PatternImage(300, 200, 9));
    picker_ = new CImageColorPicker(&window_);
    SetupColorPicker(ini_, *picker_, &image_);
    picker_->SetPickCallback([this](bool pressed, std::uint32_t colour) {
      picks_.push_back({pressed, colour});
    });
  }

  // The COLORREF of the picture's pixel at the picker's point.
  static std::uint32_t ColourAt(QPoint point) {
    return RefFromRgb(qRgb(40 + point.x(), 60 + point.y(), 9));
  }

  test::TempFolder folder_;
  std::filesystem::path ini_;
  DibImage image_;
  QWidget window_;
  CImageColorPicker* picker_;
  std::vector<PickRecord> picks_;
};

TEST_F(CImageColorPickerTest, ShowsThePictureUnderItsPlace) {
  EXPECT_EQ(picker_->geometry(), QRect(40, 60, 150, 100));
  EXPECT_EQ(picker_->objectName(), QStringLiteral("BTN_LIGHT_COLOR_PICKER"));
  const QImage shown = Grab(*picker_);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(40, 60, 9));
  EXPECT_EQ(shown.pixel(149, 99), qRgb(189, 159, 9));
  EXPECT_EQ(picker_->PickedPoint(), QPoint(-1, -1));
  EXPECT_EQ(picker_->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(CImageColorPickerTest, PressPicksTheColourUnderThePointer) {
  QTest::mousePress(picker_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
  ASSERT_EQ(picks_.size(), 1u);
  EXPECT_TRUE(picks_[0].pressed);
  EXPECT_EQ(picks_[0].colour, ColourAt(QPoint(10, 5)));
  EXPECT_EQ(picker_->PickedPoint(), QPoint(10, 5));
  EXPECT_EQ(picker_->PickedColour(), ColourAt(QPoint(10, 5)));
}

TEST_F(CImageColorPickerTest, DraggingOutsideKeepsPickingTheNearestEdgeAndReleasePicksOnceMore) {
  QTest::mousePress(picker_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseMove(picker_, QPoint(70, 40));
  QTest::mouseMove(picker_, QPoint(-30, 250));  // left of and below the picker
  QTest::mouseRelease(picker_, Qt::LeftButton, Qt::NoModifier, QPoint(400, -9));
  ASSERT_EQ(picks_.size(), 4u);
  EXPECT_EQ(picks_[1].colour, ColourAt(QPoint(70, 40)));
  EXPECT_TRUE(picks_[2].pressed);
  EXPECT_EQ(picks_[2].colour, ColourAt(QPoint(0, 99)));
  EXPECT_FALSE(picks_[3].pressed);
  EXPECT_EQ(picks_[3].colour, ColourAt(QPoint(149, 0)));
  EXPECT_EQ(picker_->PickedPoint(), QPoint(149, 0));

  // Moving without the button held picks nothing.
  QTest::mouseMove(picker_, QPoint(30, 30));
  EXPECT_EQ(picks_.size(), 4u);
}

TEST_F(CImageColorPickerTest, OtherButtonsPickNothing) {
  QTest::mouseClick(picker_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_TRUE(picks_.empty());
}

TEST_F(CImageColorPickerTest, AlphaPicturesArePickedAsCompositedOverBlack) {
  QImage half(300, 200, QImage::Format_ARGB32);
  half.fill(qRgba(200, 100, 50, 128));
  GdiplusImage translucent;
  translucent.Assign(half);
  picker_->SetImage(ImageMode::Blended, &translucent, QPoint(40, 60));
  QTest::mouseClick(picker_, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  ASSERT_EQ(picks_.size(), 2u);
  const QColor picked = ColorFromRef(picks_[1].colour);
  EXPECT_NEAR(picked.red(), 100, 1);
  EXPECT_NEAR(picked.green(), 50, 1);
  EXPECT_NEAR(picked.blue(), 25, 1);
}

}  // namespace
}  // namespace vexlo
