#include "skin/CMenuEx.h"

#include <QPainter>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "SkinTestImages.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

using test::Grab;

// The colours of the button assignment menu, with a title background of its own.
MenuStyle SkinStyle() {
  MenuStyle style;
  style.titleBackground = 0x203040;
  style.itemBackground = 0x4B2D0F;
  style.iconColumnBackground = 0x3A220B;
  style.textColour = 0xC8C8C8;
  style.greyTextColour = 0x606060;
  style.separatorColour = 0x00C8C8;
  style.selectionBorder = 0x0000FF;
  style.selectionFill = 0xBA6908;
  style.disabledSelectionFill = 0x00FF00;
  return style;
}

QRgb Rgb(std::uint32_t colorref) {
  return ColorFromRef(colorref).rgb();
}

class CMenuExTest : public ::testing::Test {
 protected:
  CMenuExTest() : menu_(&owner_) {
    owner_.setFont(CreateSkinFont(-14, 400, QStringLiteral("Open Sans")));
    menu_.setFont(owner_.font());
  }

  // The item as DrawItem paints it into a picture of its own size.
  QImage Drawn(const QAction& action, QSize size, bool selected) {
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    menu_.DrawItem(painter, action, picture.rect(), selected);
    return picture;
  }

  QWidget owner_;
  CMenuEx menu_;
};

TEST_F(CMenuExTest, SwatchItemIsSolidAndFramedInItsInverseWhenSelected) {
  QAction* red = menu_.AppendItem(1, QStringLiteral("#RGB(255,0,0)"));
  menu_.Convert();
  const QImage normal = Drawn(*red, QSize(60, 20), false);
  for (const QPoint p : {QPoint(0, 0), QPoint(30, 10), QPoint(59, 19)}) {
    EXPECT_EQ(normal.pixel(p), qRgb(255, 0, 0));
  }
  const QImage selected = Drawn(*red, QSize(60, 20), true);
  EXPECT_EQ(selected.pixel(0, 0), qRgb(0, 255, 255));
  EXPECT_EQ(selected.pixel(59, 10), qRgb(0, 255, 255));
  EXPECT_EQ(selected.pixel(30, 19), qRgb(0, 255, 255));
  EXPECT_EQ(selected.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(selected.pixel(58, 18), qRgb(255, 0, 0));
}

TEST_F(CMenuExTest, SwatchNumbersWrapAtTwoHundredFiftySixAndMissingOnesAreZero) {
  QAction* wrapped = menu_.AppendItem(1, QStringLiteral("#RGB(256, 300,1)"));
  QAction* partial = menu_.AppendItem(2, QStringLiteral("#RGB(12,x)"));
  EXPECT_EQ(Drawn(*wrapped, QSize(10, 10), false).pixel(5, 5), qRgb(0, 44, 1));
  EXPECT_EQ(Drawn(*partial, QSize(10, 10), false).pixel(5, 5), qRgb(12, 0, 0));
}

TEST_F(CMenuExTest, SelectedItemIsOutlinedAndFilledAndOthersShowTheirColumns) {
  QAction* item = menu_.AppendItem(7, QStringLiteral("Left click"));
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  const QImage selected = Drawn(*item, QSize(160, 24), true);
  EXPECT_EQ(selected.pixel(0, 0), Rgb(0x0000FF));
  EXPECT_EQ(selected.pixel(159, 23), Rgb(0x0000FF));
  EXPECT_EQ(selected.pixel(2, 12), Rgb(0xBA6908));
  EXPECT_EQ(selected.pixel(157, 2), Rgb(0xBA6908));

  const QImage normal = Drawn(*item, QSize(160, 24), false);
  EXPECT_EQ(normal.pixel(2, 12), Rgb(0x3A220B));  // icon column: 3 + 16 + 3 pixels
  EXPECT_EQ(normal.pixel(21, 12), Rgb(0x3A220B));
  EXPECT_EQ(normal.pixel(22, 12), Rgb(0x4B2D0F));
  EXPECT_EQ(normal.pixel(157, 2), Rgb(0x4B2D0F));
}

TEST_F(CMenuExTest, DisabledItemUnderThePointerKeepsItsNormalBackgroundUnlessAllowed) {
  QAction* item = menu_.AppendItem(7, QStringLiteral("Sensitivity up"), false);
  menu_.Convert();
  MenuStyle style = SkinStyle();
  menu_.SetStyle(style);
  EXPECT_EQ(Drawn(*item, QSize(160, 24), true).pixel(157, 2), Rgb(0x4B2D0F));
  style.selectDisabledItems = true;
  menu_.SetStyle(style);
  const QImage allowed = Drawn(*item, QSize(160, 24), true);
  EXPECT_EQ(allowed.pixel(157, 2), Rgb(0x00FF00));
  EXPECT_EQ(allowed.pixel(0, 0), Rgb(0x0000FF));
}

TEST_F(CMenuExTest, SeparatorIsALineFromTheTextGapToTheRightEdge) {
  menu_.AppendItem(1, QStringLiteral("One"));
  QAction* separator = menu_.AppendSeparator();
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  const QImage drawn = Drawn(*separator, QSize(100, 7), false);
  // Text area from 22; the line starts 5 further, at the middle row 3.
  EXPECT_EQ(drawn.pixel(26, 3), Rgb(0x4B2D0F));
  EXPECT_EQ(drawn.pixel(27, 3), Rgb(0x00C8C8));
  EXPECT_EQ(drawn.pixel(99, 3), Rgb(0x00C8C8));
  EXPECT_EQ(drawn.pixel(50, 2), Rgb(0x4B2D0F));
  EXPECT_EQ(drawn.pixel(10, 3), Rgb(0x3A220B));
}

// Pixels of the picture inside the rectangle that are near the colour.
int CountNear(const QImage& picture, const QRect& rect, QRgb colour) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QRgb p = picture.pixel(x, y);
      if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
              std::abs(qBlue(p) - qBlue(colour)) <
          40) {
        ++count;
      }
    }
  }
  return count;
}

TEST_F(CMenuExTest, CheckedItemShowsABoxedCheckMarkInItsIconCell) {
  QAction* checked = menu_.AppendItem(1, QStringLiteral("1000 Hz"), true, true);
  QAction* unchecked = menu_.AppendItem(2, QStringLiteral("500 Hz"));
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  const QRect cell(3, 3, 16, 16);
  const QImage on = Drawn(*checked, QSize(160, 22), false);
  EXPECT_EQ(on.pixel(3, 3), Rgb(0x0000FF));
  EXPECT_EQ(on.pixel(18, 18), Rgb(0x0000FF));
  EXPECT_GT(CountNear(on, cell.adjusted(1, 1, -1, -1), Rgb(0xC8C8C8)), 6);
  const QImage off = Drawn(*unchecked, QSize(160, 22), false);
  EXPECT_EQ(CountNear(off, cell, Rgb(0xC8C8C8)), 0);
  EXPECT_EQ(off.pixel(3, 3), Rgb(0x3A220B));
}

TEST_F(CMenuExTest, ItemsMeasureFromTheOwnersFontAndTheStyle) {
  QAction* item = menu_.AppendItem(1, QStringLiteral("Play / Pause"));
  QAction* separator = menu_.AppendSeparator();
  menu_.Convert();
  const QFontMetrics metrics(owner_.font());
  const int textWidth = MeasureText(metrics, QRect(), item->text(), 69 | dt::kSingleLine).width();
  EXPECT_EQ(menu_.MeasureItem(*item),
            QSize(16 + (5 + 3) * 2 + textWidth, std::max(metrics.height() + 6, 22)));
  EXPECT_EQ(menu_.MeasureItem(*separator).height(), 7);

  menu_.SetFixedItemWidth(177);
  EXPECT_EQ(menu_.MeasureItem(*item).width(), 177);
  EXPECT_EQ(menu_.MeasureItem(*separator).width(), 177);
}

TEST_F(CMenuExTest, TallIconCellsGrowTheTextMarginOfEveryItem) {
  QAction* separator = menu_.AppendSeparator();
  QAction* item = menu_.AppendItem(1, QStringLiteral("Stop"));
  menu_.Convert();
  MenuStyle style = menu_.Style();
  style.iconHeight = 40;
  menu_.SetStyle(style);
  const int line = QFontMetrics(owner_.font()).height() + 6;
  const int grown = 3 + (46 - line) / 2;
  EXPECT_EQ(menu_.MeasureItem(*item).height(), 46);
  EXPECT_EQ(menu_.MeasureItem(*separator).height(), grown * 2 + 1);
  EXPECT_EQ(menu_.Layout(*item, QRect(0, 0, 100, 46)).textRect.top(), grown);
}

TEST_F(CMenuExTest, MenuOfSeparatorsOnlyHasThinItems) {
  QAction* first = menu_.AppendSeparator();
  menu_.AppendSeparator();
  MenuStyle style = menu_.Style();
  style.iconHeight = 40;
  menu_.SetStyle(style);
  menu_.Convert();
  EXPECT_EQ(menu_.MeasureItem(*first).height(), 7);
  // Both stay, although a plain menu would drop separators at its ends.
  EXPECT_EQ(menu_.sizeHint().height(), 7 * 2 + 2 * kMenuBorderWidth);
}

TEST_F(CMenuExTest, TitleItemsAreNarrowFixedHeightAndCentredWithoutIconColumn) {
  QAction* title = menu_.AppendItem(1, QStringLiteral("Profiles"));
  menu_.Convert(true);
  EXPECT_TRUE(menu_.IsTitleItem(*title));
  EXPECT_EQ(menu_.MeasureItem(*title), QSize(8 * 5, 20));
  const CMenuEx::ItemLayout layout = menu_.Layout(*title, QRect(0, 0, 80, 20));
  EXPECT_TRUE(layout.iconColumn.isEmpty());
  EXPECT_EQ(layout.textRect, QRect(2, 3, 78, 17));
  menu_.SetStyle(SkinStyle());
  EXPECT_EQ(Drawn(*title, QSize(80, 20), false).pixel(1, 1), Rgb(0x203040));
}

TEST_F(CMenuExTest, ConvertMakesPlainSubMenusOwnerDrawnAndStyleReachesThem) {
  menu_.AppendItem(1, QStringLiteral("Left click"));
  QMenu* plain = menu_.addMenu(QStringLiteral("Media"));
  plain->addAction(QStringLiteral("Play"))->setData(20);
  plain->addAction(QStringLiteral("Stop"))->setData(21);
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  QAction* opener = menu_.actions().at(1);
  auto* sub = dynamic_cast<CMenuEx*>(opener->menu());
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(sub->actions().size(), 2);
  EXPECT_EQ(CMenuEx::CommandId(*sub->actions().at(1)), 21);
  EXPECT_EQ(sub->Style().itemBackground, 0x4B2D0Fu);

  // The item that opens it carries an arrow at the right, in the text colour.
  const QImage drawn = Drawn(*opener, QSize(160, 24), false);
  const int box = owner_.logicalDpiY() * 14 / 96;
  EXPECT_GT(CountNear(drawn, QRect(160 - box - 6, 0, box, 24), Rgb(0xC8C8C8)), 2);
  EXPECT_EQ(CountNear(drawn, QRect(154, 0, 6, 24), Rgb(0xC8C8C8)), 0);
}

// Runs `step` once the menu's own loop runs, then tracks the menu.
int TrackWhile(CMenuEx& menu, const std::function<void()>& step) {
  QTimer::singleShot(0, &menu, step);
  return menu.Track(QPoint(100, 100));
}

TEST_F(CMenuExTest, TrackAnswersTheCommandChosenByKeyboard) {
  menu_.AppendItem(11, QStringLiteral("One"));
  menu_.AppendSeparator();
  menu_.AppendItem(12, QStringLiteral("Two"));
  menu_.Convert();
  EXPECT_EQ(TrackWhile(menu_,
                       [this] {
                         QTest::keyClick(&menu_, Qt::Key_Down);
                         QTest::keyClick(&menu_, Qt::Key_Down);
                         QTest::keyClick(&menu_, Qt::Key_Return);
                       }),
            12);
  EXPECT_EQ(TrackWhile(menu_, [this] { QTest::keyClick(&menu_, Qt::Key_Escape); }), 0);
}

TEST_F(CMenuExTest, TrackAnswersTheCommandChosenInASubMenu) {
  menu_.AppendItem(11, QStringLiteral("One"));
  CMenuEx* media = menu_.AppendSubMenu(QStringLiteral("Media"));
  media->AppendItem(30, QStringLiteral("Play"));
  media->AppendItem(31, QStringLiteral("Stop"));
  menu_.Convert();
  EXPECT_EQ(TrackWhile(menu_,
                       [this, media] {
                         QTest::keyClick(&menu_, Qt::Key_Down);
                         QTest::keyClick(&menu_, Qt::Key_Down);
                         QTest::keyClick(&menu_, Qt::Key_Right);
                         QTest::keyClick(media, Qt::Key_Down);
                         QTest::keyClick(media, Qt::Key_Return);
                       }),
            31);
}

TEST_F(CMenuExTest, PointerHighlightsTheItemUnderItAndAClickChoosesIt) {
  menu_.AppendItem(11, QStringLiteral("One"));
  QAction* two = menu_.AppendItem(12, QStringLiteral("Two"));
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  SetMenuBorderColours(0x0A7CDC, 0x4B2D0F);
  const int chosen = TrackWhile(menu_, [this, two] {
    const QRect item = menu_.actionGeometry(two);
    QTest::mouseMove(&menu_, item.center());
    EXPECT_EQ(menu_.activeAction(), two);
    const QImage shown = Grab(menu_);
    EXPECT_EQ(shown.pixel(item.right() - 2, item.top() + 2), Rgb(0xBA6908));
    EXPECT_EQ(shown.pixel(item.left(), item.top()), Rgb(0x0000FF));
    // The border: one frame outside, two inside.
    EXPECT_EQ(shown.pixel(0, 0), Rgb(0x0A7CDC));
    EXPECT_EQ(shown.pixel(1, 1), Rgb(0x4B2D0F));
    EXPECT_EQ(shown.pixel(2, shown.height() - 3), Rgb(0x4B2D0F));
    EXPECT_EQ(item.left(), kMenuBorderWidth);
    QTest::mouseClick(&menu_, Qt::LeftButton, Qt::NoModifier, item.center());
  });
  EXPECT_EQ(chosen, 12);
  SetMenuBorderColours(kDefaultMenuOuterBorder, kDefaultMenuInnerBorder);
}

// Taller than the screen, a menu scrolls: the band at its bottom is in the menu's background, with
// an arrow in its text colour.
TEST_F(CMenuExTest, AMenuTallerThanTheScreenShowsItsScrollArrowInItsColours) {
  for (int i = 1; i <= 200; ++i) menu_.AppendItem(i, QString::number(i));
  menu_.Convert();
  menu_.SetStyle(SkinStyle());
  menu_.popup(QPoint(0, 0));
  const QImage shown = Grab(menu_);
  menu_.close();
  const int height = menu_.style()->pixelMetric(QStyle::PM_MenuScrollerHeight, nullptr, &menu_);
  const QRect band(kMenuBorderWidth, shown.height() - kMenuBorderWidth - height,
                   shown.width() - 2 * kMenuBorderWidth, height);
  int background = 0;
  int arrow = 0;
  for (int y = band.top(); y <= band.bottom(); ++y) {
    for (int x = band.left(); x <= band.right(); ++x) {
      const QRgb pixel = shown.pixel(x, y);
      background += pixel == Rgb(SkinStyle().itemBackground);
      arrow += qGray(pixel) > qGray(Rgb(SkinStyle().textColour)) * 3 / 4;
    }
  }
  EXPECT_GT(background, band.width() * band.height() * 9 / 10);
  EXPECT_GT(arrow, 4);
}

TEST_F(CMenuExTest, FixedItemWidthSetsTheMenusWidth) {
  menu_.AppendItem(11, QStringLiteral("125"));
  menu_.SetFixedItemWidth(150);
  menu_.Convert();
  EXPECT_EQ(menu_.sizeHint().width(), 150 + 2 * kMenuBorderWidth);
}

}  // namespace
}  // namespace vexlo
