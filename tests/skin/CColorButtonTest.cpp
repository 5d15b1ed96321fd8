#include "skin/CColorButton.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using test::Grab;

constexpr std::uint32_t kFill = 0x00FF00;  // green
constexpr CColorButton::BorderColours kBorders = {0x0000FF, 0x00FFFF, 0xFF00FF, 0x808080};

void Hover(QWidget& widget) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), widget.mapToGlobal(QPointF(1, 1)));
  QCoreApplication::sendEvent(&widget, &enter);
}

struct BorderCase {
  const char* name;
  bool enabled, hover, pressed;
  QRgb border;
};

void PrintTo(const BorderCase& c, std::ostream* out) {
  *out << c.name;
}

class CColorButtonBorderTest : public ::testing::TestWithParam<BorderCase> {};

TEST_P(CColorButtonBorderTest, BorderTakesTheColourOfTheStateAroundTheFill) {
  const BorderCase& c = GetParam();
  CColorButton button;
  button.resize(20, 14);
  button.SetFillColour(kFill);
  button.SetBorder(kBorders, 2);
  button.setEnabled(c.enabled);
  if (c.hover) Hover(button);
  button.setDown(c.pressed);
  const QImage shown = Grab(button);
  for (const QPoint edge : {QPoint(0, 0), QPoint(1, 1), QPoint(19, 13), QPoint(18, 7)}) {
    EXPECT_EQ(shown.pixel(edge), c.border) << edge.x() << "," << edge.y();
  }
  EXPECT_EQ(shown.pixel(2, 2), qRgb(0, 255, 0));
  EXPECT_EQ(shown.pixel(17, 11), qRgb(0, 255, 0));
}

INSTANTIATE_TEST_SUITE_P(
    States, CColorButtonBorderTest,
    ::testing::Values(BorderCase{"Normal", true, false, false, qRgb(255, 0, 0)},
                      BorderCase{"Hover", true, true, false, qRgb(255, 255, 0)},
                      BorderCase{"Pressed", true, true, true, qRgb(255, 0, 255)},
                      BorderCase{"DisabledWinsOverPressed", false, true, true,
                                 qRgb(128, 128, 128)}),
    [](const ::testing::TestParamInfo<BorderCase>& param) {
      return std::string(param.param.name);
    });

TEST(CColorButtonTest, StartsAsTheDefaultSwatchWithoutBorder) {
  CColorButton button;
  button.resize(10, 10);
  EXPECT_EQ(button.FillColour(), 0x800000u);
  EXPECT_EQ(Grab(button).pixel(0, 0), qRgb(0, 0, 0x80));
}

TEST(CColorButtonTest, WideButtonShowsADropDownArrowAndNarrowOneACornerMark) {
  CColorButton wide;
  wide.resize(40, 14);
  wide.SetFillColour(0x000000);
  wide.SetMark(CColorButton::MarkMode::MarkColour, 0xFFFFFF);
  const QImage arrow = Grab(wide);
  // Down-pointing: wide at the top of the arrow, a point below, nothing near the corner.
  EXPECT_EQ(arrow.pixel(32, 5), qRgb(255, 255, 255));
  EXPECT_EQ(arrow.pixel(32, 8), qRgb(255, 255, 255));
  EXPECT_EQ(arrow.pixel(29, 9), qRgb(0, 0, 0));
  EXPECT_EQ(arrow.pixel(38, 12), qRgb(0, 0, 0));
  EXPECT_EQ(arrow.pixel(5, 7), qRgb(0, 0, 0));

  CColorButton narrow;
  narrow.resize(20, 14);
  narrow.SetFillColour(0x000000);
  narrow.SetMark(CColorButton::MarkMode::MarkColour, 0xFFFFFF);
  const QImage corner = Grab(narrow);
  EXPECT_EQ(corner.pixel(17, 11), qRgb(255, 255, 255));
  EXPECT_EQ(corner.pixel(5, 3), qRgb(0, 0, 0));
  EXPECT_EQ(corner.pixel(12, 5), qRgb(0, 0, 0));
}

TEST(CColorButtonTest, MarkGeometryFollowsTheButtonsShape) {
  // 40 x 14: arrow from x 36.5 - 8.078 to 36.5 at y 3.5, point at (32.454, 10.5).
  const CColorButton::Mark arrow = CColorButton::MarkGeometry(QSize(40, 14), 0);
  EXPECT_DOUBLE_EQ(arrow.outline[0].x(), 36.5);
  EXPECT_DOUBLE_EQ(arrow.outline[0].y(), 3.5);
  EXPECT_NEAR(arrow.outline[1].x(), 28.422, 1e-9);
  EXPECT_NEAR(arrow.outline[2].x(), 32.454, 1e-9);
  EXPECT_DOUBLE_EQ(arrow.outline[2].y(), 10.5);
  EXPECT_DOUBLE_EQ(arrow.mark[0].x(), 35.5);
  EXPECT_DOUBLE_EQ(arrow.mark[2].y(), 9.5);
  // 20 x 14 with a border of 2: the corner is the last pixel inside the border, (17, 11).
  const CColorButton::Mark corner = CColorButton::MarkGeometry(QSize(20, 14), 2);
  EXPECT_EQ(corner.outline[0], QPointF(17, 11));
  EXPECT_EQ(corner.outline[1], QPointF(17 - 4 - 3, 11));
  EXPECT_EQ(corner.outline[2], QPointF(17, 11 - 2.5 - 3));
  EXPECT_EQ(corner.mark[1], QPointF(16 - 4, 10));
}

TEST(CColorButtonTest, InverseMarkOnRedIsCyanWithAPaleOutline) {
  CColorButton button;
  button.resize(40, 14);
  button.SetFillColour(0x0000FF);  // red
  button.SetMark(CColorButton::MarkMode::InverseFill, 0x000000);
  const QImage shown = Grab(button);
  EXPECT_EQ(shown.pixel(32, 6), qRgb(0, 255, 255));
  EXPECT_EQ(shown.pixel(2, 2), qRgb(255, 0, 0));
  // The outline colour: each channel (c x 127 + 255 x 128) / 255.
  EXPECT_EQ(CColorButton::MarkOutlineColour(0xFFFF00), 0xFFFF80u);
  EXPECT_EQ(CColorButton::MarkOutlineColour(0x000000), 0x808080u);
}

TEST(CColorButtonTest, ClicksAndDoubleClicksReachTheOwner) {
  CColorButton button;
  button.resize(20, 14);
  QSignalSpy clicks(&button, &QAbstractButton::clicked);
  QTest::mouseClick(&button, Qt::LeftButton);
  QTest::mousePress(&button, Qt::LeftButton);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5),
                          button.mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
  QCoreApplication::sendEvent(&button, &doubleClick);
  QTest::mouseRelease(&button, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
}

TEST(CColorButtonTest, SetupPlacesTheButtonWithItsValuesAndToolTip) {
  test::TempFolder folder;
  const std::filesystem::path ini = folder / "Light.ini";
  test::WriteFile(ini, "[CONTROL]\nBTN_MOUSE_CPI_COLOR1=10,20,36,28\n");
  QWidget window;
  auto* button = new CColorButton(&window);
  SetupColorButton(ini, "BTN_MOUSE_CPI_COLOR1", *button, 0x0000FF, kBorders, 1,
                   QStringLiteral("Color of this level"), CColorButton::MarkMode::None, 0);
  EXPECT_EQ(button->geometry(), QRect(10, 20, 36, 28));
  EXPECT_EQ(button->objectName(), QStringLiteral("BTN_MOUSE_CPI_COLOR1"));
  EXPECT_EQ(button->toolTip(), QStringLiteral("Color of this level"));
  const QImage shown = Grab(*button);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(1, 1), qRgb(255, 0, 0));
  button->SetFillColour(0xFF0000);
  EXPECT_EQ(Grab(*button).pixel(1, 1), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace vexlo
