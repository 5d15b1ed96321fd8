#include "app/panels/ProfilePanel.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "DefaultMouseRegisters.h"
#include "PagePanelFixture.h"
#include "app/ModalWatch.h"
#include "app/panels/ProfileMenus.h"
#include "common/IniFile.h"
#include "common/Text.h"
#include "profiles/ProfileFile.h"
#include "skin/CColorEdit.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

// The page panels' world (in-process simulated machine, shipped skin and language file, private
// data folder, messages answered by the test) with the profile panel and the frame's Apply
// button. The store starts with two profiles, "Profile001" (current) and "Profile002".
class ProfilePanelTest : public test::PagePanelFixture {
 protected:
  SkinFile<DibImage> mainSkin{settings.SkinFolder + "Main.ini"};
  int& refreshes = view.refreshes;
  std::unique_ptr<ProfilePanel> panel;

  void SetUp() override {
    PagePanelFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(profiles.NewProfile(), Result::Ok);
    ASSERT_EQ(profiles.SelectProfile(profiles.List()[0]), Result::Ok);
    ASSERT_EQ(mainSkin.Load(), Result::Ok);
    auto* apply = new CImageBtn(CImageBtn::Kind::Push, &window);  // as the frame makes it
    apply->setObjectName(QStringLiteral("BTN_APPLY"));
    panel = std::make_unique<ProfilePanel>(window, context, service, mainSkin);
    view.refresh = [this] { panel->Refresh(); };
  }

  void TearDown() override {
    panel.reset();
    PagePanelFixture::TearDown();
  }

  template <typename T = CImageBtn>
  T& Control(const char* key) {
    auto* control = window.findChild<T*>(QString::fromLatin1(key));
    EXPECT_NE(control, nullptr) << key;
    return *control;
  }
  void Click(const char* key) { QTest::mouseClick(&Control(key), Qt::LeftButton); }
  // Clicks the menu button and, once its menu is open, runs `whileOpen` on it.
  void OpenMenu(const char* key, const std::function<void(QMenu&)>& whileOpen) {
    WhileMenuOpen(Control(key), whileOpen);
  }
  void ChooseMenuItem(const char* key, int index) {
    OpenMenu(key, [index](QMenu& menu) {
      menu.setActiveAction(menu.actions().at(index));
      QTest::keyClick(&menu, Qt::Key_Return);
    });
  }
  void TypeName(const QString& name) {
    Control<CColorEdit>("EDIT_PROFILE_NAME").setText(name);
    Click("BTN_APPLY");
  }

  std::string Name() const { return ProfileStore::DisplayName(profiles.CurrentPath()); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const std::string& path : profiles.List())
      names.push_back(ProfileStore::DisplayName(path));
    return names;
  }
  std::string SavedPath() const {
    return ReadIniString("Setting", "strProfilePath", "", settings.SettingsFile);
  }
  std::string ProfilePath(const std::string& name) const {
    return profiles.Folder() + name + ".ini";
  }
  std::string ExchangeFile(const std::string& name, const std::string& bytes) const {
    const std::string path = root / (name + ".profile");
    test::WriteFile(path, bytes);
    return path;
  }
  // What the panel shows: the list button's caption, the edit's text and Apply's state.
  void ExpectShowsCurrent() {
    EXPECT_EQ(Control("BTN_PROFILE_LIST").text().toStdString(), Name());
    EXPECT_EQ(Control<CColorEdit>("EDIT_PROFILE_NAME").text().toStdString(), Name());
    EXPECT_FALSE(Control("BTN_APPLY").isEnabled());
  }
};

// Each way a profile becomes current sends the whole of it: the mouse's 32 registers, its report
// rate and the desktop's pointer speed, and the settings file names it. Profile002 is tuned;
// Profile001 and the added one hold the defaults. Each step leaves the mouse otherwise than the
// one before.
TEST_F(ProfilePanelTest, EveryWayOfSwitchingSendsTheWholeProfileAndSavesItsPath) {
  ProfileData tuned;
  FillDefaults(tuned);
  tuned.device.pwDpi = {400, 1800, 3400, 4200};  // steps 1, 8, 16, 20
  tuned.device.pbyCpiColorIdx = {1, 2, 3, 15};
  tuned.device.byLightMode = 0;  // steady
  tuned.device.byReportRateIndex = 1;
  tuned.windows.uMouseSpeed = 17;
  ASSERT_EQ(WriteProfile(ProfilePath("Profile002"), tuned), Result::Ok);
  // Registers 0x02..0x05: colour in bits 7..4, low step bits in 3..0; 0x08 bits 5..2: step bit 4
  // of each level; 0x0A bits 7..5: the light mode.
  constexpr SimRegisters kTuned = {
      0x00, 0x00, 0x11, 0x28, 0x30, 0xF4, 0x00, 0x00,  //
      0x0C, 0x00, 0x01, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
  };
  const struct {
    const char* how;
    std::function<void()> act;
    const char* current;
    const SimRegisters& registers;
    double reportRate;
    unsigned pointerSpeed;
  } steps[] = {
      {"chosen from the list", [&] { ChooseMenuItem("BTN_PROFILE_LIST", 1); }, "Profile002", kTuned,
       0.25, 17},
      {"added, with the defaults", [&] { Click("BTN_PROFILE_ADD"); }, "Profile003",
       test::kModel2Defaults, 1.0, 10},
      {"the one after the deleted",
       [&] {
         ChooseMenuItem("BTN_PROFILE_LIST", 0);
         messages.SetNextAnswer(UserMessages::kOk);
         Click("BTN_PROFILE_DELETE");
       },
       "Profile002", kTuned, 0.25, 17},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.how);
    step.act();
    EXPECT_EQ(Name(), step.current);
    EXPECT_EQ(SavedPath(), ProfilePath(step.current));
    ExpectShowsCurrent();
    const SimState state = sim->State();
    EXPECT_EQ(state.mouse.registers, step.registers);
    EXPECT_EQ(state.mouseFilter.reportRateFactor, step.reportRate);
    EXPECT_EQ(state.desktop.pointer.pointerSpeed, step.pointerSpeed);
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile002", "Profile003"}));

  // The current profile again: nothing is read, sent or saved.
  const int refreshed = refreshes;
  messages.shown.clear();
  ChooseMenuItem("BTN_PROFILE_LIST", 0);
  EXPECT_EQ(refreshes, refreshed);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProfilePanelTest, TheListShowsEveryProfileInUtf16Order) {
  // U+FF21 sorts after U+1F600 by UTF-16 code units (0xFF21 > 0xD83D), before it by UTF-8 bytes.
  const std::string valid = test::ReadFile(ProfilePath("Profile001"));
  for (const char* name : {"\xEF\xBC\xA1", "\xF0\x9F\x98\x80", "b"}) {
    ASSERT_EQ(profiles.ImportProfile(ExchangeFile(name, valid)), Result::Ok);
  }
  std::vector<std::string> items;
  std::vector<int> commands;
  OpenMenu("BTN_PROFILE_LIST", [&](QMenu& menu) {
    for (const QAction* action : menu.actions()) {
      items.push_back(action->text().toStdString());
      commands.push_back(CMenuEx::CommandId(*action));
    }
    menu.close();
  });
  EXPECT_EQ(items, (std::vector<std::string>{"Profile001", "Profile002", "b", "\xF0\x9F\x98\x80",
                                             "\xEF\xBC\xA1"}));
  EXPECT_EQ(commands, (std::vector<int>{31000, 31001, 31002, 31003, 31004}));

  // Taller than the screen, the list scrolls in one column as wide as the button and a little more.
  for (int i = 0; i < 100; ++i) ASSERT_EQ(profiles.NewProfile(), Result::Ok);
  OpenMenu("BTN_PROFILE_LIST", [&](QMenu& menu) {
    EXPECT_LE(menu.height(), menu.screen()->geometry().height());
    EXPECT_LT(menu.width(), 2 * Control("BTN_PROFILE_LIST").width());
    menu.close();
  });
}

TEST_F(ProfilePanelTest, AProfileWhoseFileCannotBeReadNeverBecomesCurrent) {
  profiles.Data().device.pwDpi[0] = 2000;
  test::WriteFile(ProfilePath("Profile002"), "[Sett");  // cut short
  ChooseMenuItem("BTN_PROFILE_LIST", 1);
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_FORMAT"});
  EXPECT_EQ(Name(), "Profile001");
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 2000);
  EXPECT_EQ(refreshes, 0);
}

TEST_F(ProfilePanelTest, AddAndImportWaitForTheMouse) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  (void)device.CheckAlive();
  const std::string file = ExchangeFile("Game", test::ReadFile(ProfilePath("Profile001")));
  Click("BTN_PROFILE_ADD");
  panel->Dialogs().SetNextImportFile(file);
  panel->ImportProfile();
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"STA_MSG_INFO_DEV_OFFLINE", "STA_MSG_INFO_DEV_OFFLINE"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile001", "Profile002"}));

  ASSERT_EQ(sim->Plug(), Result::Ok);
  ASSERT_EQ(device.Connect(), Result::Ok);
  Click("BTN_PROFILE_ADD");
  EXPECT_EQ(Name(), "Profile003");
  EXPECT_TRUE(std::filesystem::exists(ProfilePath("Profile003")));
  EXPECT_EQ(SavedPath(), ProfilePath("Profile003"));
  ExpectShowsCurrent();
}

TEST_F(ProfilePanelTest, DeleteAsksKeepsTheLastProfileAndMakesItsNeighbourCurrent) {
  ASSERT_EQ(profiles.SelectProfile(ProfilePath("Profile002")), Result::Ok);
  messages.SetNextAnswer(UserMessages::kCancel);
  Click("BTN_PROFILE_DELETE");
  EXPECT_TRUE(std::filesystem::exists(ProfilePath("Profile002")));

  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_PROFILE_DELETE");  // the last in the list: the one before it follows
  EXPECT_FALSE(std::filesystem::exists(ProfilePath("Profile002")));
  EXPECT_EQ(Name(), "Profile001");
  EXPECT_EQ(SavedPath(), ProfilePath("Profile001"));
  EXPECT_EQ(refreshes, 1);
  ExpectShowsCurrent();

  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_PROFILE_DELETE");
  EXPECT_EQ(Shown().back(), "STA_MSG_INFO_PROFILE_DELETE2");
  EXPECT_TRUE(std::filesystem::exists(ProfilePath("Profile001")));
}

TEST_F(ProfilePanelTest, ApplyingANameRenamesTheProfileOrSaysWhyNot) {
  struct Case {
    const char* typed;
    int answer;  // to a name conflict
    const char* message;
    const char* name;  // current afterwards
  };
  const Case cases[] = {
      {"  profile001 ", 0, "STA_MSG_INFO_PROFILE_APPLY", "Profile001"},  // unchanged
      {"   ", 0, nullptr, "Profile001"},
      {"a:b", 0, "STA_MSG_INFO_FILE_NAME_INVALID", "Profile001"},
      {"Profile002", UserMessages::kCancel, "STA_MSG_INFO_FILE_CONFLECT", "Profile001"},
      {" Racing ", 0, "STA_MSG_INFO_PROFILE_APPLY", "Racing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    messages.shown.clear();
    if (c.answer) messages.SetNextAnswer(c.answer);
    TypeName(QString::fromUtf8(c.typed));
    EXPECT_EQ(Shown(),
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(Name(), c.name);
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile002", "Racing"}));
  EXPECT_FALSE(std::filesystem::exists(ProfilePath("Profile001")));
  EXPECT_EQ(SavedPath(), ProfilePath("Racing"));
  ExpectShowsCurrent();
  // The name with its folder and ".ini" stays within 259 units.
  EXPECT_EQ(Utf16Length(profiles.Folder()) +
                static_cast<std::size_t>(Control<CColorEdit>("EDIT_PROFILE_NAME").maxLength()) + 4,
            259u);
}

TEST_F(ProfilePanelTest, OnlyAProfileFileImportsAndValuesArriveClamped) {
  const std::string before = test::ReadFile(ProfilePath("Profile001"));
  const char* refused[] = {"", "\x01\xFFgarbage\n\n=", "[Setting]\npwDpi0=800\n",
                           "[Setting]\nnFlag=2\npwDpi0=800\n"};
  for (const char* bytes : refused) {
    messages.shown.clear();
    panel->Dialogs().SetNextImportFile(ExchangeFile("Bad", bytes));
    ChooseMenuItem("BTN_PROFILE_MORE", 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_FORMAT"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"Profile001", "Profile002"}));
    EXPECT_EQ(test::ReadFile(ProfilePath("Profile001")), before);
  }

  // UTF-16 with a byte-order mark, as written elsewhere; 9999 and 99 lie beyond their ranges.
  const std::u16string text =
      u"\uFEFF[Setting]\r\nnFlag=20211124\r\npwDpi0=9999\r\nuMouseSpeed=99\r\nbyReportRateIndex="
      u"2\r\n";
  panel->Dialogs().SetNextImportFile(ExchangeFile(
      "Imported", std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
  ChooseMenuItem("BTN_PROFILE_MORE", 1);
  EXPECT_EQ(Name(), "Imported");
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 4200);
  EXPECT_EQ(profiles.Data().windows.uMouseSpeed, 20u);
  EXPECT_EQ(sim->State().desktop.pointer.pointerSpeed, 20u);
  EXPECT_EQ(sim->State().mouseFilter.reportRateFactor, 0.5);
  EXPECT_EQ(ReadIniString("Setting", "pwDpi0", "", ProfilePath("Imported")), "4200");
  EXPECT_EQ(SavedPath(), ProfilePath("Imported"));
  ExpectShowsCurrent();
}

TEST_F(ProfilePanelTest, ImportingOntoAnExistingNameAsksFirst) {
  ProfileData other;
  FillDefaults(other);
  other.device.pwDpi[0] = 3000;
  const std::string file = ExchangeFile("Profile002", "");
  ASSERT_EQ(WriteProfile(file, other), Result::Ok);
  const std::string kept = test::ReadFile(ProfilePath("Profile002"));

  messages.SetNextAnswer(UserMessages::kCancel);
  panel->Dialogs().SetNextImportFile(file);
  panel->ImportProfile();
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_CONFLECT"});
  EXPECT_EQ(Name(), "Profile001");
  EXPECT_EQ(test::ReadFile(ProfilePath("Profile002")), kept);

  messages.SetNextAnswer(UserMessages::kOk);
  panel->Dialogs().SetNextImportFile(file);
  panel->ImportProfile();
  EXPECT_EQ(Name(), "Profile002");
  EXPECT_EQ(ReadIniString("Setting", "pwDpi0", "", ProfilePath("Profile002")), "3000");
}

TEST_F(ProfilePanelTest, ExportReplacesTheChosenFileWholeAndReportsAFailure) {
  const std::string file = ExchangeFile("Out", "[Other]\nstray=1\n[Setting]\nextra=2\n");
  panel->Dialogs().SetNextExportFile(file);
  ChooseMenuItem("BTN_PROFILE_MORE", 2);
  EXPECT_TRUE(messages.shown.empty());
  const std::string exported = test::ReadFile(file);
  EXPECT_EQ(exported.find("stray"), std::string::npos);
  EXPECT_EQ(exported.find("extra"), std::string::npos);
  EXPECT_EQ(exported, test::ReadFile(ProfilePath("Profile001")));

  panel->Dialogs().SetNextExportFile(root / "missing/folder/Out.profile");
  panel->ExportProfile();
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_FILE_WRITE"});
}

TEST_F(ProfilePanelTest, AFileDialogClosedByTheWindowCountsAsCancelled) {
  window.show();
  bool open = false;
  QTimer::singleShot(0, [&] {
    open = QApplication::activeModalWidget() != nullptr;
    ModalWatch::CloseAll();  // as the mouse going away does
  });
  panel->ExportProfile();
  EXPECT_TRUE(open);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProfilePanelTest, CopyMakesTheCopyCurrentWithoutSendingAnything) {
  ChooseMenuItem("BTN_PROFILE_MORE", 0);
  EXPECT_EQ(Name(), "Profile001Copy1");
  EXPECT_EQ(SavedPath(), ProfilePath("Profile001Copy1"));
  EXPECT_EQ(refreshes, 0);
  ExpectShowsCurrent();
}

TEST_F(ProfilePanelTest, LinkingAProgramAsksForItAndStoresTheFileItResolvesTo) {
  CImageBtn& box = Control("CHK_PROFILE_LINK");
  const QString browse = QString::fromStdString(language.LookupText("BTN_PROFILE_LINK_BROWSE"));
  // Checked without a program: the program dialog opens at once; cancelled, the box stays.
  panel->Dialogs().SetNextProgram(std::nullopt);
  Click("CHK_PROFILE_LINK");
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(box.GetCheck(), 1);
  EXPECT_EQ(Control("BTN_PROFILE_LINK").toolTip(), browse);
  EXPECT_EQ(ReadIniString("Setting", "bLinkProgram", "", profiles.CurrentPath()), "1");

  // Chosen through a symbolic link: linked under the program file, as the monitor sees it.
  const std::string program = root / "game.bin";
  test::WriteFile(program, "");
  std::filesystem::create_symlink(program, root / "game");
  panel->Dialogs().SetNextProgram(root / "game");
  Click("BTN_PROFILE_LINK");
  EXPECT_EQ(ReadIniString("Setting", "szLinkPath", "", profiles.CurrentPath()), program);
  EXPECT_EQ(Control("BTN_PROFILE_LINK").toolTip().toStdString(), program);
  EXPECT_EQ(monitor.LinkTable(), (std::vector<LinkEntry>{{ProfilePath("Profile001"), program}}));

  // A path that would be cut short is refused; the link stays.
  const std::string deep = root / (std::string(250, 'd') + "/" + std::string(20, 'e'));
  std::filesystem::create_directories(std::filesystem::path(deep).parent_path());
  test::WriteFile(deep, "");
  panel->Dialogs().SetNextProgram(deep);
  Click("BTN_PROFILE_LINK");
  EXPECT_EQ(Shown(), std::vector<std::string>{"STA_MSG_INFO_LINK_PATH_TOO_LONG"});
  EXPECT_EQ(profiles.Data().link.szLinkPath, program);

  Click("CHK_PROFILE_LINK");
  EXPECT_EQ(box.GetCheck(), 0);
  EXPECT_EQ(Control("BTN_PROFILE_LINK").toolTip(), browse);
  EXPECT_TRUE(monitor.LinkTable().empty());
}

TEST_F(ProfilePanelTest, AfterADeletionAnUnreadableNeighbourGivesWayAndNothingOfTheDeletedStays) {
  ProfileData third;
  FillDefaults(third);
  third.device.pwDpi[0] = 3000;
  ASSERT_EQ(profiles.NewProfile(), Result::Ok);
  ASSERT_EQ(WriteProfile(ProfilePath("Profile003"), third), Result::Ok);
  ASSERT_EQ(profiles.NewProfile(), Result::Ok);  // Profile004
  ASSERT_EQ(profiles.SelectProfile(ProfilePath("Profile001")), Result::Ok);
  profiles.Data().device.pwDpi[0] = 2000;  // the deleted profile's
  const std::string damaged = "[Sett";
  test::WriteFile(ProfilePath("Profile002"), damaged);

  // The profile after it cannot be read: the next readable one becomes current.
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_PROFILE_DELETE");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"STA_MSG_INFO_PROFILE_DELETE",
                                               "STA_MSG_INFO_PROFILE_UNREADABLE"}));
  EXPECT_EQ(messages.details, std::vector<std::string>{"Profile002"});
  EXPECT_EQ(Name(), "Profile003");
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 3000);
  EXPECT_EQ(SavedPath(), ProfilePath("Profile003"));
  ExpectShowsCurrent();

  // None that can be read is left (Profile004 has gone since, Profile002 is damaged): a new
  // profile with the default settings.
  ASSERT_TRUE(std::filesystem::remove(ProfilePath("Profile004")));
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_PROFILE_DELETE");
  EXPECT_EQ(Shown().back(), "STA_MSG_INFO_PROFILE_UNREADABLE");
  EXPECT_EQ(Name(), "Profile001");
  ProfileData defaults;
  FillDefaults(defaults);
  EXPECT_EQ(profiles.Data().device.pwDpi, defaults.device.pwDpi);
  EXPECT_EQ(SavedPath(), ProfilePath("Profile001"));
  EXPECT_EQ(test::ReadFile(ProfilePath("Profile002")), damaged);
}

// A desktop that cannot tell which program is in front (a Wayland session without X11 windows).
class UnknownForeground final : public ForegroundProcess {
 public:
  std::optional<std::string> ForegroundImagePath() override { return std::nullopt; }
  bool KnowsForeground() const override { return false; }
};

class ProfilePanelWithoutForegroundTest : public ProfilePanelTest {
 protected:
  std::unique_ptr<ForegroundProcess> simulated;

  void SetUp() override {
    // The monitor made before keeps the simulated desktop; it lives on until the end.
    simulated = std::exchange(platform.foreground, std::make_unique<UnknownForeground>());
    ProfilePanelTest::SetUp();
  }
  void TearDown() override {
    ProfilePanelTest::TearDown();
    platform.foreground = std::move(simulated);
  }
};

TEST_F(ProfilePanelWithoutForegroundTest, LinkingSaysThatSwitchingWithAProgramNeedsAnX11Window) {
  const std::string needsX11 = "STA_MSG_INFO_LINK_NEEDS_X11";
  EXPECT_EQ(Control("CHK_PROFILE_LINK").toolTip().toStdString(), language.LookupText(needsX11));
  const std::string program = root / "game";
  test::WriteFile(program, "");
  panel->Dialogs().SetNextProgram(program);
  Click("CHK_PROFILE_LINK");  // asks for the program at once: one message for both
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Shown(), std::vector<std::string>{needsX11});
  EXPECT_EQ(profiles.Data().link.szLinkPath, program);  // kept for a session with X11 windows
}

}  // namespace
}  // namespace vexlo
