#include "skin/CImageDlg.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "SkinTestImages.h"

namespace vexlo {
namespace {

using test::Grab;
using test::PatternImage;

bool SameArea(const QRegion& a, const QRegion& b) {
  return a.xored(b).isEmpty();
}

class CImageDlgTest : public ::testing::Test {
 protected:
  CImageDlgTest() { background_.Assign(PatternImage(120, 80, 7)); }

  DibImage background_;
};

TEST_F(CImageDlgTest, WindowTakesTheSizeAndPixelsOfItsImage) {
  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  dialog.InitDialog();
  EXPECT_EQ(dialog.size(), QSize(120, 80));
  const QImage shown = Grab(dialog);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 7));
  EXPECT_EQ(shown.pixel(119, 79), qRgb(119, 79, 7));
  EXPECT_EQ(shown.pixel(33, 44), qRgb(33, 44, 7));
}

TEST_F(CImageDlgTest, WithoutAnImageTheWindowKeepsItsSizeAndPaintsButtonFace) {
  CImageDlg dialog;
  dialog.resize(50, 40);
  dialog.InitDialog();
  EXPECT_EQ(dialog.size(), QSize(50, 40));
  EXPECT_EQ(Grab(dialog).pixel(10, 10), dialog.palette().color(QPalette::Button).rgb());
}

TEST_F(CImageDlgTest, MaskFollowsTheNonWhitePixelsOfTheRegionImage) {
  QImage outline(120, 80, QImage::Format_ARGB32);
  outline.fill(Qt::white);
  QPainter painter(&outline);
  painter.fillRect(QRect(10, 5, 100, 70), Qt::black);
  painter.end();
  outline.setPixel(50, 40, qRgb(255, 255, 255));
  DibImage region;
  region.Assign(outline);

  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, &region);
  dialog.ApplyImageFrame();
  EXPECT_TRUE(SameArea(dialog.mask(), QRegion(10, 5, 100, 70) - QRegion(50, 40, 1, 1)));
}

TEST_F(CImageDlgTest, BlendedRegionImageCountsTransparentPixelsAsInside) {
  QImage outline(120, 80, QImage::Format_ARGB32);
  outline.fill(qRgba(0, 0, 0, 0));
  QPainter painter(&outline);
  painter.fillRect(QRect(0, 0, 120, 10), Qt::white);
  painter.end();
  GdiplusImage region;
  region.Assign(outline);
  GdiplusImage picture;
  picture.Assign(PatternImage(120, 80, 9));

  CImageDlg dialog;
  dialog.SetImages(ImageMode::Blended, &picture, &region);
  dialog.ApplyImageFrame();
  EXPECT_TRUE(SameArea(dialog.mask(), QRegion(0, 10, 120, 70)));
}

TEST_F(CImageDlgTest, PaintBackgroundDrawsOnlyTheRectangleAsked) {
  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  QImage canvas(120, 80, QImage::Format_ARGB32);
  canvas.fill(Qt::red);
  QPainter painter(&canvas);
  const QRect part(20, 30, 10, 5);
  dialog.PaintBackground(painter, &part);
  painter.end();
  EXPECT_EQ(canvas.pixel(20, 30), qRgb(20, 30, 7));
  EXPECT_EQ(canvas.pixel(29, 34), qRgb(29, 34, 7));
  EXPECT_EQ(canvas.pixel(30, 34), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.pixel(19, 30), qRgb(255, 0, 0));
}

TEST_F(CImageDlgTest, PositionModes) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  {
    CImageDlg dialog;
    dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
    dialog.SetPositionMode(CImageDlg::PositionMode::TopLeft);
    dialog.InitDialog();
    EXPECT_EQ(dialog.pos(), QPoint(0, 0));
  }
  {
    CImageDlg dialog;
    dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
    dialog.SetPositionMode(CImageDlg::PositionMode::Stored, QPoint(33, 44));
    dialog.InitDialog();
    EXPECT_EQ(dialog.pos(), QPoint(33, 44));
  }
  {
    CImageDlg dialog;
    dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
    dialog.InitDialog();  // centred is the default
    EXPECT_EQ(dialog.pos(), QPoint(screen.left() + screen.width() / 2 - 60,
                                   screen.top() + screen.height() / 2 - 40));
  }
}

TEST_F(CImageDlgTest, CentresOnItsParentWindow) {
  QWidget owner;
  owner.setGeometry(100, 200, 401, 300);
  CImageDlg dialog(&owner);
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  dialog.InitDialog();
  const QRect outer = owner.frameGeometry();
  EXPECT_EQ(dialog.pos(), QPoint(outer.left() + (outer.width() - 120) / 2,
                                 outer.top() + (outer.height() - 80) / 2));
}

TEST_F(CImageDlgTest, EachShowingAfterTheWindowEndedStartsAtItsPositionAgain) {
  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  dialog.SetPositionMode(CImageDlg::PositionMode::Stored, QPoint(10, 20));
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(10, 20));
  dialog.move(300, 300);
  dialog.hide();
  dialog.show();  // hiding is not ending: the window stays where the user left it
  EXPECT_EQ(dialog.pos(), QPoint(300, 300));
  dialog.done(QDialog::Accepted);
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(10, 20));
  dialog.hide();
}

TEST_F(CImageDlgTest, DraggingTheBackgroundMovesTheWindow) {
  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  dialog.SetPositionMode(CImageDlg::PositionMode::Stored, QPoint(50, 60));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
  QMouseEvent move(QEvent::MouseMove, QPointF(60, 50), QPointF(dialog.mapToGlobal(QPoint(60, 50))),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &move);
  QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(60, 50));
  EXPECT_EQ(dialog.pos(), QPoint(80, 80));
  dialog.hide();
}

TEST_F(CImageDlgTest, NeverMaximises) {
  CImageDlg dialog;
  dialog.SetImages(ImageMode::Opaque, &background_, nullptr);
  dialog.showMaximized();
  EXPECT_FALSE(dialog.isMaximized());
  EXPECT_EQ(dialog.size(), QSize(120, 80));
  dialog.hide();
}

}  // namespace
}  // namespace vexlo
