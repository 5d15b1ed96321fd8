#include "dialogs/CAboutDlg.h"

#include <QTest>

#include <gtest/gtest.h>

#include "DialogTestContext.h"
#include "TempFolder.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/ColorRef.h"

namespace vexlo {
namespace {

class CAboutDlgTest : public ::testing::Test {
 protected:
  CAboutDlgTest() : dialog_(context_.settings, context_.language, "1.2.3.4") {}

  int Run(const std::function<void()>& whileOpen) {
    return test::RunWhileOpen(dialog_, whileOpen, [this] { return dialog_.Run(); });
  }

  test::DialogTestContext context_;
  CAboutDlg dialog_;
};

TEST_F(CAboutDlgTest, ShowsTheVersionsMajorAndMinorNumber) {
  Run([this] {
    EXPECT_EQ(dialog_.size(), QSize(420, 320));
    const auto* version = dialog_.findChild<CColorStatic*>("STA_SW_VER");
    EXPECT_EQ(version->text(), QStringLiteral("Software version V1.2"));
    EXPECT_EQ(version->TextColour(), ColorFromRef(0xFFFFFF));
    EXPECT_EQ(dialog_.findChild<CImageBtn*>("BTN_CLOSE")->text(), QStringLiteral("Close"));
    dialog_.close();
  });
}

TEST_F(CAboutDlgTest, OnlyTheCloseButtonAndACloseRequestEndIt) {
  EXPECT_EQ(Run([this] {
              // Keys go where the focus is; the close button never takes it.
              EXPECT_EQ(dialog_.findChild<CImageBtn*>("BTN_CLOSE")->focusPolicy(), Qt::NoFocus);
              QWidget* focus = dialog_.focusWidget() ? dialog_.focusWidget() : &dialog_;
              for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(focus, key);
              }
              EXPECT_TRUE(dialog_.IsShowing());
              QTest::mouseClick(dialog_.findChild<CImageBtn*>("BTN_CLOSE"), Qt::LeftButton);
            }),
            CAboutDlg::kIdCancel);
  EXPECT_FALSE(dialog_.IsShowing());
  // Shown again, the keys still do not close it, and a close request from outside does.
  EXPECT_EQ(Run([this] {
              QTest::keyClick(&dialog_, Qt::Key_Escape);
              EXPECT_TRUE(dialog_.IsShowing());
              dialog_.close();
            }),
            CAboutDlg::kIdCancel);
}

TEST_F(CAboutDlgTest, AMissingPictureGivesBadData) {
  test::TempFolder skins;
  test::WriteFile(skins / "About.ini", "[Control]\nSTA_SW_VER=24,226,372,24\n");
  AppSettings settings = context_.settings;
  settings.SkinFolder = skins.path();
  CAboutDlg dialog(settings, context_.language, "1.0.0");
  EXPECT_EQ(dialog.LoadSkin(), Result::BadData);
}

TEST(MajorMinorVersion, TakesTheFirstTwoNumbers) {
  const struct {
    const char* version;
    const char* shown;
  } cases[] = {
      {"1.2.3.4", "1.2"}, {"1.0.0", "1.0"}, {"10.20", "10.20"}, {"7", "7.0"}, {"", "0.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MajorMinorVersion(c.version), QString::fromLatin1(c.shown)) << c.version;
  }
}

}  // namespace
}  // namespace vexlo
