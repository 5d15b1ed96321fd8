#include "skin/KeyboardHook.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "PostedMessages.h"
#include "common/Messages.h"
#include "skin/QtKeystroke.h"

namespace vexlo {
namespace {

using test::PostedMessage;

class KeyboardHookTest : public ::testing::Test {
 protected:
  KeyboardHookTest() : edit_(new QLineEdit(&window_)) {
    shortcut_ = new QAction(&window_);
    shortcut_->setShortcut(QKeySequence(Qt::Key_F5));
    window_.addAction(shortcut_);
    window_.show();
    window_.activateWindow();
    // Shortcuts work only in the active window.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    edit_->setFocus();
  }

  QWidget window_;
  QLineEdit* edit_;
  QAction* shortcut_;
  test::PostedMessages receiver_;
};

TEST_F(KeyboardHookTest, EveryKeystrokeGoesToTheReceiverAndNoneToAWindow) {
  QSignalSpy triggered(shortcut_, &QAction::triggered);
  {
    KeyboardHook hook(receiver_);
    QTest::keyClick(edit_, Qt::Key_A);
    QTest::keyClick(edit_, Qt::Key_F5);
    QTest::keyClick(edit_, Qt::Key_Escape);
  }
  EXPECT_TRUE(edit_->text().isEmpty());
  EXPECT_EQ(triggered.count(), 0);
  const std::vector<PostedMessage> expected = {
      {UM_KEY_HOOK, 0x41, kKeystrokeRepeatOne},
      {UM_KEY_HOOK, 0x41, kKeystrokeRepeatOne | kKeystrokePreviouslyDown | kKeystrokeRelease},
      {UM_KEY_HOOK, 0x74, kKeystrokeRepeatOne},
      {UM_KEY_HOOK, 0x74, kKeystrokeRepeatOne | kKeystrokePreviouslyDown | kKeystrokeRelease},
      {UM_KEY_HOOK, 0x1B, kKeystrokeRepeatOne},
      {UM_KEY_HOOK, 0x1B, kKeystrokeRepeatOne | kKeystrokePreviouslyDown | kKeystrokeRelease},
  };
  EXPECT_EQ(receiver_.posted, expected);
}

TEST_F(KeyboardHookTest, AutoRepeatComesAsPressesOnly) {
  KeyboardHook hook(receiver_);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QString(), true);
  QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(edit_, &repeatRelease);
  QCoreApplication::sendEvent(edit_, &repeatPress);
  const std::vector<PostedMessage> expected = {
      {UM_KEY_HOOK, 0x42, kKeystrokeRepeatOne | kKeystrokePreviouslyDown}};
  EXPECT_EQ(receiver_.posted, expected);
  EXPECT_TRUE(edit_->text().isEmpty());
}

TEST_F(KeyboardHookTest, KeysReachTheWindowsAgainOnceTheHookIsGone) {
  { KeyboardHook hook(receiver_); }
  QSignalSpy triggered(shortcut_, &QAction::triggered);
  QTest::keyClick(edit_, Qt::Key_A);
  QTest::keyClick(edit_, Qt::Key_F5);
  EXPECT_EQ(edit_->text(), QStringLiteral("a"));
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_TRUE(receiver_.posted.empty());
}

}  // namespace
}  // namespace vexlo
