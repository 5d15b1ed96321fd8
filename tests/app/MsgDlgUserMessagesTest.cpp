#include "app/MsgDlgUserMessages.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "dialogs/CMsgDlg.h"
#include "profiles/AppSettings.h"

namespace vexlo {
namespace {

class MsgDlgUserMessagesTest : public ::testing::Test {
 protected:
  MsgDlgUserMessagesTest() : dialog_(settings_, language_), messages_(language_, &dialog_) {
    test::WriteFile(folder_ / "Lang_En.ini",
                    "[LANG]\nSTA_MSG_TITLE_INFO=Information\n"
                    "STA_MSG_INFO_DEV_OFFLINE=The mouse is not connected.\n");
    language_.Load(folder_ / "Lang_En.ini");
  }

  test::TempFolder folder_;
  AppSettings settings_;
  LanguageTable language_;
  CMsgDlg dialog_;
  MsgDlgUserMessages messages_;
};

TEST_F(MsgDlgUserMessagesTest, ShowsTheLanguageTextsOfTheKeysAndPassesTheAnswerOn) {
  dialog_.SetNextAnswer(CMsgDlg::kIdOk);
  EXPECT_EQ(messages_.ShowMessage("STA_MSG_INFO_DEV_OFFLINE", "STA_MSG_TITLE_INFO",
                                  UserMessages::kKeepOnTop, UserMessages::kNoticeColour),
            UserMessages::kOk);
  EXPECT_EQ(dialog_.Information(), QStringLiteral("The mouse is not connected."));
  EXPECT_EQ(dialog_.Title(), QStringLiteral("Information"));
  EXPECT_EQ(dialog_.Flags(), UserMessages::kKeepOnTop);

  dialog_.SetNextAnswer(CMsgDlg::kIdCancel);
  EXPECT_EQ(messages_.ShowMessage("STA_MSG_INFO_RESTORE", "STA_MSG_TITLE_RESTORE",
                                  UserMessages::kQuestion, UserMessages::kNoticeColour),
            UserMessages::kCancel);
  // Keys the language file lacks show as themselves.
  EXPECT_EQ(dialog_.Information(), QStringLiteral("STA_MSG_INFO_RESTORE"));
  EXPECT_EQ(dialog_.Title(), QStringLiteral("STA_MSG_TITLE_RESTORE"));
}

TEST(MsgDlgUserMessagesWithoutWindowsTest, QuestionsAreRefused) {
  LanguageTable language;
  MsgDlgUserMessages messages(language, nullptr);
  EXPECT_EQ(messages.ShowMessage("STA_MSG_INFO_RESTORE", "STA_MSG_TITLE_RESTORE",
                                 UserMessages::kQuestion, UserMessages::kNoticeColour),
            UserMessages::kCancel);
}

}  // namespace
}  // namespace vexlo
