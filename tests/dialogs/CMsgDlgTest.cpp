#include "dialogs/CMsgDlg.h"

#include <QEnterEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "DialogTestContext.h"
#include "SkinTestImages.h"
#include "TempFolder.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/ColorRef.h"
#include "skin/SkinFile.h"

namespace vexlo {
namespace {

using test::Grab;

constexpr std::uint32_t kQuestionFlags = 4;

class CMsgDlgTest : public ::testing::Test {
 protected:
  CMsgDlgTest() : dialog_(context_.settings, context_.language) {}

  // Shows a message and runs `whileOpen` while it shows; returns the answer.
  int Show(std::uint32_t flags, const std::function<void()>& whileOpen,
           const QString& information = QStringLiteral("The mouse is not connected."),
           const QString& title = QStringLiteral("Information")) {
    return test::RunWhileOpen(dialog_, whileOpen, [&] {
      return dialog_.ShowMessage(information, title, flags, 0xC86E3C);
    });
  }

  CImageBtn* Button(const char* key) {
    return dialog_.findChild<CImageBtn*>(QString::fromLatin1(key));
  }

  test::DialogTestContext context_;
  CMsgDlg dialog_;
};

TEST_F(CMsgDlgTest, SkinLoadsAndSizesTheWindow) {
  ASSERT_EQ(dialog_.LoadSkin(), Result::Ok);
  EXPECT_EQ(Show(0,
                 [this] {
                   EXPECT_EQ(dialog_.size(), QSize(460, 220));
                   dialog_.close();
                 }),
            CMsgDlg::kIdCancel);
}

struct CaptionCase {
  const char* name;
  std::uint32_t flags;
  const char* ok;
  const char* cancel;
  bool onTop;
};

void PrintTo(const CaptionCase& c, std::ostream* out) {
  *out << c.name;
}

class CMsgDlgCaptionTest : public CMsgDlgTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CMsgDlgCaptionTest, FlagsChooseTheCaptionsAndTheLayer) {
  const CaptionCase& c = GetParam();
  Show(c.flags, [&] {
    EXPECT_EQ(Button("BTN_OK")->text(), QString::fromLatin1(c.ok));
    EXPECT_EQ(Button("BTN_CANCEL")->text(), QString::fromLatin1(c.cancel));
    EXPECT_EQ((dialog_.windowFlags() & Qt::WindowStaysOnTopHint) != 0, c.onTop);
    dialog_.close();
  });
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CMsgDlgCaptionTest,
    ::testing::Values(CaptionCase{"Notice", 0, "OK", "Cancel", false},
                      CaptionCase{"Question", 4, "Yes", "No", false},
                      CaptionCase{"NoticeOnTop", 0x40000, "OK", "Cancel", true},
                      CaptionCase{"QuestionOnTop", 0x40004, "Yes", "No", true}),
    [](const ::testing::TestParamInfo<CaptionCase>& param) {
      return std::string(param.param.name);
    });

TEST_F(CMsgDlgTest, ShowsTheTitleAndTheInformationText) {
  Show(0, [this] {
    const auto* title = dialog_.findChild<CColorStatic*>(QStringLiteral("STA_TITLE"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Information"));
    EXPECT_EQ(title->TextColour(), ColorFromRef(0xC86E3C));
    EXPECT_TRUE(title->IsTransparent());
    CImageBtn* information = Button("BTN_INFO");
    EXPECT_EQ(information->text(), QStringLiteral("The mouse is not connected."));
    EXPECT_FALSE(information->isEnabled());
    EXPECT_EQ(information->CaptionColour(), QColor(0xC8, 0xC8, 0xC8));
    dialog_.close();
  });
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Information"));
}

TEST_F(CMsgDlgTest, ClickingOkAnswersOkAndCancelAnswersCancel) {
  EXPECT_EQ(Show(4, [this] { QTest::mouseClick(Button("BTN_OK"), Qt::LeftButton); }),
            CMsgDlg::kIdOk);
  EXPECT_EQ(Show(4, [this] { QTest::mouseClick(Button("BTN_CANCEL"), Qt::LeftButton); }),
            CMsgDlg::kIdCancel);
  EXPECT_FALSE(dialog_.IsShowing());
}

TEST_F(CMsgDlgTest, TheKeyboardNeverAnswersWhereverTheFocusIs) {
  // A key held down in a game when the question appears must not answer it.
  const int answer = Show(kQuestionFlags, [this] {
    for (QWidget* receiver :
         {static_cast<QWidget*>(&dialog_), static_cast<QWidget*>(Button("BTN_OK")),
          static_cast<QWidget*>(Button("BTN_CANCEL"))}) {
      receiver->setFocus(Qt::TabFocusReason);
      for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(receiver, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QTest::keyPress(receiver, key);  // held down: repeats arrive
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(receiver, &repeat);
        QTest::keyRelease(receiver, key);
      }
    }
    EXPECT_TRUE(dialog_.IsShowing());
    QTest::mouseClick(Button("BTN_OK"), Qt::LeftButton);
  });
  EXPECT_EQ(answer, CMsgDlg::kIdOk);  // the click, not a key
}

TEST_F(CMsgDlgTest, CloseRequestFromOutsideAnswersCancel) {
  EXPECT_EQ(Show(0, [this] { dialog_.close(); }), CMsgDlg::kIdCancel);
}

TEST_F(CMsgDlgTest, SecondMessageWhileOneShowsIsRefusedAndChangesNothing) {
  int second = 0;
  const int first = Show(0, [&] {
    second = dialog_.ShowMessage(QStringLiteral("Other"), QStringLiteral("Warning"), 4, 0xC0);
    EXPECT_EQ(Button("BTN_INFO")->text(), QStringLiteral("The mouse is not connected."));
    QTest::mouseClick(Button("BTN_OK"), Qt::LeftButton);
  });
  EXPECT_EQ(second, CMsgDlg::kIdCancel);
  EXPECT_EQ(first, CMsgDlg::kIdOk);
  EXPECT_EQ(dialog_.Title(), QStringLiteral("Information"));
}

TEST_F(CMsgDlgTest, NextAnswerAnswersWithoutShowingAndKeepsTheTexts) {
  dialog_.SetNextAnswer(CMsgDlg::kIdOk);
  dialog_.SetNextAnswer(CMsgDlg::kIdCancel);
  EXPECT_EQ(dialog_.ShowMessage(QStringLiteral("Delete?"), QStringLiteral("Delete"), 4, 0xC0),
            CMsgDlg::kIdOk);
  EXPECT_EQ(dialog_.Information(), QStringLiteral("Delete?"));
  EXPECT_EQ(dialog_.Title(), QStringLiteral("Delete"));
  EXPECT_EQ(dialog_.Flags(), 4u);
  EXPECT_EQ(dialog_.ShowMessage(QStringLiteral("x"), QStringLiteral("y"), 0, 0),
            CMsgDlg::kIdCancel);
  EXPECT_FALSE(dialog_.IsShowing());
}

TEST_F(CMsgDlgTest, ButtonsShowTheSkinsPicturesOfTheirState) {
  SkinFile<DibImage> skin(std::filesystem::path(context_.settings.SkinFolder) / "Msg.ini");
  ASSERT_EQ(skin.Load(), Result::Ok);
  Show(0, [&] {
    CImageBtn* ok = Button("BTN_OK");
    const QRect rect = skin.Rect("BTN_OK");
    EXPECT_EQ(ok->geometry(), rect);
    EXPECT_EQ(Grab(*ok).pixel(1, 1), skin.Main().Pixel(rect.left() + 1, rect.top() + 1));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), ok->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(ok, &enter);
    EXPECT_EQ(ok->CaptionColour(), QColor(255, 255, 255));
    EXPECT_EQ(Grab(*ok).pixel(1, 1), skin.Highlight().Pixel(rect.left() + 1, rect.top() + 1));
    // The information area is disabled and shows the normal picture.
    const QRect info = skin.Rect("BTN_INFO");
    EXPECT_EQ(Grab(*Button("BTN_INFO")).pixel(0, 0), skin.Main().Pixel(info.left(), info.top()));
    dialog_.close();
  });
}

TEST_F(CMsgDlgTest, MissingLanguageKeysShowAsTheirKeys) {
  test::TempFolder folder;
  test::WriteFile(folder / "Lang_Xx.ini", "[LANG]\nBTN_MSG_YES=Ja\n");
  LanguageTable partial;
  partial.Load(folder / "Lang_Xx.ini");
  CMsgDlg dialog(context_.settings, partial);
  test::RunWhileOpen(
      dialog,
      [&] {
        EXPECT_EQ(dialog.findChild<CImageBtn*>(QStringLiteral("BTN_OK"))->text(),
                  QStringLiteral("Ja"));
        EXPECT_EQ(dialog.findChild<CImageBtn*>(QStringLiteral("BTN_CANCEL"))->text(),
                  QStringLiteral("BTN_MSG_NO"));
        dialog.close();
      },
      [&] { return dialog.ShowMessage(QStringLiteral("i"), QStringLiteral("t"), 4, 0); });
}

TEST_F(CMsgDlgTest, WithoutItsSkinTheMessageStillShowsAndAnswersACloseRequest) {
  AppSettings nowhere = context_.settings;
  nowhere.SkinFolder = "/nonexistent/";
  CMsgDlg dialog(nowhere, context_.language);
  EXPECT_EQ(dialog.LoadSkin(), Result::BadData);
  EXPECT_EQ(test::RunWhileOpen(
                dialog,
                [&] {
                  EXPECT_EQ(dialog.findChild<CImageBtn*>(QStringLiteral("BTN_INFO"))->text(),
                            QStringLiteral("i"));
                  dialog.close();
                },
                [&] { return dialog.ShowMessage("i", "t", 0, 0); }),
            CMsgDlg::kIdCancel);
}

}  // namespace
}  // namespace vexlo
