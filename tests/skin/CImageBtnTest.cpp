#include "skin/CImageBtn.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "TempFolder.h"
#include "skin/CImageDlg.h"
#include "skin/DrawText.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

using test::Grab;
using test::PatternImage;
using test::TempFolder;
using test::WriteFile;

enum Tag { kNormalTag = 10, kHoverTag = 20, kPressedTag = 30, kDisabledTag = 40, kCheckedTag = 50 };

void Hover(QWidget& widget) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), widget.mapToGlobal(QPointF(1, 1)));
  QCoreApplication::sendEvent(&widget, &enter);
}

void Leave(QWidget& widget) {
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&widget, &leave);
}

// A window of 200 x 100 with five pattern images, one per state, and a skin file that places
// BTN_A at (10, 20) 30 x 12 and RAD_A, RAD_B, RAD_C in a row below it.
class CImageBtnTest : public ::testing::Test {
 protected:
  CImageBtnTest() {
    ini_ = std::filesystem::path(folder_.path()) / "Main.ini";
    WriteFile(ini_,
              "[CONTROL]\nBTN_A=10,20,30,12\nRAD_A=10,40,30,12\nRAD_B=50,40,30,12\n"
              "RAD_C=90,40,30,12\n");
    const int tags[] = {kNormalTag, kHoverTag, kPressedTag, kDisabledTag, kCheckedTag};
    for (int i = 0; i < 5; ++i) images_[i].Assign(PatternImage(200, 100, tags[i]));
    background_.Assign(PatternImage(200, 100, 99));
    window_.SetImages(ImageMode::Opaque, &background_, nullptr);
    window_.InitDialog();
  }

  CImageBtn* Make(const char* key, CImageBtn::Kind kind = CImageBtn::Kind::Push) {
    auto* button = new CImageBtn(kind, &window_);
    button->SetImages(ini_, key, &images_[0], &images_[1], &images_[2], &images_[3], &images_[4]);
    return button;
  }

  // Which state image the button shows, checked at two pixels so that the offset is checked too.
  static int ShownTag(CImageBtn& button) {
    const QImage shown = Grab(button);
    const QRgb first = shown.pixel(0, 0);
    const QRgb last = shown.pixel(shown.width() - 1, shown.height() - 1);
    EXPECT_EQ(qRed(first) + button.width() - 1, qRed(last));
    EXPECT_EQ(qGreen(first) + button.height() - 1, qGreen(last));
    EXPECT_EQ(qBlue(first), qBlue(last));
    EXPECT_EQ(QPoint(qRed(first), qGreen(first)), button.geometry().topLeft());
    return qBlue(first);
  }

  TempFolder folder_;
  std::filesystem::path ini_;
  DibImage images_[5];
  DibImage background_;
  CImageDlg window_;
};

struct StateCase {
  const char* name;
  bool enabled, checked, hover, pressed;
  std::uint32_t imageOverride;
  int state;
  int tag;
};

class CImageBtnStateTest : public CImageBtnTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(CImageBtnStateTest, ShowsThePictureOfItsStateAtItsOwnRectangle) {
  const StateCase& c = GetParam();
  CImageBtn* button = Make("BTN_A");
  button->SetCheckedImageOverride(c.imageOverride);
  button->SetCheck(c.checked ? 1 : 0);
  button->setEnabled(c.enabled);
  if (c.hover) Hover(*button);
  if (c.pressed) button->setDown(true);
  EXPECT_EQ(button->CurrentState(), c.state);
  EXPECT_EQ(ShownTag(*button), c.tag);
}

INSTANTIATE_TEST_SUITE_P(
    States, CImageBtnStateTest,
    ::testing::Values(
        StateCase{"Normal", true, false, false, false, 14, 0, kNormalTag},
        StateCase{"Hover", true, false, true, false, 14, 1, kHoverTag},
        StateCase{"Pressed", true, false, true, true, 14, 2, kPressedTag},
        StateCase{"Disabled", false, false, false, false, 14, 3, kDisabledTag},
        StateCase{"Checked", true, true, false, false, 14, 4, kCheckedTag},
        StateCase{"CheckedHover", true, true, true, false, 14, 1, kCheckedTag},
        StateCase{"CheckedPressed", true, true, false, true, 14, 2, kCheckedTag},
        StateCase{"CheckedDisabled", false, true, false, false, 14, 3, kCheckedTag},
        StateCase{"CheckedHoverWithoutOverride", true, true, true, false, 0, 1, kHoverTag},
        StateCase{"CheckedDisabledWithoutOverride", false, true, false, false, 6, 3, kDisabledTag}),
    [](const ::testing::TestParamInfo<StateCase>& param) { return std::string(param.param.name); });

TEST_F(CImageBtnTest, HoverEndsWhenThePointerLeaves) {
  CImageBtn* button = Make("BTN_A");
  Hover(*button);
  EXPECT_EQ(ShownTag(*button), kHoverTag);
  Leave(*button);
  EXPECT_EQ(ShownTag(*button), kNormalTag);
}

TEST_F(CImageBtnTest, MissingKeyPlacesADisabledOneByOneButton) {
  CImageBtn* button = Make("BTN_MISSING");
  EXPECT_EQ(button->geometry(), QRect(1, 1, 1, 1));
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(button->objectName(), QStringLiteral("BTN_MISSING"));
  EXPECT_EQ(ShownTag(*button), kDisabledTag);
}

TEST_F(CImageBtnTest, MissingStateImageLeavesOnlyTheCaption) {
  DibImage empty;  // failed to load
  auto* button = new CImageBtn(CImageBtn::Kind::Push, &window_);
  button->SetImages(ini_, "BTN_A", &empty, &empty, &empty, &empty, &empty);
  button->SetTextStyle(-10, 400, QStringLiteral("Open Sans"), {0xFFFFFF, 0, 0, 0, 0}, 37);
  button->setText(QStringLiteral("X"));
  const QImage shown = Grab(*button);
  EXPECT_NE(qBlue(shown.pixel(0, 0)), kNormalTag);
}

TEST_F(CImageBtnTest, SetCheckStoresTheTruthAndRepaintsOnlyOnChange) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  CImageBtn* button = Make("BTN_A", CImageBtn::Kind::CheckBox);
  button->show();
  int paints = 0;
  button->SetAfterDraw([&paints](CImageBtn&, int) { ++paints; });
  QCoreApplication::sendPostedEvents();
  paints = 0;

  button->SetCheck(2);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(button->GetCheck(), 1);
  EXPECT_GT(paints, 0);

  paints = 0;
  button->SetCheck(1);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(button->GetCheck(), 1);
  EXPECT_EQ(paints, 0);
  window_.hide();
}

TEST_F(CImageBtnTest, AutomaticCheckBoxTogglesBeforeTheClickArrives) {
  CImageBtn* box = Make("BTN_A", CImageBtn::Kind::AutoCheckBox);
  int checkSeenByClick = -1;
  QObject::connect(box, &QAbstractButton::clicked, [&] { checkSeenByClick = box->GetCheck(); });
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(box->GetCheck(), 1);
  EXPECT_EQ(checkSeenByClick, 1);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(box->GetCheck(), 0);
}

TEST_F(CImageBtnTest, PlainCheckBoxLeavesTheCheckToItsOwner) {
  CImageBtn* box = Make("BTN_A", CImageBtn::Kind::CheckBox);
  QSignalSpy clicks(box, &QAbstractButton::clicked);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(box->GetCheck(), 0);
}

TEST_F(CImageBtnTest, AutomaticRadioButtonChecksItselfAndClearsItsGroup) {
  CImageBtn* a = Make("RAD_A", CImageBtn::Kind::AutoRadio);
  CImageBtn* b = Make("RAD_B", CImageBtn::Kind::AutoRadio);
  CImageBtn* other = Make("RAD_C", CImageBtn::Kind::AutoRadio);
  other->SetRadioGroup(1);
  a->SetCheck(1);
  other->SetCheck(1);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(a->GetCheck(), 0);
  EXPECT_EQ(b->GetCheck(), 1);
  EXPECT_EQ(other->GetCheck(), 1);  // another group
  EXPECT_EQ(ShownTag(*a), kNormalTag);

  // Clicking the checked one keeps it checked and still sends the click.
  QSignalSpy clicks(b, &QAbstractButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(b->GetCheck(), 1);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(CImageBtnTest, SettingARadioCheckClearsTheGroupButUncheckingDoesNot) {
  CImageBtn* a = Make("RAD_A", CImageBtn::Kind::Radio);
  CImageBtn* b = Make("RAD_B", CImageBtn::Kind::Radio);
  a->SetCheck(1);
  b->SetCheck(1);
  EXPECT_EQ(a->GetCheck(), 0);
  EXPECT_EQ(b->GetCheck(), 1);
  // A plain radio button does not check itself when clicked.
  QTest::mouseClick(a, Qt::LeftButton);
  EXPECT_EQ(a->GetCheck(), 0);
  // Unchecking the other radio of the pair leaves the checked one alone.
  a->SetCheck(0);
  EXPECT_EQ(b->GetCheck(), 1);
}

TEST_F(CImageBtnTest, DisabledUncheckedRadioShowsTheDisabledPicture) {
  CImageBtn* a = Make("RAD_A", CImageBtn::Kind::AutoRadio);
  a->setEnabled(false);
  Hover(*a);
  EXPECT_EQ(ShownTag(*a), kDisabledTag);
}

TEST_F(CImageBtnTest, DoubleClickGivesTwoClicks) {
  // What the window system delivers for a double click: the second press comes with a
  // double-click event.
  CImageBtn* button = Make("BTN_A");
  QSignalSpy clicks(button, &QAbstractButton::clicked);
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mousePress(button, Qt::LeftButton);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5),
                          button->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
  QCoreApplication::sendEvent(button, &doubleClick);
  QTest::mouseRelease(button, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(CImageBtnTest, KeyboardFocusAndActivation) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  CImageBtn* first = Make("BTN_A");
  CImageBtn* second = Make("RAD_A", CImageBtn::Kind::AutoCheckBox);
  first->show();
  second->show();
  first->setFocus(Qt::TabFocusReason);
  QSignalSpy clicks(first, &QAbstractButton::clicked);
  QTest::keyClick(first, Qt::Key_Space);
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_EQ(clicks.count(), 2);

  QTest::keyClick(&window_, Qt::Key_Tab);
  EXPECT_TRUE(second->hasFocus());
  QTest::keyClick(second, Qt::Key_Space);
  EXPECT_EQ(second->GetCheck(), 1);
  QTest::keyClick(second, Qt::Key_Return);  // Enter does not toggle a check box
  EXPECT_EQ(second->GetCheck(), 1);
  window_.hide();
}

TEST_F(CImageBtnTest, TintAlphaZeroKeepsThePictureAndFullAlphaFlattensIt) {
  CImageBtn* button = Make("BTN_A");
  button->SetTint(CImageBtn::kTintPicture, {0x00FF0000, 0, 0, 0, 0});
  EXPECT_EQ(ShownTag(*button), kNormalTag);
  button->SetTint(CImageBtn::kTintPicture, {0xFF123456, 0, 0, 0, 0});
  const QImage shown = Grab(*button);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0x12, 0x34, 0x56));
  EXPECT_EQ(shown.pixel(29, 11), qRgb(0x12, 0x34, 0x56));
}

TEST_F(CImageBtnTest, PartialTintBlendsThePictureOverTheTintColour) {
  CImageBtn* button = Make("BTN_A");
  button->SetTint(CImageBtn::kTintPicture, {0x40FF0000, 0, 0, 0, 0});
  // Picture pixel (10, 20, 10) at opacity 191/255 over (255, 0, 0):
  // red 10 x 191/255 + 255 x 64/255 = 71.5; green 20 x 191/255 = 15.0; blue 10 x 191/255 = 7.5.
  const QRgb pixel = Grab(*button).pixel(0, 0);
  EXPECT_NEAR(qRed(pixel), 71, 1);
  EXPECT_NEAR(qGreen(pixel), 15, 1);
  EXPECT_NEAR(qBlue(pixel), 7, 1);
}

TEST_F(CImageBtnTest, BlendedModeTintsThroughTheMatrix) {
  QImage blue(200, 100, QImage::Format_ARGB32);
  blue.fill(qRgb(0, 0, 255));
  GdiplusImage picture;
  picture.Assign(blue);
  auto* button = new CImageBtn(CImageBtn::Kind::Push, &window_);
  button->SetImages(ini_, "BTN_A", &picture, &picture, &picture, &picture, &picture);
  button->SetImageMode(ImageMode::Blended);
  button->SetTint(CImageBtn::kTintPicture, {0x80FF0000, 0, 0, 0, 0});
  EXPECT_EQ(Grab(*button).pixel(5, 5), qRgb(128, 0, 127));
}

// The skin draws a disabled button with its normal picture; styled, the picture fades into the
// ground at its corner, and enabled it shows as it is.
TEST_F(CImageBtnTest, AStyledButtonFadesIntoItsGroundWhenDisabled) {
  QImage art(200, 100, QImage::Format_ARGB32);
  art.fill(qRgb(0x20, 0x30, 0x40));
  art.setPixel(25, 26, qRgb(0xFF, 0xFF, 0xFF));  // one pixel of an icon on BTN_A
  DibImage picture;
  picture.Assign(art);
  auto* button = new CImageBtn(CImageBtn::Kind::Push, &window_);
  button->SetImages(ini_, "BTN_A", &picture, &picture, &picture, &picture, &picture);
  ApplyButtonStyle(*button, "BTN_A", {}, {});
  EXPECT_EQ(Grab(*button).pixel(15, 6), qRgb(0xFF, 0xFF, 0xFF));
  button->setEnabled(false);
  const QImage shown = Grab(*button);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0x20, 0x30, 0x40));
  // White at opacity 115/255 over the ground: 115 + 140/255 of each ground channel.
  const QRgb icon = shown.pixel(15, 6);
  EXPECT_NEAR(qRed(icon), 133, 2);
  EXPECT_NEAR(qGreen(icon), 141, 2);
  EXPECT_NEAR(qBlue(icon), 150, 2);
}

TEST_F(CImageBtnTest, CaptionColourFollowsStateOverrideAndTextTint) {
  CImageBtn* button = Make("BTN_A");
  button->SetTextStyle(-14, 400, QStringLiteral("Open Sans"),
                       {0xC8C8C8, 0xFFFFFF, 0xFFFFFF, 0x606060, 0x3C6EC8}, 37);
  EXPECT_EQ(button->CaptionColour(), QColor(0xC8, 0xC8, 0xC8));
  Hover(*button);
  EXPECT_EQ(button->CaptionColour(), QColor(0xFF, 0xFF, 0xFF));
  button->SetCheck(1);  // the checked colour overrides hover once fonts are set
  EXPECT_EQ(button->CaptionColour(), QColor(0xC8, 0x6E, 0x3C));
  button->SetCheck(0);
  Leave(*button);
  // (200 x 207 + 0 x 48) / 255 = 162; (200 x 207 + 255 x 48) / 255 = 210.
  button->SetTint(CImageBtn::kTintText, {0x3000FFFF, 0, 0, 0, 0});
  EXPECT_EQ(button->CaptionColour(), QColor(162, 210, 210));
}

// The columns of the rectangle in which any pixel differs from the given background colour.
QRect InkBounds(const QImage& image, QRgb background) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

class CaptionLayoutTest : public ::testing::Test {
 protected:
  CaptionLayoutTest() {
    ini_ = std::filesystem::path(folder_.path()) / "Msg.ini";
    WriteFile(ini_, "[CONTROL]\nBTN_INFO=0,0,220,90\n");
    QImage black(220, 90, QImage::Format_ARGB32);
    black.fill(Qt::black);
    picture_.Assign(black);
    button_ = new CImageBtn(CImageBtn::Kind::Push, &window_);
    button_->SetImages(ini_, "BTN_INFO", &picture_, &picture_, &picture_, &picture_, &picture_);
    button_->SetTextStyle(-14, 400, QStringLiteral("Open Sans"),
                          {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
                          dt::kCentreWrapped | dt::kWordBreak | dt::kVCenter | dt::kCenter);
  }

  TempFolder folder_;
  std::filesystem::path ini_;
  DibImage picture_;
  CImageDlg window_;
  CImageBtn* button_;
};

TEST_F(CaptionLayoutTest, OneLineCaptionIsCentredBothWays) {
  button_->setText(QStringLiteral("Saved."));
  const QRect ink = InkBounds(Grab(*button_), qRgb(0, 0, 0));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.left(), 220 - 1 - ink.right(), 3);
  EXPECT_NEAR(ink.top(), 90 - 1 - ink.bottom(), 6);  // glyphs sit above the descent
}

TEST_F(CaptionLayoutTest, WrappedCaptionIsLeftAlignedAndCentredVertically) {
  button_->setText(
      QStringLiteral("The mouse is not connected. Plug it in and the settings apply at once."));
  const QRect ink = InkBounds(Grab(*button_), qRgb(0, 0, 0));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_LE(ink.left(), 2);
  EXPECT_GT(ink.height(), 30);  // more than one line
  EXPECT_NEAR(ink.top(), 90 - 1 - ink.bottom(), 8);
}

}  // namespace
}  // namespace vexlo
