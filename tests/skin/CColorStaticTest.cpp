#include "skin/CColorStatic.h"

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "TempFolder.h"
#include "skin/CImageDlg.h"
#include "skin/DrawText.h"

namespace vexlo {
namespace {

using test::Grab;
using test::PatternImage;

// A window whose background tells each pixel's place, with STA_A at (10, 20) 120 x 30.
class CColorStaticTest : public ::testing::Test {
 protected:
  CColorStaticTest() {
    ini_ = std::filesystem::path(folder_.path()) / "Msg.ini";
    test::WriteFile(ini_, "[CONTROL]\nSTA_A=10,20,120,30\n");
    background_.Assign(PatternImage(200, 100, 77));
    window_.SetImages(ImageMode::Opaque, &background_, nullptr);
    window_.InitDialog();
    label_ = new CColorStatic(&window_);
  }

  test::TempFolder folder_;
  std::filesystem::path ini_;
  DibImage background_;
  CImageDlg window_;
  CColorStatic* label_;
};

TEST_F(CColorStaticTest, StartsOpaqueInTheDesktopColours) {
  EXPECT_FALSE(label_->IsTransparent());
  EXPECT_EQ(label_->BackgroundColour(), label_->palette().color(QPalette::Button));
}

TEST_F(CColorStaticTest, TransparentLabelShowsTheWindowsSkinBehindItsText) {
  const QFont font = CreateSkinFont(-16, 700, QStringLiteral("Open Sans"));
  SetupColorStatic(ini_, "STA_A", *label_, 0x0000FF, 0xFFFFFF, true, &font);
  label_->setText(QStringLiteral("Title"));
  EXPECT_EQ(label_->geometry(), QRect(10, 20, 120, 30));
  EXPECT_TRUE(label_->IsTransparent());
  EXPECT_EQ(label_->font().pixelSize(), 16);
  EXPECT_EQ(label_->TextColour(), QColor(255, 0, 0));
  const QImage shown = Grab(window_);
  // Right of the text the skin's own pixels show.
  EXPECT_EQ(shown.pixel(120, 45), qRgb(120, 45, 77));
  bool redInk = false;
  for (int y = 20; y < 50 && !redInk; ++y) {
    for (int x = 10; x < 60 && !redInk; ++x) redInk = shown.pixel(x, y) == qRgb(255, 0, 0);
  }
  EXPECT_TRUE(redInk);
}

TEST_F(CColorStaticTest, OpaqueLabelFillsItsRectangleWithItsBackground) {
  SetupColorStatic(ini_, "STA_A", *label_, 0xC86E3C, 0xFFFFFF, false);
  label_->setText(QStringLiteral("Right Shift"));
  label_->setAlignment(Qt::AlignCenter);
  const QImage shown = Grab(window_);
  EXPECT_EQ(shown.pixel(11, 21), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(128, 48), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(9, 21), qRgb(9, 21, 77));  // just outside
}

TEST_F(CColorStaticTest, ABackgroundColourCountsOnlyForAnOpaqueLabel) {
  label_->SetBackground(false, 0x112233);
  label_->SetBackground(true, 0x445566);
  EXPECT_TRUE(label_->IsTransparent());
  EXPECT_EQ(label_->BackgroundColour(), QColor(0x33, 0x22, 0x11));
}

TEST_F(CColorStaticTest, TextStaysPlainText) {
  label_->setText(QStringLiteral("<b>x</b>"));
  EXPECT_EQ(label_->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace vexlo
