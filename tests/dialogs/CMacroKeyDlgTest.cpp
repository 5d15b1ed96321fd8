#include "dialogs/CMacroKeyDlg.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

#include "DialogTestContext.h"
#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "engine/ExtensionNumber.h"
#include "profiles/MacroFile.h"
#include "profiles/MacroStore.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/CMenuEx.h"

namespace vexlo {
namespace {

constexpr std::uint32_t Packed(int slot, int mode, int count) {
  return static_cast<std::uint32_t>(slot) | static_cast<std::uint32_t>(mode) << 8 |
         static_cast<std::uint32_t>(count) << 16;
}

class CMacroKeyDlgTest : public ::testing::Test {
 protected:
  // The macros b, C and a in slots 2, 0 and 5.
  CMacroKeyDlgTest() { Store({{2, "b"}, {0, "C"}, {5, "a"}}); }

  // A fresh data folder holding the macros (slot → name) and a dialog over them.
  void Store(const std::map<int, const char*>& macros) {
    dialog_.reset();
    data_ = std::make_unique<test::TempFolder>();
    for (const auto& [slot, name] : macros) {
      MacroData macro;
      macro.byFlag = kMacroSlotUsed;
      macro.szName = name;
      char file[32];
      std::snprintf(file, sizeof file, "Macro/Macro%03d.ini", slot);
      std::filesystem::create_directories(*data_ / "Macro");
      ASSERT_EQ(WriteMacroFile(*data_ / file, macro), Result::Ok);
    }
    store_ = std::make_unique<MacroStore>(data_->path(), context_.language, messages_);
    dialog_ = std::make_unique<CMacroKeyDlg>(context_.settings, context_.language, *store_);
    EXPECT_EQ(dialog_->LoadSkin(), Result::Ok);
  }

  int Run(std::uint32_t preset, const std::function<void()>& whileOpen) {
    dialog_->SetValue(preset);
    return test::RunWhileOpen(*dialog_, whileOpen, [this] { return dialog_->Run(); });
  }

  CImageBtn* Button(const char* key) { return dialog_->findChild<CImageBtn*>(key); }
  CColorEdit* CountEdit() { return dialog_->findChild<CColorEdit*>("EDIT_REPEAT_COUNT"); }
  QString ListText() { return Button("BTN_MACRO_LIST")->text(); }
  void Click(const char* key) { QTest::mouseClick(Button(key), Qt::LeftButton); }

  // Opens the macro menu and runs `whileOpen` on it once it shows.
  void WithMenu(const std::function<void(CMenuEx&)>& whileOpen) {
    QTimer::singleShot(0, dialog_.get(), [whileOpen] {
      auto* menu = dynamic_cast<CMenuEx*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      whileOpen(*menu);
    });
    Click("BTN_MACRO_LIST");
  }

  test::DialogTestContext context_;
  test::FakeUserMessages messages_;
  std::unique_ptr<test::TempFolder> data_;
  std::unique_ptr<MacroStore> store_;
  std::unique_ptr<CMacroKeyDlg> dialog_;
};

TEST_F(CMacroKeyDlgTest, ShowsItsTexts) {
  Run(Packed(5, 0, 7), [this] {
    EXPECT_EQ(dialog_->findChild<CColorStatic*>("STA_TITLE")->text(), "Assign a macro");
    EXPECT_FALSE(Button("BTN_SUBTITLE")->isEnabled());
    EXPECT_EQ(Button("RAD_FLAG_RELEASE_STOP")->text(), "Play until the button is released");
    EXPECT_EQ(Button("BTN_OK")->text(), "OK");
    dialog_->close();
  });
}

TEST_F(CMacroKeyDlgTest, TheMenuListsTheStoreInItsOrderAndAChoiceStoresItsSlot) {
  EXPECT_EQ(Run(Packed(2, 0, 1),
                [this] {
                  WithMenu([](CMenuEx& menu) {
                    QStringList names;
                    QList<int> commands;
                    for (const QAction* item : menu.actions()) {
                      names << item->text();
                      commands << CMenuEx::CommandId(*item);
                    }
                    EXPECT_EQ(names, QStringList({"C", "a", "b"}));
                    EXPECT_EQ(commands, QList<int>({30000, 30001, 30002}));
                    QTest::keyClick(&menu, Qt::Key_Down);
                    QTest::keyClick(&menu, Qt::Key_Down);
                    QTest::keyClick(&menu, Qt::Key_Return);
                  });
                  EXPECT_EQ(ListText(), QStringLiteral("a"));
                  Click("BTN_OK");
                }),
            CMacroKeyDlg::kIdOk);
  EXPECT_EQ(dialog_->Value(), Packed(5, 0, 1));
}

TEST_F(CMacroKeyDlgTest, TheChosenNameIsMatchedWithoutRegardToCase) {
  Run(Packed(2, 0, 1), [this] {
    Button("BTN_MACRO_LIST")->setText(QStringLiteral("A"));
    Click("BTN_OK");
  });
  EXPECT_EQ(dialog_->Value(), Packed(5, 0, 1));
}

TEST_F(CMacroKeyDlgTest, TheLoopModesStoreTheirCounts) {
  const struct {
    const char* radio;
    const char* typed;
    std::uint32_t value;
  } cases[] = {
      {"RAD_FLAG_CYCLES", "9", Packed(2, 0, 9)},
      {"RAD_FLAG_CYCLES", "0", Packed(2, 0, 1)},  // no macro plays zero times
      {"RAD_FLAG_CYCLES", "300", Packed(2, 0, 255)},
      {"RAD_FLAG_RELEASE_STOP", "9", Packed(2, 2, 1)},
      {"RAD_FLAG_PRESS_STOP", "9", Packed(2, 1, 1)},
  };
  for (const auto& c : cases) {
    Run(Packed(2, 0, 4), [&] {
      CountEdit()->clear();
      QTest::keyClicks(CountEdit(), QString::fromLatin1(c.typed));
      Click(c.radio);
      EXPECT_EQ(CountEdit()->isEnabled(), c.radio == std::string_view("RAD_FLAG_CYCLES"));
      Click("BTN_OK");
    });
    EXPECT_EQ(dialog_->Value(), c.value) << c.radio << " " << c.typed;
  }
}

// What the caller reads from the profile, shown and stored again unchanged.
TEST_F(CMacroKeyDlgTest, PresetTextsRoundTripThroughOk) {
  const struct {
    const char* preset;
    const char* name;
    const char* radio;
    const char* count;
    std::uint32_t value;
  } cases[] = {
      // A button without a macro takes the first stored one, played once.
      {"", "C", "RAD_FLAG_CYCLES", "1", Packed(0, 0, 1)},
      {"abc", "C", "RAD_FLAG_CYCLES", "1", Packed(0, 0, 1)},
      {"327685", "a", "RAD_FLAG_CYCLES", "5", Packed(5, 0, 5)},
      {"66050", "b", "RAD_FLAG_RELEASE_STOP", "1", Packed(2, 2, 1)},
      {"65792", "C", "RAD_FLAG_PRESS_STOP", "1", Packed(0, 1, 1)},
      // Damaged presets: no slot beyond the 16, a slot without a macro, an unknown mode, a count
      // beyond 255 all show as something OK can store.
      {"-1", "C", "RAD_FLAG_CYCLES", "255", Packed(0, 0, 255)},
      {"4294967295", "C", "RAD_FLAG_CYCLES", "255", Packed(0, 0, 255)},
      {"99999999999", "C", "RAD_FLAG_CYCLES", "255", Packed(0, 0, 255)},
      {"196624", "C", "RAD_FLAG_CYCLES", "3", Packed(0, 0, 3)},      // slot 16
      {"66047", "C", "RAD_FLAG_PRESS_STOP", "1", Packed(0, 1, 1)},   // slot 255
      {"196611", "C", "RAD_FLAG_CYCLES", "3", Packed(0, 0, 3)},      // slot 3 holds no macro
      {"459525", "a", "RAD_FLAG_CYCLES", "7", Packed(5, 0, 7)},      // mode 3
      {"-65534", "b", "RAD_FLAG_CYCLES", "255", Packed(2, 0, 255)},  // count 65535
      {"2", "b", "RAD_FLAG_CYCLES", "1", Packed(2, 0, 1)},           // count 0
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(ParseExtensionNumber(c.preset),
                  [&] {
                    EXPECT_EQ(ListText(), QString::fromLatin1(c.name)) << c.preset;
                    EXPECT_EQ(Button(c.radio)->GetCheck(), 1) << c.preset;
                    EXPECT_EQ(CountEdit()->text(), QString::fromLatin1(c.count)) << c.preset;
                    Click("BTN_OK");
                  }),
              CMacroKeyDlg::kIdOk);
    EXPECT_EQ(dialog_->Value(), c.value) << c.preset;
  }
}

TEST_F(CMacroKeyDlgTest, WithoutMacrosTheListIsEmptyAndOkStoresSlot0) {
  Store({});
  for (const char* preset : {"", "7"}) {
    Run(ParseExtensionNumber(preset), [this] {
      EXPECT_TRUE(ListText().isEmpty());
      Click("BTN_MACRO_LIST");  // nothing to choose from: no menu
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
      Click("BTN_OK");
    });
    EXPECT_EQ(dialog_->Value(), Packed(0, 0, 1)) << preset;
  }
}

TEST_F(CMacroKeyDlgTest, ACloseRequestEndsTheDialogEvenWithTheMenuOpen) {
  EXPECT_EQ(Run(Packed(5, 2, 1),
                [this] {
                  WithMenu([this](CMenuEx& menu) {
                    QTest::keyClick(&menu, Qt::Key_Down);
                    dialog_->close();
                  });
                }),
            CMacroKeyDlg::kIdCancel);
  EXPECT_EQ(dialog_->Value(), Packed(5, 2, 1));
  EXPECT_FALSE(dialog_->IsShowing());
}

}  // namespace
}  // namespace vexlo
