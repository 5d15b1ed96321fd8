#include "app/panels/KeysPanel.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "AssignmentMenuDriver.h"
#include "ChildProcess.h"
#include "FakeUserMessages.h"
#include "PagePanelFixture.h"
#include "TempFolder.h"
#include "app/AppContext.h"
#include "app/ModalWatch.h"
#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/AssignmentCodes.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/CImageBtn.h"
#include "skin/CMenuEx.h"

namespace vexlo {
namespace {

using test::ChooseItem;
using test::CommandIds;

// The register of buttons 3..6 on the simulated mouse (model 2), and what it holds after the link
// opened: the factory function in bits 4..0, the light effect in bits 7..5 of register 0x0A.
constexpr std::array<std::uint8_t, 7> kButtonRegister = {0, 0, 0, 0x0A, 0x09, 0x0B, 0x10};
constexpr std::array<std::uint8_t, 7> kRegisterAtOpen = {0, 0, 0, 0x21, 0x00, 0x09, 0x0A};

// The page panels' world (in-process simulated machine, shipped skin and language file, private
// data folder, messages answered by the test) with the frame's key pictures and the panel.
class KeysPanelTest : public test::PagePanelFixture {
 protected:
  SkinFile<DibImage> mainSkin{settings.SkinFolder + "Main.ini"};
  std::unique_ptr<KeysPanel> panel;

  void SetUp() override {
    PagePanelFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(mainSkin.Load(), Result::Ok);
    panel = std::make_unique<KeysPanel>(window, context, service, mainSkin);
  }

  void TearDown() override {
    panel.reset();
    PagePanelFixture::TearDown();
  }

  CImageBtn& Key(int key) {
    auto* button = window.findChild<CImageBtn*>("BTN_MOUSE_KEY" + QString::number(key + 1));
    EXPECT_NE(button, nullptr);
    return *button;
  }

  // Clicks key `key`'s button and, once its menu is open, runs `whileOpen` on it.
  void OpenMenu(int key, const std::function<void(QMenu&)>& whileOpen) {
    WhileMenuOpen(Key(key), whileOpen);
  }
  // Clicks key `key`'s button and chooses the code's item in its menu.
  void Choose(int key, std::uint8_t code) {
    OpenMenu(key, [&](QMenu& menu) { ChooseItem(menu, FindAssignmentCode(code)->commandId); });
  }

  std::string Saved(const char* name, int key) {
    return ReadIniString("Setting", name + std::to_string(key), "?", profiles.CurrentPath());
  }
  std::uint8_t Code(int key) const {
    return profiles.Data().device.pbyKeySet[static_cast<std::size_t>(key)];
  }
  std::string Text(const char* textKey) const { return language.LookupText(textKey); }
};

TEST_F(KeysPanelTest, TheMenuOffersTheSensitivityCodesOnlyToTheSideAndSensitivityKeys) {
  for (int key = 0; key < 7; ++key) {
    SCOPED_TRACE(key);
    OpenMenu(key, [&](QMenu& menu) {
      std::vector<int> expected;
      for (const AssignmentCodeInfo& info : AssignmentCodes()) {
        if (key >= 3 || info.code < kCodeSensitivityUp) expected.push_back(info.commandId);
      }
      EXPECT_EQ(CommandIds(menu), expected);  // code order
      EXPECT_EQ(expected.size(), key < 3 ? 41u : 44u);
      const QList<QAction*> items = menu.actions();
      ASSERT_GE(items.size(), 14);
      EXPECT_EQ(items[7]->text().toStdString(), Text("INFO_KEY_SET_MEDIA"));
      EXPECT_EQ(items[8]->text().toStdString(), Text("INFO_KEY_SET_WINDOWS"));
      EXPECT_EQ(items[9]->text().toStdString(), Text("INFO_KEY_SET_COMBO"));
      EXPECT_EQ(CommandIds(*items[7]->menu()).size(), 8u);
      EXPECT_EQ(CommandIds(*items[8]->menu()).size(), 9u);
      EXPECT_EQ(CommandIds(*items[9]->menu()).size(), 13u);
      EXPECT_EQ(items[0]->text().toStdString(), Text("INFO_KEY_SET_LEFT"));
      EXPECT_EQ(items[10]->text().toStdString(), Text("INFO_KEY_SET_SNG_KBD") + "...");
      EXPECT_EQ(items[13]->text().toStdString(), Text("INFO_KEY_SET_MACRO") + "...");
      menu.close();
    });
  }
}

TEST_F(KeysPanelTest, TheKeyStaysCheckedUntilThePopupItselfCloses) {
  OpenMenu(4, [&](QMenu& menu) {
    EXPECT_EQ(Key(4).GetCheck(), 1);
    QMenu* media = menu.actions()[7]->menu();
    menu.setActiveAction(menu.actions()[7]);
    QTest::keyClick(&menu, Qt::Key_Right);
    EXPECT_TRUE(media->isVisible());
    QTest::keyClick(media, Qt::Key_Escape);  // the sub-menu closes, the popup stays
    EXPECT_FALSE(media->isVisible());
    EXPECT_EQ(Key(4).GetCheck(), 1);
    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_EQ(Key(4).GetCheck(), 0);
  });
  EXPECT_EQ(Code(4), kCodeBackButton);  // dismissed: nothing chosen
}

TEST_F(KeysPanelTest, OneButtonAlwaysKeepsTheLeftClick) {
  Choose(0, kCodeMiddleButton);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_MOUSE_LEFT");
  EXPECT_EQ(messages.shown[0].titleKey, "STA_MSG_TITLE_INFO");
  EXPECT_EQ(Code(0), kCodeLeftButton);

  Choose(3, kCodeLeftButton);
  Choose(0, kCodeMiddleButton);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(Code(0), kCodeMiddleButton);
  EXPECT_EQ(Key(0).text().toStdString(), Text("INFO_KEY_SET_MIDDLE"));
  Choose(3, kCodeMacro);  // key 3 holds the last left click now
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(Code(3), kCodeLeftButton);
}

TEST_F(KeysPanelTest, ASingleKeyIsTakenOnlyWhenTheDialogEndsWithAKey) {
  panel->Dialogs().SetNextKey(std::nullopt);  // Cancel
  Choose(3, kCodeSingleKey);
  panel->Dialogs().SetNextKey(0);  // Apply without a key
  Choose(3, kCodeSingleKey);
  EXPECT_EQ(Code(3), kCodeForwardButton);
  EXPECT_EQ(Key(3).text().toStdString(), Text("INFO_KEY_SET_FORWARD"));
  EXPECT_EQ(Saved("pbyKeySet", 3), "3");

  panel->Dialogs().SetNextKey(0x5A);  // an entry without a name
  Choose(3, kCodeSingleKey);
  EXPECT_EQ(Key(3).text().toStdString(), Text("PREFIX_KEY_SET_KBD") + "ScnKey: 5A");
  EXPECT_TRUE(Key(3).toolTip().isEmpty());
  EXPECT_EQ(Saved("pbyKeySet", 3), "37");
  EXPECT_EQ(Saved("pdwKeyParameter", 3), "90");
  EXPECT_EQ(sim->State().mouse.registers[0x0A], 0x2C);  // reports to the host
}

TEST_F(KeysPanelTest, AFireKeyShowsItsIntervalAndCountAndAMacroItsName) {
  panel->Dialogs().SetNextFireKey(std::nullopt);  // Cancel
  Choose(4, kCodeFireKey);
  EXPECT_EQ(Code(4), kCodeBackButton);
  panel->Dialogs().SetNextFireKey(0x0305);
  Choose(4, kCodeFireKey);
  EXPECT_EQ(Key(4).text().toStdString(), Text("INFO_KEY_SET_FIRE"));
  EXPECT_EQ(Key(4).toolTip().toStdString(), Text("INFO_KEY_SET_FIRE") + ": " +
                                                Text("INFO_FIRE_KEY_INTVL0") + "<5> " +
                                                Text("INFO_FIRE_KEY_COUNT0") + "<3>");
  EXPECT_EQ(Saved("pbyKeySet", 4), "39");
  EXPECT_EQ(Saved("ppszKeyExt", 4), "773");
  EXPECT_EQ(sim->State().mouse.registers[0x09], 0x10);

  for (int slot = 0; slot < 3; ++slot) ASSERT_EQ(macros.AddMacro(), Result::Ok);
  ASSERT_EQ(macros.RenameMacro("Reload"), Result::Ok);  // slot 2, the current one
  const std::string reload = Text("PREFIX_KEY_SET_MACRO") + "Reload";
  // Played 32769 times: the file keeps the number as negative, its top bit being set.
  const std::uint32_t value = 0x80010002;
  panel->Dialogs().SetNextMacro(value);
  Choose(4, kCodeMacro);
  EXPECT_EQ(Saved("ppszKeyExt", 4), "-2147418110");
  for (int pass = 0; pass < 2; ++pass) {  // as chosen, and as refreshed
    EXPECT_EQ(Key(4).text().toStdString(), reload);
    EXPECT_EQ(Key(4).toolTip().toStdString(), reload);
    panel->RefreshKeyCaptions();
  }
  // A slot without a macro reads as disabled, chosen or refreshed; the choice is kept.
  panel->Dialogs().SetNextMacro(0x10005);
  Choose(4, kCodeMacro);
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(Key(4).text().toStdString(), Text("INFO_KEY_SET_CLOSE"));
    EXPECT_TRUE(Key(4).toolTip().isEmpty());
    panel->RefreshKeyCaptions();
  }
  EXPECT_EQ(Saved("ppszKeyExt", 4), "65541");
}

// The mouse going away closes every menu and dialog of the window: here they count as cancelled.
TEST_F(KeysPanelTest, AMenuOrDialogClosedByTheWindowCountsAsCancelled) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  OpenMenu(3, [&](QMenu&) { ModalWatch::CloseAll(); });
  EXPECT_EQ(Key(3).GetCheck(), 0);

  bool dialogShown = false;
  OpenMenu(3, [&](QMenu& menu) {
    QTimer::singleShot(0, [&] {  // once the single-key dialog runs
      dialogShown = QApplication::activeModalWidget() != nullptr;
      ModalWatch::CloseAll();
    });
    ChooseItem(menu, FindAssignmentCode(kCodeSingleKey)->commandId);
  });
  EXPECT_TRUE(dialogShown);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Code(3), kCodeForwardButton);
}

TEST_F(KeysPanelTest, AProgramIsTakenWhenItsFileExistsAndItsPathFits) {
  const std::string program = root / "editor";
  test::WriteFile(program, "#!/bin/sh\n");
  const std::string longFolder = root.path() + std::string(250, 'd') + "/";
  const std::string tooLong = longFolder + "editor";
  test::WriteFile(tooLong, "#!/bin/sh\n");

  panel->Dialogs().SetNextProgram(program);
  Choose(5, kCodeLaunchProgram);
  EXPECT_EQ(Key(5).text().toStdString(), Text("INFO_KEY_SET_START_PROGRAM"));
  EXPECT_EQ(Key(5).toolTip().toStdString(), program);
  EXPECT_EQ(Saved("ppszKeyExt", 5), program);
  EXPECT_EQ(sim->State().mouse.registers[0x0B], 0x12);

  for (const std::optional<std::string>& refused :
       {std::optional<std::string>(tooLong), std::optional<std::string>(root / "missing"),
        std::optional<std::string>()}) {
    panel->Dialogs().SetNextProgram(refused);
    Choose(5, kCodeLaunchProgram);
    EXPECT_EQ(Saved("ppszKeyExt", 5), program);
    EXPECT_EQ(Key(5).toolTip().toStdString(), program);
  }
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_PATH_TOO_LONG");

  // A program that went away shows the button as disabled; its assignment stays.
  std::filesystem::remove(program);
  panel->Refresh();
  EXPECT_EQ(Key(5).text().toStdString(), Text("INFO_KEY_SET_CLOSE"));
  EXPECT_TRUE(Key(5).toolTip().isEmpty());
  EXPECT_EQ(Code(5), kCodeLaunchProgram);
}

TEST_F(KeysPanelTest, DeletingAMacroReleasesExactlyTheKeysThatPlayIt) {
  for (int slot = 0; slot < 4; ++slot) ASSERT_EQ(macros.AddMacro(), Result::Ok);
  DeviceSettings& assigned = profiles.Data().device;
  const auto playing = [&](int key, std::uint8_t slot) {
    assigned.pbyKeySet[static_cast<std::size_t>(key)] = kCodeMacro;
    assigned.ppszKeyExt[static_cast<std::size_t>(key)] = EncodeMacro({slot});
  };
  playing(3, 2);
  playing(4, 3);
  playing(6, 2);
  assigned.pbyKeySet[5] = kCodeMacro;  // slot 16: no slot at all
  assigned.ppszKeyExt[5] = FormatExtensionNumber(0x10010);
  panel->Refresh();
  EXPECT_EQ(Key(3).text().toStdString(), Text("PREFIX_KEY_SET_MACRO") + macros.Slot(2).szName);
  EXPECT_EQ(Key(5).text().toStdString(), Text("INFO_KEY_SET_CLOSE"));

  panel->ReleaseMacroKeys(16);
  EXPECT_EQ(Code(5), kCodeMacro);
  panel->ReleaseMacroKeys(2);
  for (const int key : {3, 6}) {
    EXPECT_EQ(Code(key), kCodeDisabled);
    EXPECT_EQ(Saved("pbyKeySet", key), "5");
    EXPECT_EQ(Saved("ppszKeyExt", key), "");
    EXPECT_EQ(Key(key).text().toStdString(), Text("INFO_KEY_SET_CLOSE"));
  }
  EXPECT_EQ(sim->State().mouse.registers[0x0A], 0x2C);
  EXPECT_EQ(sim->State().mouse.registers[0x10], 0x13);
  EXPECT_EQ(Code(4), kCodeMacro);
  EXPECT_EQ(Saved("pbyKeySet", 4), "4");  // neither sent nor saved
  EXPECT_EQ(Code(5), kCodeMacro);
}

// Every code on every key: what the profile file keeps and what the mouse and its filter were
// told, and back to the key's own function.
TEST_F(KeysPanelTest, EveryChoiceReachesTheFileAndTheMouse) {
  const std::string program = root / "editor";
  test::WriteFile(program, "#!/bin/sh\n");
  for (int key = 0; key < 7; ++key) {
    SCOPED_TRACE(key);
    Choose(key == 6 ? 5 : 6, kCodeLeftButton);  // the left click stays somewhere else
    const std::uint8_t own = DefaultKeyCode(key);
    std::vector<std::uint8_t> codes;
    for (std::uint8_t code = 0; code < 44; ++code) {
      if (key >= 3 || code < kCodeSensitivityUp) codes.push_back(code);
    }
    codes.push_back(own);
    for (const std::uint8_t code : codes) {
      SCOPED_TRACE(int{code});
      if (code == kCodeSingleKey) panel->Dialogs().SetNextKey(0x1E);
      if (code == kCodeLaunchProgram) panel->Dialogs().SetNextProgram(program);
      if (code == kCodeFireKey) panel->Dialogs().SetNextFireKey(0x0305);
      if (code == kCodeMacro) panel->Dialogs().SetNextMacro(0x10002);
      Choose(key, code);
      EXPECT_EQ(Saved("pbyKeySet", key), std::to_string(code));
      EXPECT_EQ(Saved("pdwKeyParameter", key), code == kCodeSingleKey ? "30" : "0");
      const std::map<std::uint8_t, std::string> extensions = {
          {kCodeLaunchProgram, program}, {kCodeFireKey, "773"}, {kCodeMacro, "65538"}};
      EXPECT_EQ(Saved("ppszKeyExt", key),
                extensions.contains(code) ? extensions.at(code) : std::string());
      const SimState state = sim->State();
      if (key < 3) {
        ASSERT_TRUE(state.mouseFilter.interception.has_value());
        for (std::size_t record = 0; record < 6; ++record) {
          const bool swallowed = record / 2 == static_cast<std::size_t>(key) && code != own;
          EXPECT_EQ((*state.mouseFilter.interception)[record],
                    (SimInterceptRecord{swallowed, static_cast<std::uint8_t>(swallowed ? 2 : 0),
                                        static_cast<std::uint16_t>(1u << record),
                                        swallowed ? link.EventDriverValue(record) : 0}))
              << record;
        }
      } else {
        const std::uint8_t reg = kButtonRegister[static_cast<std::size_t>(key)];
        const std::uint8_t light = key == 3 ? 0x20 : 0x00;
        const std::uint8_t reportToHost[] = {0x0C, 0x10, 0x12, 0x13};
        std::uint8_t expected = light | reportToHost[key - 3];
        if (code == own) expected = kRegisterAtOpen[static_cast<std::size_t>(key)];
        if (code == kCodeSensitivityUp) expected = light | 0x09;
        if (code == kCodeSensitivityDown) expected = light | 0x0A;
        if (code == kCodeSensitivityCycle) expected = light | 0x08;
        EXPECT_EQ(state.mouse.registers[reg], expected);
      }
    }
  }
}

// A reassignment holds from the next press on the mouse, which the host performs off this thread.
TEST_F(KeysPanelTest, TheNextPressOnTheMousePerformsTheNewAssignment) {
  service.Start(/*startHidden=*/true);
  const auto consumerHeld = [&](std::uint16_t usage) {
    return test::WaitUntil([&] { return sim->State().injection.held.consumer == usage; },
                           std::chrono::seconds(5));
  };
  for (const auto& [code, usage] : {std::pair<std::uint8_t, std::uint16_t>{12, 0xE9},  // volume up
                                    {13, 0xEA}}) {                                       // down
    Choose(5, code);
    ASSERT_EQ(sim->Press(5), Result::Ok);
    EXPECT_TRUE(consumerHeld(usage)) << int{code};
    ASSERT_EQ(sim->Release(5), Result::Ok);
    EXPECT_TRUE(consumerHeld(0)) << int{code};
  }
}

TEST_F(KeysPanelTest, AFailedTransferLeavesTheChoiceSavedAndTheLinkUsable) {
  sim->SetFaults({.failTransfers = 1});
  Choose(5, kCodeRightButton);
  EXPECT_EQ(Saved("pbyKeySet", 5), "1");
  EXPECT_EQ(sim->State().mouse.registers[0x0B], 0x09);  // the write failed
  EXPECT_TRUE(link.IsOpen());
  Choose(5, kCodeSensitivityCycle);
  EXPECT_EQ(sim->State().mouse.registers[0x0B], 0x08);
}

}  // namespace
}  // namespace vexlo
