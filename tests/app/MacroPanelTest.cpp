#include "app/panels/MacroPanel.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "PagePanelFixture.h"
#include "app/MainWindowLayout.h"
#include "app/panels/KeysPanel.h"
#include "common/IniFile.h"
#include "device/RegisterMap.h"
#include "engine/AssignmentCodes.h"
#include "engine/ExtensionNumber.h"
#include "grid/CGridEditorText.h"
#include "grid/CGridListCtrlEx.h"
#include "profiles/MacroFile.h"
#include "profiles/ProfileFile.h"
#include "skin/CImageBtn.h"
#include "skin/CMenuEx.h"

namespace vexlo {
namespace {

// The page panels' world (in-process simulated machine, shipped skin and language file, private
// data folder, messages answered by the test) with the panel, its menus answered by the test, and
// the assignment page's side recorded.
class MacroPanelTest : public test::PagePanelFixture {
 protected:
  SkinFile<DibImage> skin{settings.SkinFolder + "Macro.ini"};
  std::unique_ptr<MacroPanel> panel;
  std::vector<std::string> links;  // "renamed N" and "released N", in order
  std::vector<int> menuAnswers;    // the commands the next menus answer (0 when none is left)
  std::vector<std::vector<int>> menuEnabled;  // the enabled commands of each menu shown
  std::optional<std::string> fileAnswer;
  // The assignment page beside it, as the main window composes them.
  SkinFile<DibImage> mainSkin{settings.SkinFolder + "Main.ini"};
  std::unique_ptr<KeysPanel> keys;

  void SetUp() override {
    PagePanelFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(skin.Load(), Result::Ok);
    MakePanel();
  }

  void MakePanel() {
    panel = std::make_unique<MacroPanel>(
        window, context, skin,
        MacroKeyLinks{[this](int slot) {
                        links.push_back("renamed " + std::to_string(slot));
                        if (keys) keys->RenameMacroKeys(slot);
                      },
                      [this](int slot) {
                        links.push_back("released " + std::to_string(slot));
                        if (keys) keys->ReleaseMacroKeys(slot);
                      }});
    panel->SetMenuTracker([this](CMenuEx& menu, QPoint) {
      std::vector<int> enabled;
      for (QAction* action : menu.actions()) {
        if (action->isEnabled()) enabled.push_back(CMenuEx::CommandId(*action));
      }
      menuEnabled.push_back(enabled);
      if (menuAnswers.empty()) return 0;
      const int answer = menuAnswers.front();
      menuAnswers.erase(menuAnswers.begin());
      return answer;
    });
    panel->SetFileChooser([this](bool, const QString&) { return fileAnswer; });
    panel->ShowPage(kPageMacro);
  }

  QWidget& Control(const char* key) {
    auto* control = window.findChild<QWidget*>(QString::fromLatin1(key));
    EXPECT_NE(control, nullptr) << key;
    return *control;
  }
  CGridListCtrlEx& List() { return static_cast<CGridListCtrlEx&>(Control("LIST_MACRO_ACTION")); }
  void Click(const char* key) { QTest::mouseClick(&Control(key), Qt::LeftButton); }

  // A macro with these steps ("%02X%02X%02X" each), made current through the panel.
  void AddMacro(const std::string& pma) {
    Click("BTN_MACRO_ADD");
    for (std::size_t i = 0; i + 6 <= pma.size(); i += 6) {
      const auto byte = [&](std::size_t at) {
        return static_cast<std::uint8_t>(std::stoul(pma.substr(i + at, 2), nullptr, 16));
      };
      ASSERT_EQ(macros.AppendStep({byte(0), byte(2), byte(4)}), Result::Ok);
    }
    panel->RefreshMacroPanel();
  }
  std::string SlotFile(const char* key) {
    return ReadIniString("Setting", key, "<none>", macros.SlotPath(macros.CurrentIndex()));
  }
  std::string Pma() { return SlotFile("pma"); }
  std::string SavedIndex() { return ReadIniString("Setting", "nMacroIndex", "", settings.SettingsFile); }
};

TEST_F(MacroPanelTest, WithoutAMacroOnlyAddMoreWithImportAndTheListReact) {
  const std::set<std::string> enabled = {"BTN_MACRO_ADD", "BTN_MACRO_MORE", "LIST_MACRO_ACTION",
                                         "STA_MACRO_SUBTITLE", "STA_MACRO_NAME"};
  for (QWidget* control : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    const std::string key = control->objectName().toStdString();
    EXPECT_EQ(control->isEnabled(), enabled.count(key) == 1) << key;
  }
  Click("BTN_MACRO_MORE");
  ASSERT_EQ(menuEnabled.size(), 1u);
  EXPECT_EQ(menuEnabled[0], std::vector<int>{MacroPanel::kIdImport});

  Click("BTN_MACRO_ADD");
  EXPECT_TRUE(Control("BTN_MACRO_ACTION_CLEAR").isEnabled());
  EXPECT_EQ(static_cast<CImageBtn&>(Control("BTN_MACRO_LIST")).text(), "Macro001");
  EXPECT_EQ(SavedIndex(), "0");
}

TEST_F(MacroPanelTest, ASeventeenthAddSaysTheStoreIsFull) {
  for (int i = 0; i < 16; ++i) Click("BTN_MACRO_ADD");
  EXPECT_TRUE(messages.shown.empty());
  Click("BTN_MACRO_ADD");
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_MACRO_FULL"});
  EXPECT_EQ(SavedIndex(), "15");
}

TEST_F(MacroPanelTest, DeletingAsksThenReleasesTheSlotsKeysAndSavesTheNextIndex) {
  Click("BTN_MACRO_ADD");
  Click("BTN_MACRO_ADD");
  Click("BTN_MACRO_DELETE");  // answered no
  EXPECT_EQ(macros.CurrentIndex(), 1);
  EXPECT_TRUE(links.empty());
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_MACRO_DELETE");
  EXPECT_EQ(links, std::vector<std::string>{"released 1"});
  EXPECT_FALSE(std::filesystem::exists(root / "data/Macro/Macro001.ini"));
  EXPECT_EQ(SavedIndex(), "0");
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_MACRO_DELETE");
  EXPECT_EQ(SavedIndex(), "4294967295");
  EXPECT_FALSE(Control("BTN_MACRO_DELETE").isEnabled());
}

TEST_F(MacroPanelTest, ApplyingANameTrimsItRefusesSeparatorsAndRenamesTheKeys) {
  Click("BTN_MACRO_ADD");
  auto& name = static_cast<QLineEdit&>(Control("EDIT_MACRO_NAME"));
  name.setText("a/b");
  Click("BTN_MACRO_APPLY");
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_NAME_INVALID"});
  name.setText("  Jump  ");
  Click("BTN_MACRO_APPLY");
  EXPECT_EQ(SlotFile("szName"), "Jump");
  EXPECT_EQ(static_cast<CImageBtn&>(Control("BTN_MACRO_LIST")).text(), "Jump");
  EXPECT_EQ(links, std::vector<std::string>{"renamed 0"});
  EXPECT_FALSE(Control("BTN_MACRO_APPLY").isEnabled());
}

TEST_F(MacroPanelTest, ARenameOntoAnotherNameReleasesTheSlotThatVanished) {
  AddMacro("810100");                   // slot 0, Macro001
  AddMacro("840400040400");             // slot 1, Macro002
  auto& name = static_cast<QLineEdit&>(Control("EDIT_MACRO_NAME"));
  name.setText("macro001");
  messages.SetNextAnswer(UserMessages::kOk);  // replace it
  Click("BTN_MACRO_APPLY");
  EXPECT_EQ(links, (std::vector<std::string>{"released 1", "renamed 0"}));
  EXPECT_EQ(List().GetItemCount(), macros.Slot(macros.CurrentIndex()).byCount);
  EXPECT_EQ(SavedIndex(), std::to_string(macros.CurrentIndex()));
}

TEST_F(MacroPanelTest, StepButtonsMoveTheSelectedStepAndWriteTheFile) {
  AddMacro("840400850500860600");  // A, B, C pressed
  const struct {
    const char* button;
    int selected;
    const char* pma;
    int selectedAfter;
  } cases[] = {
      {"BTN_MACRO_ACTION_UP", 0, "840400850500860600", 0},  // the first row stays
      {"BTN_MACRO_ACTION_DOWN", 2, "840400850500860600", 2},  // the last row stays
      {"BTN_MACRO_ACTION_DOWN", 0, "850500840400860600", 1},
      {"BTN_MACRO_ACTION_BOTTOM", 0, "840400860600850500", 2},
      {"BTN_MACRO_ACTION_TOP", 2, "850500840400860600", 0},
      {"BTN_MACRO_ACTION_UP", 2, "850500860600840400", 1},
      {"BTN_MACRO_ACTION_DELETE", 1, "850500840400", -1},
      {"BTN_MACRO_ACTION_CLEAR", 0, "", -1},
  };
  for (const auto& c : cases) {
    List().SelectRow(c.selected);
    Click(c.button);
    EXPECT_EQ(Pma(), c.pma) << c.button << " " << c.selected;
    if (c.selectedAfter >= 0) {
      EXPECT_EQ(List().GetSelectedRow(), c.selectedAfter) << c.button;
    }
    EXPECT_EQ(List().GetItemCount(), static_cast<int>(std::string(c.pma).size() / 6));
  }
}

TEST_F(MacroPanelTest, CellMenusChangeTheStepAndItsRow) {
  AddMacro("810100840400062C01");  // left press, A press, 300 ms
  const struct {
    int row, column, command;
    const char* pma;
    const char* text;
  } cases[] = {
      {0, 1, 33234, "810800840400062C01", "Back button"},
      {0, 2, 33201, "010800840400062C01", "Release"},
      {1, 1, 33092, "010800845200062C01", "\u2191"},  // the up arrow
      {1, 2, 33200, "010800845200062C01", "Press"},  // already pressed
      {2, 2, 33200, "010800845200062C01", "ms"},     // a pause has no menu here
  };
  for (const auto& c : cases) {
    menuAnswers = {c.command};
    panel->OnCellClick(c.row, c.column, QPoint());
    EXPECT_EQ(Pma(), c.pma) << c.command;
    EXPECT_EQ(List().GetItemText(c.row, c.column).toStdString(), c.text) << c.command;
  }
  EXPECT_EQ(menuEnabled.size(), 4u);
  EXPECT_EQ(menuEnabled[2].size(), 12u);  // the keyboard's twelve groups
}

TEST_F(MacroPanelTest, TheDelayEditorClampsAndKeepsTheValueForNonNumbers) {
  AddMacro("062C01");
  const struct {
    const char* typed;
    const char* pma;
    const char* shown;
  } cases[] = {{"70000", "06FFFF", "65535"}, {"abc", "06FFFF", "65535"}, {" 5 ", "060500", "5"}};
  for (const auto& c : cases) {
    panel->OnCellClick(0, 1, QPoint());
    CGridEditorText* editor = List().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, c.typed);  // over the selected text
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Pma(), c.pma) << c.typed;
    EXPECT_EQ(List().GetItemText(0, 1).toStdString(), c.shown) << c.typed;
  }
  panel->OnCellClick(0, 2, QPoint());
  EXPECT_EQ(List().ActiveEditor(), nullptr);
  // An edit still open when the macro changes ends on the macro it began on.
  panel->OnCellClick(0, 1, QPoint());
  QTest::keyClicks(List().ActiveEditor(), "77");
  Click("BTN_MACRO_ADD");
  EXPECT_EQ(ReadIniString("Setting", "pma", "", macros.SlotPath(0)), "064D00");
  EXPECT_EQ(Pma(), "");
}

TEST_F(MacroPanelTest, ImportAsksBeforeReplacingAndRefusesDamagedFiles) {
  AddMacro("810100010100");
  const std::filesystem::path exchange = root / "Macro001.macro";
  fileAnswer = exchange.string();
  menuAnswers = {MacroPanel::kIdExport};
  Click("BTN_MACRO_MORE");
  const std::string before = Pma();
  ASSERT_EQ(ReadIniString("Setting", "Count", "", exchange), "2");

  menuAnswers = {MacroPanel::kIdImport};  // the question is answered no
  Click("BTN_MACRO_MORE");
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_CONFLECT"});
  const std::string good = ReadIniString("Setting", "MacroSetting_0", "", exchange);
  const struct {
    const char* name;
    const char* count;
    std::string digits;
    const char* message;
  } damaged[] = {
      {"Sum.macro", "2", good.substr(0, 360) + "85", "STA_MSG_INFO_FILE_FORMAT"},
      {"Short.macro", "2", "8101", "STA_MSG_INFO_FILE_FORMAT"},
      {"Many.macro", "61", std::string(366, '0'), "STA_MSG_INFO_FILE_FORMAT"},
      {"a:b.macro", "2", good, "STA_MSG_INFO_FILE_NAME_INVALID"},
  };
  for (const auto& d : damaged) {
    messages.shown.clear();
    const std::filesystem::path file = root / d.name;
    std::ofstream(file) << "[Setting]\nCount=" << d.count << "\nMacroSetting_0=" << d.digits
                        << "\n";
    fileAnswer = file.string();
    menuAnswers = {MacroPanel::kIdImport};
    Click("BTN_MACRO_MORE");
    EXPECT_EQ(Shown(), std::vector<std::string>{d.message}) << d.name;
    EXPECT_EQ(macros.Names().size(), 1u) << d.name;
    EXPECT_EQ(Pma(), before) << d.name;
  }
}

TEST_F(MacroPanelTest, ExportReplacesTheWholeFile) {
  AddMacro("062C01");
  const std::filesystem::path exchange = root / "Out.macro";
  std::ofstream(exchange) << "[Setting]\nStale=1\n[Other]\nx=y\n";
  fileAnswer = exchange.string();
  menuAnswers = {MacroPanel::kIdExport};
  Click("BTN_MACRO_MORE");
  EXPECT_EQ(ReadIniString("Setting", "Stale", "gone", exchange), "gone");
  EXPECT_EQ(ReadIniString("Other", "x", "gone", exchange), "gone");
  EXPECT_EQ(ReadIniString("Setting", "Count", "", exchange), "1");
  fileAnswer = root / "missing/folder/Out.macro";
  menuAnswers = {MacroPanel::kIdExport};
  Click("BTN_MACRO_MORE");
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_WRITE"});
}

TEST_F(MacroPanelTest, ChoosingAMacroFromTheListSavesItsIndex) {
  AddMacro("810100");
  AddMacro("");
  menuAnswers = {MacroPanel::kIdFirstMacro};  // Macro001, slot 0
  Click("BTN_MACRO_LIST");
  EXPECT_EQ(macros.CurrentIndex(), 0);
  EXPECT_EQ(SavedIndex(), "0");
  EXPECT_EQ(List().GetItemCount(), 1);
  EXPECT_EQ(menuEnabled.back().size(), 2u);
}

}  // namespace
}  // namespace vexlo

namespace vexlo {
namespace {

TEST_F(MacroPanelTest, KeysThatPlayAMacroFollowItsRenameAndDeletion) {
  ASSERT_EQ(mainSkin.Load(), Result::Ok);
  keys = std::make_unique<KeysPanel>(window, context, service, mainSkin);
  const std::uint8_t factory = sim->State().mouse.registers[0x09];  // button 4's register
  AddMacro("810100");
  ASSERT_EQ(StoreKeyAssignment(profiles.Data().device, 4,
                               KeyAssignment{kCodeMacro, 0, FormatExtensionNumber(0x10000)}),
            Result::Ok);  // slot 0, played once
  ASSERT_EQ(profiles.SaveCurrentProfile(), Result::Ok);
  keys->Refresh();
  const auto key4 = [&] {
    return window.findChild<CImageBtn*>("BTN_MOUSE_KEY5")->text().toStdString();
  };
  const auto savedCode = [&] {
    return ReadIniString("Setting", "pbyKeySet4", "?", profiles.CurrentPath());
  };
  const auto profileTime = std::filesystem::last_write_time(profiles.CurrentPath());

  static_cast<QLineEdit&>(Control("EDIT_MACRO_NAME")).setText("Reload");
  Click("BTN_MACRO_APPLY");
  EXPECT_EQ(key4(), language.LookupText("PREFIX_KEY_SET_MACRO") + "Reload");
  EXPECT_EQ(std::filesystem::last_write_time(profiles.CurrentPath()), profileTime);
  EXPECT_EQ(savedCode(), "40");

  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_MACRO_DELETE");
  EXPECT_EQ(profiles.Data().device.pbyKeySet[4], kCodeDisabled);
  EXPECT_EQ(savedCode(), "5");
  EXPECT_EQ(sim->State().mouse.registers[0x09], ButtonHardwareFunction(4, kCodeDisabled, factory));
}

}  // namespace
}  // namespace vexlo
