#include "skin/CImageSlider.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "PostedMessages.h"
#include "SkinTestImages.h"
#include "TempFolder.h"
#include "common/Messages.h"

namespace vexlo {
namespace {

using test::Grab;
using test::PatternImage;
using test::PostedMessage;
using test::TempFolder;
using test::WriteFile;

constexpr int kId = 1301;
constexpr PostedMessage Moved() {
  return {UM_SLIDER_CHANGED, kId, 0};
}
constexpr PostedMessage Final() {
  return {UM_SLIDER_CHANGED, kId, 1};
}

// --- Geometry: range 1 to 21 on a 200-pixel track starting at x = 10 (steps of 10 pixels).

SliderGeometry Track200(QSize thumb = CImageSlider::kPlainThumb) {
  return SliderGeometry{QRect(10, 8, 200, 20), thumb, 1, 21};
}

TEST(SliderGeometryTest, PointSelectsTheNearestStepAndTheEndsBeyondTheTrack) {
  const struct {
    int x;
    int position;
  } cases[] = {{-40, 1},  {10, 1},   {14, 1},   {15, 2},   {24, 2},  {25, 3},
               {109, 11}, {204, 20}, {205, 21}, {210, 21}, {500, 21}};
  for (const auto& c : cases) EXPECT_EQ(Track200().PositionAt(c.x), c.position) << c.x;
}

TEST(SliderGeometryTest, ThumbIsCentredOnItsStepAndOnTheTrack) {
  const struct {
    int position;
    QSize thumb;
    QRect rect;
  } cases[] = {{1, {10, 20}, {5, 8, 10, 20}},
               {11, {10, 20}, {105, 8, 10, 20}},
               {21, {10, 20}, {205, 8, 10, 20}},
               {2, {24, 24}, {8, 6, 24, 24}},
               {12, {0, 0}, {120, 18, 1, 1}}};
  for (const auto& c : cases) {
    EXPECT_EQ(Track200(c.thumb).ThumbRect(c.position), c.rect) << c.position;
  }
}

// --- The control, placed from a skin file: SLD_A at (20, 30), 220 x 36, its channel 200 pixels
// wide at (10, 8) inside it. The channel images and the thumbs are pattern pictures.

enum Tag { kRightTag = 11, kLeftTag = 22 };
constexpr QRgb kThumbColours[4] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};

class CImageSliderTest : public ::testing::Test {
 protected:
  CImageSliderTest() {
    ini_ = std::filesystem::path(folder_.path()) / "Adv.ini";
    WriteFile(ini_,
              "[CONTROL]\nSLD_A=20,30,220,36\nSLD_A_CHANNEL=30,38,200,20\nSLD_B=40,80,100,30\n");
    right_.Assign(PatternImage(300, 120, kRightTag));
    left_.Assign(PatternImage(300, 120, kLeftTag));
    for (int state = 0; state < 4; ++state) {
      // Opaque, with a transparent top-left corner that shows the channel through.
      QImage thumb(12, 20, QImage::Format_ARGB32);
      thumb.fill(kThumbColours[state]);
      thumb.setPixel(0, 0, 0);
      thumbs_[state].Assign(thumb);
    }
    window_.resize(300, 120);
    other_ = new QLineEdit(&window_);
    other_->setGeometry(0, 80, 100, 24);
    slider_ = new CImageSlider(&window_);
    SetupSlider(ini_, "SLD_A", *slider_, &right_, &left_,
                {&thumbs_[0], &thumbs_[1], &thumbs_[2], &thumbs_[3]});
    EXPECT_TRUE(slider_->SetRange(1, 21));
    slider_->SetNotifyWindow(&notify_, kId);
    slider_->SetPos(11, false, true);
    notify_.posted.clear();
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    slider_->setFocus();
  }

  QRect Thumb() const { return slider_->Geometry().ThumbRect(slider_->GetPos()); }
  int ThumbCentre() const { return slider_->Geometry().CentreX(slider_->GetPos()); }
  QPoint At(int x) const { return QPoint(x, 18); }

  TempFolder folder_;
  std::filesystem::path ini_;
  DibImage right_, left_;
  GdiplusImage thumbs_[4];
  QWidget window_;
  QLineEdit* other_;
  CImageSlider* slider_;
  test::PostedMessages notify_;
};

TEST_F(CImageSliderTest, TrackFollowsTheChannelOrTheClientAreaAndTheThumbHeight) {
  EXPECT_EQ(slider_->objectName(), "SLD_A");
  EXPECT_EQ(slider_->geometry(), QRect(20, 30, 220, 36));
  EXPECT_EQ(slider_->Geometry().track, QRect(10, 8, 200, 20));
  EXPECT_EQ(slider_->Geometry().thumb, QSize(12, 20));

  // No channel in the skin: the client area less six pixels at each end, and still so after a
  // resize. Without thumb pictures the track is as tall as the plain 10 x 20 thumb.
  CImageSlider plain(&window_);
  SetupSlider(ini_, "SLD_B", plain, &right_, &left_, {});
  EXPECT_EQ(plain.Geometry().track, QRect(6, 5, 88, 20));
  plain.resize(160, 40);
  EXPECT_EQ(plain.Geometry().track, QRect(6, 10, 148, 20));
  EXPECT_EQ(plain.Geometry().ThumbRect(plain.GetPos()), QRect(1, 10, 10, 20));
  // A channel's track does not follow the size.
  slider_->resize(400, 60);
  EXPECT_EQ(slider_->Geometry().track, QRect(10, 8, 200, 20));
}

TEST_F(CImageSliderTest, PositionsAreClampedAndAnEmptyRangeIsRefused) {
  slider_->SetPos(99, false, false);
  EXPECT_EQ(slider_->GetPos(), 21);
  slider_->SetPos(-5, false, false);
  EXPECT_EQ(slider_->GetPos(), 1);
  EXPECT_FALSE(slider_->SetRange(5, 5));
  EXPECT_FALSE(slider_->SetRange(9, 3));
  EXPECT_EQ(slider_->GetRangeMin(), 1);
  EXPECT_EQ(slider_->GetRangeMax(), 21);
  slider_->SetPos(21, false, false);
  EXPECT_TRUE(slider_->SetRange(0, 10));
  EXPECT_EQ(slider_->GetPos(), 10);
  EXPECT_EQ(Thumb(), QRect(204, 8, 12, 20));  // drawn at the end, not beyond the track
}

TEST_F(CImageSliderTest, ProgramPositionsArePostedOnlyWhenTheSliderNotifiesAlways) {
  slider_->SetPos(5, false, true);
  slider_->SetPos(6, true, false);
  slider_->SetNotifyAlways(false);
  slider_->SetPos(7, false, true);
  slider_->SetPos(8, true, true);
  EXPECT_EQ(notify_.posted, (std::vector<PostedMessage>{Final(), Moved(), Final()}));
}

TEST_F(CImageSliderTest, ThumbGrabbedByItsEdgeKeepsItsOffsetThroughTheDrag) {
  const int edge = Thumb().left();  // 6 pixels left of the centre
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(edge));
  EXPECT_EQ(slider_->GetPos(), 11);
  int pointer = edge;
  for (int step : {30, -50, 20, 70}) {
    pointer += step;
    QTest::mouseMove(slider_, At(pointer));
    EXPECT_EQ(ThumbCentre() - pointer, 6) << pointer;
  }
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(pointer));
  EXPECT_EQ(slider_->GetPos(), 18);
  EXPECT_EQ(notify_.posted,
            (std::vector<PostedMessage>{Moved(), Moved(), Moved(), Moved(), Final()}));
}

TEST_F(CImageSliderTest, ReleaseWithoutMovementPostsOneFinalMessage) {
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(Thumb().right()));
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(Thumb().right()));
  EXPECT_EQ(slider_->GetPos(), 11);
  EXPECT_EQ(notify_.posted, std::vector<PostedMessage>{Final()});
}

TEST_F(CImageSliderTest, PressOnTheTrackJumpsThereAndDoubleClickActsAsTwoPresses) {
  QTest::mouseClick(slider_, Qt::LeftButton, {}, At(10 + 45));  // 4.5 steps: rounds up
  EXPECT_EQ(slider_->GetPos(), 6);
  EXPECT_EQ(notify_.posted, (std::vector<PostedMessage>{Moved(), Final()}));
  notify_.posted.clear();
  // The widget sees press, release, double click, release.
  QTest::mouseClick(slider_, Qt::LeftButton, {}, At(10 + 180));
  QTest::mouseDClick(slider_, Qt::LeftButton, {}, At(10 + 180));
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(10 + 180));
  EXPECT_EQ(slider_->GetPos(), 19);
  EXPECT_EQ(notify_.posted, (std::vector<PostedMessage>{Moved(), Final(), Final()}));
  // A press outside the track and the thumb does nothing.
  notify_.posted.clear();
  QTest::mouseClick(slider_, Qt::LeftButton, {}, QPoint(100, 1));
  EXPECT_TRUE(notify_.posted.empty());
}

struct EndCase {
  const char* name;
  void (*end)(CImageSlider& slider, QWidget& other);
};

class CImageSliderAbandonTest : public CImageSliderTest,
                                public ::testing::WithParamInterface<EndCase> {};

TEST_P(CImageSliderAbandonTest, DragEndedWithoutReleaseReturnsTheThumbAndPostsNoFinal) {
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(130));  // on the track: jumps to 13
  QTest::mouseMove(slider_, At(170));
  EXPECT_EQ(slider_->GetPos(), 17);
  GetParam().end(*slider_, *other_);
  EXPECT_FALSE(slider_->IsDragging());
  EXPECT_EQ(slider_->GetPos(), 11);
  QTest::mouseMove(slider_, At(190));
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(190));
  EXPECT_EQ(slider_->GetPos(), 11);
  EXPECT_EQ(notify_.posted, (std::vector<PostedMessage>{Moved(), Moved(), Moved()}));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, CImageSliderAbandonTest,
    ::testing::Values(
        EndCase{"FocusLoss", [](CImageSlider&, QWidget& other) { other.setFocus(); }},
        EndCase{"Disabled", [](CImageSlider& slider, QWidget&) { slider.setEnabled(false); }},
        EndCase{"Escape",
                [](CImageSlider& slider, QWidget&) { QTest::keyClick(&slider, Qt::Key_Escape); }}),
    [](const ::testing::TestParamInfo<EndCase>& param) { return std::string(param.param.name); });

TEST_F(CImageSliderTest, KeysMoveOneStepOrToTheEndsWithFinalMessages) {
  const struct {
    Qt::Key key;
    int position;
  } steps[] = {{Qt::Key_Right, 12}, {Qt::Key_Up, 13},    {Qt::Key_Left, 12}, {Qt::Key_Down, 11},
               {Qt::Key_End, 21},   {Qt::Key_Right, 21}, {Qt::Key_Home, 1},  {Qt::Key_Left, 1}};
  for (const auto& step : steps) {
    QTest::keyClick(slider_, step.key);
    EXPECT_EQ(slider_->GetPos(), step.position) << step.key;
  }
  // Pressing beyond an end changes nothing and posts nothing.
  EXPECT_EQ(notify_.posted, std::vector<PostedMessage>(6, Final()));
}

struct PixelCase {
  const char* name;
  int state;
  std::uint32_t tint;  // 0: none
  QRgb centre;
};

class CImageSliderPixelTest : public CImageSliderTest,
                              public ::testing::WithParamInterface<PixelCase> {};

TEST_P(CImageSliderPixelTest, ThumbShowsThePictureOfItsStateTintedOverTheSplitChannel) {
  const PixelCase& c = GetParam();
  if (c.tint != 0) slider_->SetThumbTint({c.tint, c.tint, c.tint, c.tint});
  const QPoint centre = Thumb().center();
  if (c.state == CImageSlider::kHover) QTest::mouseMove(slider_, centre);
  if (c.state == CImageSlider::kPressed) QTest::mousePress(slider_, Qt::LeftButton, {}, centre);
  if (c.state == CImageSlider::kDisabled) slider_->setEnabled(false);
  ASSERT_EQ(slider_->CurrentState(), c.state);

  const QImage shown = Grab(*slider_);
  EXPECT_EQ(shown.pixel(centre), c.centre);
  // The thumb's transparent corner shows the channel: the left picture ends at the thumb's
  // centre, each cut at the slider's own place in the window.
  const QPoint corner = Thumb().topLeft();
  EXPECT_EQ(shown.pixel(corner), qRgb(20 + corner.x(), 30 + corner.y(), kLeftTag));
  EXPECT_EQ(shown.pixel(ThumbCentre() - 1, 2), qRgb(20 + ThumbCentre() - 1, 32, kLeftTag));
  EXPECT_EQ(shown.pixel(ThumbCentre(), 2), qRgb(20 + ThumbCentre(), 32, kRightTag));
  EXPECT_EQ(shown.pixel(219, 35), qRgb(239, 65, kRightTag));
  if (c.state == CImageSlider::kPressed) QTest::mouseRelease(slider_, Qt::LeftButton, {}, centre);
}

INSTANTIATE_TEST_SUITE_P(
    States, CImageSliderPixelTest,
    ::testing::Values(PixelCase{"Normal", 0, 0, kThumbColours[0]},
                      PixelCase{"Hover", 1, 0, kThumbColours[1]},
                      PixelCase{"Pressed", 2, 0, kThumbColours[2]},
                      PixelCase{"Disabled", 3, 0, kThumbColours[3]},
                      PixelCase{"NormalTintedFully", 0, 0xFF00FF00, 0xFF00FF00},
                      PixelCase{"PressedTintedFully", 2, 0xFFFF0000, 0xFFFF0000}),
    [](const ::testing::TestParamInfo<PixelCase>& param) { return std::string(param.param.name); });

TEST_F(CImageSliderTest, DisabledSliderWithoutItsOwnPictureFadesTheNormalThumb) {
  SetupSlider(ini_, "SLD_A", *slider_, &right_, &left_,
              {&thumbs_[0], &thumbs_[1], &thumbs_[2], &thumbs_[0]});
  slider_->setEnabled(false);
  const QPoint centre = Thumb().center();
  const QRgb shown = Grab(*slider_).pixel(centre);
  const QRgb under = qRgb(20 + centre.x(), 30 + centre.y(), kLeftTag);
  const auto faded = [](int thumb, int channel) {
    return qRound(thumb * CImageSlider::kFadedOpacity +
                  channel * (1 - CImageSlider::kFadedOpacity));
  };
  EXPECT_NEAR(qRed(shown), faded(qRed(kThumbColours[0]), qRed(under)), 1);
  EXPECT_NEAR(qGreen(shown), faded(qGreen(kThumbColours[0]), qGreen(under)), 1);
  EXPECT_NEAR(qBlue(shown), faded(qBlue(kThumbColours[0]), qBlue(under)), 1);
}

}  // namespace
}  // namespace vexlo
