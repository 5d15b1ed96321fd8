#include "dialogs/CFireKeyDlg.h"

#include <QTest>

#include <gtest/gtest.h>

#include "DialogTestContext.h"
#include "engine/ExtensionNumber.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/ColorRef.h"

namespace vexlo {
namespace {

class CFireKeyDlgTest : public ::testing::Test {
 protected:
  CFireKeyDlgTest() : dialog_(context_.settings, context_.language) {
    EXPECT_EQ(dialog_.LoadSkin(), Result::Ok);
  }

  int Run(const std::function<void()>& whileOpen) {
    return test::RunWhileOpen(dialog_, whileOpen, [this] { return dialog_.Run(); });
  }

  CColorEdit* Edit(const char* key) { return dialog_.findChild<CColorEdit*>(key); }
  CImageBtn* Button(const char* key) { return dialog_.findChild<CImageBtn*>(key); }

  // Types into the field as a user does, key by key, after emptying it.
  void Type(const char* key, const QString& text) {
    Edit(key)->clear();
    QTest::keyClicks(Edit(key), text);
  }

  test::DialogTestContext context_;
  CFireKeyDlg dialog_;
};

TEST_F(CFireKeyDlgTest, ShowsItsTextsAndHoldsTypedNumbersTo255) {
  dialog_.SetValue(PackFireKey({30, 5}));
  Run([this] {
    EXPECT_EQ(dialog_.findChild<CColorStatic*>("STA_TITLE")->text(), QStringLiteral("Rapid fire"));
    const auto* interval = dialog_.findChild<CColorStatic*>("STA_INTVL");
    EXPECT_EQ(interval->text(), QStringLiteral("Time between clicks (ms)"));
    EXPECT_EQ(interval->TextColour(), ColorFromRef(0xC8C8C8));
    EXPECT_EQ(Edit("EDIT_INTVL")->text(), QStringLiteral("30"));
    EXPECT_EQ(Edit("EDIT_COUNT")->text(), QStringLiteral("5"));
    EXPECT_EQ(Edit("EDIT_COUNT")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const std::pair<const char*, const char*> typedShown[] = {
        {"300", "255"}, {"256", "255"}, {"255", "255"},         {"2555", "255"},
        {"12a", "12a"}, {"", ""},       {"99999999999", "255"},
    };
    for (const auto& [typed, shown] : typedShown) {
      Type("EDIT_COUNT", QString::fromLatin1(typed));
      EXPECT_EQ(Edit("EDIT_COUNT")->text(), QString::fromLatin1(shown)) << typed;
    }
    Edit("EDIT_INTVL")->clear();
    Edit("EDIT_INTVL")->insert(QStringLiteral("4294967296"));  // pasted
    EXPECT_EQ(Edit("EDIT_INTVL")->text(), QStringLiteral("255"));
    dialog_.close();
  });
}

TEST_F(CFireKeyDlgTest, OkStoresWhatTheFieldsShow) {
  const struct {
    const char* interval;
    const char* count;
    std::uint32_t value;
  } cases[] = {
      {"30", "5", 5 * 256 + 30},
      {"12a", "3x", 3 * 256 + 12},  // read up to the first non-digit
      {"0", "10", 10 * 256 + 1},    // there is no click period of zero
      {"", "", 1},                  // an empty count fires while the button is held
      {"x9", "255", 255 * 256 + 1},
      {"300", "300", 0xFFFF},
  };
  for (const auto& c : cases) {
    dialog_.SetValue(PackFireKey({77, 7}));
    EXPECT_EQ(Run([&] {
                Type("EDIT_INTVL", QString::fromLatin1(c.interval));
                Type("EDIT_COUNT", QString::fromLatin1(c.count));
                QTest::mouseClick(Button("BTN_OK"), Qt::LeftButton);
              }),
              CFireKeyDlg::kIdOk);
    EXPECT_EQ(dialog_.Value(), c.value) << c.interval << " / " << c.count;
  }
}

TEST_F(CFireKeyDlgTest, EnterStoresButAnEnterHeldSinceBeforeTheDialogDoesNot) {
  dialog_.SetValue(PackFireKey({20, 0}));
  EXPECT_EQ(Run([this] {
              Type("EDIT_COUNT", QStringLiteral("4"));
              QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
              QCoreApplication::sendEvent(Edit("EDIT_COUNT"), &held);
              EXPECT_TRUE(dialog_.IsShowing());
              QTest::keyClick(Edit("EDIT_COUNT"), Qt::Key_Return);
            }),
            CFireKeyDlg::kIdOk);
  EXPECT_EQ(dialog_.Value(), PackFireKey({20, 4}));
}

TEST_F(CFireKeyDlgTest, CancelAndACloseRequestLeaveTheCallersNumber) {
  const std::function<void()> ways[] = {
      [this] { QTest::mouseClick(Button("BTN_CANCEL"), Qt::LeftButton); },
      [this] { QTest::keyClick(Edit("EDIT_COUNT"), Qt::Key_Escape); },
      [this] { dialog_.close(); },  // the mouse went away, the program ends
  };
  for (const auto& end : ways) {
    dialog_.SetValue(PackFireKey({40, 2}));
    EXPECT_EQ(Run([&] {
                Type("EDIT_INTVL", QStringLiteral("9"));
                end();
              }),
              CFireKeyDlg::kIdCancel);
    EXPECT_EQ(dialog_.Value(), PackFireKey({40, 2}));
  }
}

// What the caller reads from the profile, shown and stored again unchanged.
TEST_F(CFireKeyDlgTest, PresetTextsRoundTripThroughOk) {
  const struct {
    const char* preset;
    const char* interval;
    const char* count;
    std::uint32_t value;
  } cases[] = {
      {"773", "5", "3", 773},
      {"", "1", "0", 1},
      {"abc", "1", "0", 1},
      {"0", "1", "0", 1},
      {"256", "1", "1", 257},        // interval 0 from a damaged file
      {"-1", "255", "255", 0xFFFF},  // the high bits are dropped
      {"4294967295", "255", "255", 0xFFFF},
      {"99999999999", "255", "255", 0xFFFF},  // saturates, never wraps to a small number
      {"-65536", "1", "0", 1},
  };
  for (const auto& c : cases) {
    dialog_.SetValue(ParseExtensionNumber(c.preset));
    Run([&] {
      EXPECT_EQ(Edit("EDIT_INTVL")->text(), QString::fromLatin1(c.interval)) << c.preset;
      EXPECT_EQ(Edit("EDIT_COUNT")->text(), QString::fromLatin1(c.count)) << c.preset;
      QTest::mouseClick(Button("BTN_OK"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog_.Value(), c.value) << c.preset;
  }
}

}  // namespace
}  // namespace vexlo
