#include "dialogs/CSngKbdDlg.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "DialogTestContext.h"
#include "common/Messages.h"
#include "engine/ScanCodeTable.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/ColorRef.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kRelease = 0xC0000001;  // previous state, transition, repeat count 1

class CSngKbdDlgTest : public ::testing::Test {
 protected:
  CSngKbdDlgTest() : dialog_(context_.settings, context_.language) {
    EXPECT_EQ(dialog_.LoadSkin(), Result::Ok);
  }

  int Run(const std::function<void()>& whileOpen) {
    return test::RunWhileOpen(dialog_, whileOpen, [this] { return dialog_.exec(); });
  }

  QString ShownKey() { return dialog_.findChild<CColorStatic*>(QStringLiteral("STA_KEY"))->text(); }

  // A key event as the desktop delivers it: with its X keycode (evdev code + 8).
  void SendKey(QEvent::Type type, int key, std::uint32_t xKeycode) {
    QKeyEvent event(type, key, Qt::NoModifier, xKeycode, 0, 0);
    QCoreApplication::sendEvent(&dialog_, &event);
    QCoreApplication::sendPostedEvents(&dialog_);
  }

  void Hook(std::uintptr_t virtualKey, std::uint32_t flags) {
    dialog_.OnWindowMessage(UM_KEY_HOOK, virtualKey, static_cast<std::intptr_t>(flags));
  }

  void ClickApply() {
    QTest::mouseClick(dialog_.findChild<CImageBtn*>(QStringLiteral("BTN_APPLY")), Qt::LeftButton);
  }

  test::DialogTestContext context_;
  CSngKbdDlg dialog_;
};

TEST_F(CSngKbdDlgTest, OpensWithItsTextsAndTheCurrentKey) {
  dialog_.SetKey(0x1E);
  Run([this] {
    EXPECT_EQ(dialog_.size(), QSize(420, 320));
    EXPECT_EQ(dialog_.findChild<CColorStatic*>(QStringLiteral("STA_TITLE"))->text(),
              QStringLiteral("Assign a key"));
    EXPECT_TRUE(dialog_.findChild<CImageBtn*>(QStringLiteral("BTN_SUBTITLE"))
                    ->text()
                    .startsWith(QStringLiteral("Press the key")));
    EXPECT_EQ(dialog_.findChild<CImageBtn*>(QStringLiteral("BTN_APPLY"))->text(),
              QStringLiteral("Apply"));
    EXPECT_EQ(dialog_.findChild<CImageBtn*>(QStringLiteral("BTN_CLOSE"))->toolTip(),
              QStringLiteral("Close"));
    const auto* key = dialog_.findChild<CColorStatic*>(QStringLiteral("STA_KEY"));
    EXPECT_EQ(key->text(), QStringLiteral("A"));
    EXPECT_FALSE(key->IsTransparent());
    EXPECT_EQ(key->BackgroundColour(), QColor(255, 255, 255));
    EXPECT_EQ(key->TextColour(), ColorFromRef(0xC86E3C));
    dialog_.close();
  });
}

TEST_F(CSngKbdDlgTest, AButtonWithoutAKeyShowsNoName) {
  dialog_.SetKey(0);
  Run([this] {
    EXPECT_TRUE(ShownKey().isEmpty());
    dialog_.close();
  });
}

TEST_F(CSngKbdDlgTest, ThePressedKeyShowsAndApplyReturnsIt) {
  dialog_.SetKey(0x1E);
  const int result = Run([this] {
    QTest::keyClick(&dialog_, Qt::Key_B);
    QCoreApplication::sendPostedEvents(&dialog_);
    EXPECT_EQ(ShownKey(), QStringLiteral("B"));
    ClickApply();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(dialog_.Key(), 0x30);
}

TEST_F(CSngKbdDlgTest, EnterAndEscapeAreKeysToChooseNotAnswers) {
  const int result = Run([this] {
    QTest::keyClick(&dialog_, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(&dialog_);
    EXPECT_EQ(ShownKey(), QStringLiteral("Enter"));
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(&dialog_);
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(ShownKey(), QStringLiteral("Esc"));
    ClickApply();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(dialog_.Key(), 0x01);
}

TEST_F(CSngKbdDlgTest, CloseButtonAndCloseRequestCancel) {
  dialog_.SetKey(0x1E);
  EXPECT_EQ(Run([this] {
              QTest::mouseClick(dialog_.findChild<CImageBtn*>(QStringLiteral("BTN_CLOSE")),
                                Qt::LeftButton);
            }),
            QDialog::Rejected);
  EXPECT_EQ(Run([this] { dialog_.close(); }), QDialog::Rejected);
  // Cancelling by itself is refused: only a close request ends the window without Apply.
  EXPECT_EQ(Run([this] {
              dialog_.reject();
              dialog_.accept();
              EXPECT_TRUE(dialog_.isVisible());
              dialog_.close();
            }),
            QDialog::Rejected);
}

TEST_F(CSngKbdDlgTest, KeysOfTheDesktopAreNamedByTheirScanCodes) {
  Run([this] {
    SendKey(QEvent::KeyPress, Qt::Key_Shift, 62);  // right Shift
    EXPECT_EQ(dialog_.Key(), 0xB6);
    EXPECT_EQ(ShownKey(), QStringLiteral("Right Shift"));
    SendKey(QEvent::KeyRelease, Qt::Key_Shift, 62);
    SendKey(QEvent::KeyPress, Qt::Key_Return, 104);  // keypad Enter
    EXPECT_EQ(ShownKey(), QStringLiteral("Keypad Enter"));
    SendKey(QEvent::KeyRelease, Qt::Key_Print, 107);  // Print Screen, seen on release only
    EXPECT_EQ(dialog_.Key(), 0xB7);
    EXPECT_EQ(ShownKey(), QStringLiteral("Print Screen"));
    SendKey(QEvent::KeyPress, Qt::Key_VolumeMute, 121);  // a consumer key: ignored
    EXPECT_EQ(dialog_.Key(), 0xB7);
    dialog_.close();
  });
}

struct HookCase {
  const char* name;
  std::uintptr_t virtualKey;
  std::uint32_t flags;
  std::uint8_t key;  // the key afterwards; 0x2E ('C') when the keystroke is ignored
};

void PrintTo(const HookCase& c, std::ostream* out) {
  *out << c.name;
}

class CSngKbdDlgHookTest : public CSngKbdDlgTest, public ::testing::WithParamInterface<HookCase> {};

TEST_P(CSngKbdDlgHookTest, KeystrokeChoosesTheKeyTheProgramUses) {
  const HookCase& c = GetParam();
  dialog_.SetKey(0x2E);
  Run([&] {
    Hook(c.virtualKey, c.flags);
    EXPECT_EQ(ShownKey(), QString::fromStdString(ScanKeyName(c.key)));
    dialog_.close();
  });
  EXPECT_EQ(dialog_.Key(), c.key);
}

INSTANTIATE_TEST_SUITE_P(
    Keystrokes, CSngKbdDlgHookTest,
    ::testing::Values(HookCase{"Letter", 0x41, 0x001E0001, 0x1E},
                      HookCase{"RightShiftWithoutExtendedFlag", 0x10, 0x00360001, 0xB6},
                      HookCase{"CtrlBreakIsPause", 0x03, 0x01460001, 0x45},
                      HookCase{"SysRqIsPrintScreen", 0x2C, 0x00540001, 0xB7},
                      HookCase{"PrintScreenRelease", 0x2C, kRelease | 0x01370000, 0xB7},
                      HookCase{"KoreanKeyRelease", 0x19, kRelease | 0x00710000, 0x71},
                      HookCase{"OtherReleasesIgnored", 0x42, kRelease | 0x00300000, 0x2E},
                      HookCase{"NoScanCodeUsesTheVirtualKey", 0x27, 0x00000001, 0xCD},
                      HookCase{"ExtendedWithoutScanCodeUsesTheVirtualKey", 0x2E, 0x01000001, 0xD3},
                      HookCase{"ConsumerKeyIgnored", 0xAD, 0x01200001, 0x2E},
                      HookCase{"SystemKeyIgnored", 0x5F, 0x015F0001, 0x2E},
                      HookCase{"KeyWithoutCodeIgnored", 0x00, 0x005A0001, 0x2E},
                      HookCase{"UnknownKeyIgnored", 0x00, 0x00000001, 0x2E}),
    [](const ::testing::TestParamInfo<HookCase>& param) { return std::string(param.param.name); });

TEST_F(CSngKbdDlgTest, KeysReachOtherWindowsAgainOnceItCloses) {
  QWidget other;
  auto* edit = new QLineEdit(&other);
  Run([&] {
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_TRUE(edit->text().isEmpty());
    dialog_.close();
  });
  QTest::keyClick(edit, Qt::Key_X);
  EXPECT_EQ(edit->text(), QStringLiteral("x"));
  // Keystrokes that arrive after the window closed choose nothing.
  dialog_.SetKey(0x2E);
  Hook(0x41, 0x001E0001);
  EXPECT_EQ(dialog_.Key(), 0x2E);
}

TEST_F(CSngKbdDlgTest, EveryOpeningStartsAfresh) {
  Run([this] { dialog_.close(); });
  dialog_.SetKey(0x10);
  Run([this] {
    EXPECT_EQ(ShownKey(), QStringLiteral("Q"));
    ClickApply();
  });
  EXPECT_EQ(dialog_.Key(), 0x10);
}

}  // namespace
}  // namespace vexlo
