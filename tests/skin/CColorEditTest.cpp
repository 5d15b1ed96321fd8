#include "skin/CColorEdit.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "TempFolder.h"
#include "skin/DrawText.h"

namespace vexlo {
namespace {

using test::Grab;

class CColorEditTest : public ::testing::Test {
 protected:
  CColorEditTest() {
    ini_ = std::filesystem::path(folder_.path()) / "FireKey.ini";
    test::WriteFile(ini_, "[CONTROL]\nEDIT_INTVL=286,70,110,32\n");
    edit_ = new CColorEdit(&window_);
  }

  test::TempFolder folder_;
  std::filesystem::path ini_;
  QWidget window_;
  CColorEdit* edit_;
};

TEST_F(CColorEditTest, StartsInTheDesktopColours) {
  const QPalette desktop = QApplication::palette();
  EXPECT_EQ(edit_->BackgroundColour(), desktop.color(QPalette::Active, QPalette::Base));
  edit_->setEnabled(false);
  EXPECT_EQ(edit_->BackgroundColour(), desktop.color(QPalette::Button));
}

TEST_F(CColorEditTest, SetupGivesTheSkinsBackgroundInBothStates) {
  const QFont font = CreateSkinFont(-14, 400, QStringLiteral("Open Sans"));
  SetupColorEdit(ini_, "EDIT_INTVL", *edit_, 0xC8C8C8, &font);
  EXPECT_EQ(edit_->geometry(), QRect(286, 70, 110, 32));
  EXPECT_EQ(edit_->objectName(), QStringLiteral("EDIT_INTVL"));
  EXPECT_EQ(edit_->font().pixelSize(), 14);
  EXPECT_EQ(edit_->TextColour(), QColor(0xC8, 0xC8, 0xC8));
  EXPECT_EQ(Grab(*edit_).pixel(1, 1), qRgb(0x06, 0x11, 0x1E));
  edit_->setEnabled(false);
  EXPECT_EQ(edit_->BackgroundColour(), QColor(0x06, 0x11, 0x1E));
  EXPECT_EQ(Grab(*edit_).pixel(1, 1), qRgb(0x06, 0x11, 0x1E));
}

TEST_F(CColorEditTest, DisabledFieldUsesItsOwnBackground) {
  edit_->resize(60, 20);
  edit_->SetColours(0x0000FF, 0x00FF00, 0xFFFFFF);
  EXPECT_EQ(Grab(*edit_).pixel(2, 2), qRgb(255, 0, 0));
  edit_->setEnabled(false);
  EXPECT_EQ(Grab(*edit_).pixel(2, 2), qRgb(0, 255, 0));
}

TEST_F(CColorEditTest, CenteredTextLineStartsAtTheSkinsOffset) {
  const QFont font = CreateSkinFont(-14, 400, QStringLiteral("Open Sans"));
  SetupColorEdit(ini_, "EDIT_INTVL", *edit_, 0xC8C8C8, &font);
  edit_->setText(QStringLiteral("120"));
  CenterEditText(*edit_);
  const int fontHeight = QFontMetrics(font).height();
  Grab(*edit_);  // the line edit places its text line when it paints
  // The line's top: (client height - font height) / 2 - 1.
  EXPECT_EQ(edit_->inputMethodQuery(Qt::ImCursorRectangle).toRect().top(),
            (32 - fontHeight) / 2 - 1);
  EXPECT_TRUE(edit_->alignment() & Qt::AlignTop);
}

}  // namespace
}  // namespace vexlo
