#include "app/CVexloDlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "AssignmentMenuDriver.h"
#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "device/DeviceLink.h"
#include "dialogs/CFireKeyDlg.h"
#include "device/DeviceSession.h"
#include "engine/AssignmentCodes.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/sim/SimDeviceNotifications.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/SkinFile.h"

namespace vexlo {
namespace {

const std::string kProgram = std::string(VEXLO_BINARY_DIR) + "/";

class FixedFolders final : public SystemFolders {
 public:
  explicit FixedFolders(std::string roaming) : roaming_(std::move(roaming)) {}
  std::string ModulePath() override { return kProgram + "vexlo"; }
  std::string RoamingDataFolder() override { return roaming_; }

 private:
  std::string roaming_;
};

struct NoLauncher final : ProcessLauncher {
  Result Open(const std::string&, const std::string&, const std::string&) override {
    return Result::FileNotFound;
  }
  Result StartCompanion(const std::string&, const std::string&, const std::string&,
                        std::uint32_t&) override {
    return Result::FileNotFound;
  }
};

// The main window over the in-process simulated machine, with the shipped skin and language
// file, private data and runtime folders, and messages answered by the test.
class MainWindowTest : public testing::Test {
 protected:
  test::TempFolder root;
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();
  Platform platform = MakePlatform();
  AppSettings settings = MakeSettings();
  LanguageTable language;
  test::FakeUserMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  ForegroundMonitor monitor{*platform.foreground, std::chrono::milliseconds(5)};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform,   settings, language,   messages, nullptr, profiles, macros,
                     device,     monitor,  wheelLines, injector, player,  pauseClock,
                     /*startHidden=*/false};
  bool trayUp = false;  // whether the desktop has a notification area
  std::unique_ptr<CVexloDlg> window;

  Platform MakePlatform() {
    std::filesystem::create_directories(root / "run");
    Platform made;
    made.folders = std::make_unique<FixedFolders>(root / "roaming/");
    made.instances = std::make_unique<LinuxInstanceRegistry>(root / "run/");
    made.launcher = std::make_unique<NoLauncher>();
    AddSimPorts(made, sim);
    made.notifications = std::make_unique<SimEnvironmentNotifications>(sim);
    return made;
  }

  AppSettings MakeSettings() {
    AppSettings made;
    FillProgramPaths(made, kProgram + "vexlo");
    made.DaemonPath = root / "no-companion";
    (void)PrepareDataFolder(made, DeriveDataFolder(*platform.folders));
    made.CommonFontName = "Open Sans";
    return made;
  }

  void SetUp() override {
    language.Load(settings.LanguageFile);
    ASSERT_EQ(profiles.NewProfile(), Result::Ok);
    window = std::make_unique<CVexloDlg>(context, [this] { return trayUp; });
    ASSERT_EQ(window->LoadSkin(), Result::Ok);
    window->InitDialog();
    Settle();
  }

  void TearDown() override {
    window.reset();
    (void)player.StopNow();  // it has stopped when this returns
  }

  // Lets the window handle what was posted to it.
  static void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::sendPostedEvents();
  }

  CImageBtn* Button(const char* key) const {
    return window->findChild<CImageBtn*>(QString::fromLatin1(key));
  }
  void Click(const char* key) {
    CImageBtn* button = Button(key);
    ASSERT_NE(button, nullptr) << key;
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
  }
  std::string SavedSetting(const char* key) {
    return ReadIniString("Setting", key, "", settings.SettingsFile);
  }
};

// The same over a desktop with a notification area.
class MainWindowWithTrayTest : public MainWindowTest {
 protected:
  MainWindowWithTrayTest() { trayUp = true; }

  void ShowRequest() {
    (void)window->Target().Post(UM_SHOW_MAIN, kTagOpen, 0);
    Settle();
  }
};

TEST_F(MainWindowTest, ConnectsAtStartAndChoosesAModelTheMouseAdmits) {
  EXPECT_EQ(device.IsConnected(), Result::Ok);
  EXPECT_TRUE(window->isVisible());  // shown at start with a mouse there
  // The simulated mouse is of kind 2: the Pirul and Sorna models; the default model 3 becomes 1.
  EXPECT_EQ(settings.nDevModel, 1u);
  EXPECT_EQ(SavedSetting("nDevModel"), "1");
  EXPECT_FALSE(Button("RAD_DEV1")->isEnabled());
  EXPECT_TRUE(Button("RAD_DEV2")->isEnabled());
  EXPECT_TRUE(Button("RAD_DEV3")->isEnabled());
  EXPECT_FALSE(Button("RAD_DEV4")->isEnabled());
  EXPECT_EQ(Button("RAD_DEV2")->GetCheck(), 1);
  EXPECT_EQ(SavedSetting("strProfilePath"), profiles.CurrentPath());
}

TEST_F(MainWindowTest, PageButtonsSwitchPagesAndTheMouseButtonReturns) {
  EXPECT_EQ(window->CurrentPage(), kPageKeys);
  EXPECT_TRUE(Button("BTN_RESTORE")->isVisibleTo(window.get()));
  EXPECT_EQ(Button("BTN_MOUSE_KEY")->GetCheck(), 1);

  Click("BTN_MOUSE_ADV");
  EXPECT_EQ(window->CurrentPage(), kPagePerformance);
  EXPECT_FALSE(Button("BTN_RESTORE")->isVisibleTo(window.get()));
  EXPECT_TRUE(Button("BTN_APPLY")->isVisibleTo(window.get()));
  EXPECT_FALSE(Button("BTN_MOUSE_PIC0")->isVisibleTo(window.get()));
  EXPECT_EQ(Button("BTN_MOUSE_KEY")->GetCheck(), 0);
  EXPECT_EQ(Button("BTN_MOUSE_ADV")->GetCheck(), 1);
  EXPECT_EQ(Button("BTN_MOUSE")->GetCheck(), 1);

  Click("BTN_MACRO");
  EXPECT_EQ(window->CurrentPage(), kPageMacro);
  EXPECT_EQ(Button("BTN_MOUSE")->GetCheck(), 0);
  EXPECT_EQ(Button("BTN_MACRO")->GetCheck(), 1);
  EXPECT_FALSE(Button("BTN_APPLY")->isVisibleTo(window.get()));
  Click("BTN_MACRO");  // already there: nothing
  EXPECT_EQ(window->CurrentPage(), kPageMacro);
  Click("BTN_MOUSE");
  EXPECT_EQ(window->CurrentPage(), kPagePerformance);

  Click("BTN_MOUSE_LIGHT");
  EXPECT_EQ(window->CurrentPage(), kPageLighting);
  EXPECT_TRUE(Button("BTN_MOUSE_PIC0")->isVisibleTo(window.get()));
  Click("BTN_MOUSE");  // only from the macro page
  EXPECT_EQ(window->CurrentPage(), kPageLighting);
  EXPECT_FALSE(Button("BTN_MOUSE_LINE_COR")->isVisibleTo(window.get()));
}

TEST_F(MainWindowTest, AChosenModelIsSavedAtOnceAndMovesTheKeyPictures) {
  Click("RAD_DEV3");
  EXPECT_EQ(settings.nDevModel, 2u);
  EXPECT_EQ(SavedSetting("nDevModel"), "2");
  const QRect sorna = ReadControlRect(settings.SkinFolder + "Sorna.ini", "BTN_MOUSE_PIC1");
  EXPECT_EQ(Button("BTN_MOUSE_PIC1")->geometry(), sorna);
  Click("RAD_DEV2");
  EXPECT_EQ(SavedSetting("nDevModel"), "1");
  EXPECT_EQ(Button("BTN_MOUSE_PIC1")->geometry(),
            ReadControlRect(settings.SkinFolder + "Pirul.ini", "BTN_MOUSE_PIC1"));
  EXPECT_NE(sorna, Button("BTN_MOUSE_PIC1")->geometry());
}

TEST_F(MainWindowTest, RestoreAsksThenResetsTheProfileTheMouseAndTheDesktop) {
  ProfileData& profile = profiles.Data();
  profile.device.pwDpi[0] = 2000;
  profile.windows.uMouseSpeed = 17;
  ASSERT_EQ(WriteProfile(profiles.CurrentPath(), profile), Result::Ok);

  messages.SetNextAnswer(UserMessages::kCancel);
  Click("BTN_RESTORE");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_RESTORE");
  EXPECT_EQ(messages.shown[0].flags, UserMessages::kQuestion);
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 2000);

  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_RESTORE");
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 800);
  ProfileData saved;
  ASSERT_EQ(ReadProfile(profiles.CurrentPath(), saved), Result::Ok);
  EXPECT_EQ(saved.device.pwDpi[0], 800);
  EXPECT_EQ(saved.windows.uMouseSpeed, 10u);
  const SimState state = sim->State();
  EXPECT_EQ(state.desktop.pointer.doubleClickTime, 550u);
  EXPECT_EQ(state.desktop.pointer.pointerSpeed, 10u);
  // Level 0 of the mouse is back at 800 cpi: step 3 in the low nibble of register 0x02.
  EXPECT_EQ(state.mouse.registers[0x02] & 0x0F, 3);
}

// A linked program that comes to the front while the question is open switches the profile only
// once the question has been answered, so "Yes" resets the profile it was asked about.
TEST_F(MainWindowTest, ALinkedSwitchDuringTheRestoreQuestionComesAfterIt) {
  const std::string asked = profiles.CurrentPath();
  profiles.Data().device.pwDpi[0] = 2000;
  ASSERT_EQ(WriteProfile(asked, profiles.Data()), Result::Ok);
  const std::string linked = settings.DataFolder + "Profile/Game.ini";
  test::WriteFile(linked, "[Setting]\npwDpi0=3000\nnFlag=20211124\n");
  messages.whileOpen = [&] {
    QDialog question(window.get());  // the question as the user sees it
    QTimer::singleShot(0, &question, [&] {
      (void)window->Target().PostText(UM_LINKED_PROFILE, {linked, "/bin/game", "/bin/game"});
      QCoreApplication::sendPostedEvents();
      EXPECT_EQ(profiles.CurrentPath(), asked);
      question.accept();
    });
    question.exec();
  };
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_RESTORE");

  ProfileData saved;
  ASSERT_EQ(ReadProfile(asked, saved), Result::Ok);
  EXPECT_EQ(saved.device.pwDpi[0], 800);
  EXPECT_EQ(profiles.CurrentPath(), linked);
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 3000);
  ASSERT_EQ(ReadProfile(linked, saved), Result::Ok);
  EXPECT_EQ(saved.device.pwDpi[0], 3000);
}

TEST_F(MainWindowTest, RestoreWithoutAMouseSaysSoAndChangesNothing) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  profiles.Data().device.pwDpi[0] = 2000;
  messages.SetNextAnswer(UserMessages::kOk);
  Click("BTN_RESTORE");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].textKey, "STA_MSG_INFO_DEV_OFFLINE");
  EXPECT_EQ(profiles.Data().device.pwDpi[0], 2000);
}

TEST_F(MainWindowTest, ClosingWithoutATrayMinimisesTheWindowAndKeysDoNothing) {
  QSignalSpy finished(window.get(), &QDialog::finished);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isMinimized());
  // The offscreen desktop has no notification area: the window stays in reach, minimised.
  Click("BTN_CLOSE");
  EXPECT_TRUE(window->isMinimized());
  EXPECT_EQ(finished.count(), 0);
  // Shown again on the page it had.
  Click("BTN_MOUSE_ADV");
  (void)window->Target().Post(UM_SHOW_MAIN, kTagOpen, 0);
  Settle();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindowTest, AnExitRequestEndsTheWindowWithTheDefaultsApplied) {
  ASSERT_EQ(platform.mouseSettings->SetPointerSpeed(4), Result::Ok);
  profiles.Data().device.pwDpi[0] = 4200;
  QSignalSpy finished(window.get(), &QDialog::finished);
  (void)window->Target().Post(UM_EXIT_APP, kTagKill, 0);
  Settle();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(window->isVisible());
  const SimState state = sim->State();
  EXPECT_EQ(state.desktop.pointer.pointerSpeed, 10u);
  EXPECT_EQ(state.mouse.registers[0x02] & 0x0F, 3);
  // The profile file keeps what the user chose; only the mouse and desktop were reset.
  ProfileData saved;
  ASSERT_EQ(ReadProfile(profiles.CurrentPath(), saved), Result::Ok);
}

TEST_F(MainWindowTest, RemovalHidesTheWindowAndAnArrivalDoesNotShowIt) {
  ASSERT_TRUE(window->isVisible());
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(device.IsConnected(), Result::NotConnected);
  EXPECT_TRUE(Button("RAD_DEV1")->isEnabled());  // no mouse: every model may be chosen

  ASSERT_EQ(sim->Plug(), Result::Ok);
  Settle();
  EXPECT_EQ(device.IsConnected(), Result::Ok);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(Button("RAD_DEV1")->isEnabled());
}

TEST_F(MainWindowTest, AShowRequestWithoutAMouseShowsTheNoDeviceMessage) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  auto* message = window->findChild<CMsgDlg*>();
  ASSERT_NE(message, nullptr);
  message->SetNextAnswer(CMsgDlg::kIdOk);
  (void)window->Target().Post(UM_SHOW_MAIN, kTagOpen, 0);
  Settle();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(message->Information(),
            QString::fromStdString(language.LookupText("STA_MSG_INFO_NO_DEV")));
}

// A linked program in the foreground makes its profile current and sends it to the mouse, each
// time it comes back; while a dialog of the window is open the switch waits until it has closed.
TEST_F(MainWindowTest, LinkedProgramsSwitchProfilesButNeverUnderADialog) {
  const std::string desk = profiles.CurrentPath();
  const std::string deskProgram = root / "desk.bin";
  const std::string gameProgram = root / "game.bin";
  test::WriteFile(deskProgram, "");
  test::WriteFile(gameProgram, "");
  profiles.Data().link = {1, deskProgram};
  ASSERT_EQ(WriteProfile(desk, profiles.Data()), Result::Ok);
  ASSERT_EQ(profiles.NewProfile(), Result::Ok);
  const std::string game = profiles.CurrentPath();
  profiles.Data().device.pwDpi[0] = 3000;  // step 14: low bits 0xE of register 0x02
  profiles.Data().link = {1, gameProgram};
  ASSERT_EQ(WriteProfile(game, profiles.Data()), Result::Ok);
  ASSERT_EQ(profiles.SelectProfile(desk), Result::Ok);
  monitor.RebuildLinkTable(profiles);
  const auto switchesTo = [&](const std::string& program, const std::string& profile) {
    sim->SetForeground(program);
    return QTest::qWaitFor([&] { return profiles.CurrentPath() == profile; }, 10000);
  };

  for (const auto& [program, profile] :
       {std::pair{gameProgram, game}, std::pair{deskProgram, desk}, std::pair{gameProgram, game}}) {
    ASSERT_TRUE(switchesTo(program, profile)) << profile;
    EXPECT_EQ(Button("BTN_PROFILE_LIST")->text().toStdString(), ProfileStore::DisplayName(profile));
    EXPECT_EQ(SavedSetting("strProfilePath"), profile);
    EXPECT_EQ(sim->State().mouse.registers[0x02] & 0x0F, profile == game ? 0x0E : 0x03);
  }

  CFireKeyDlg dialog(settings, language, window.get());
  bool waited = false;
  QTimer::singleShot(0, [&] {
    sim->SetForeground(deskProgram);
    QTest::qWait(200);  // forty polls
    waited = profiles.CurrentPath() == game;
    dialog.reject();
  });
  (void)dialog.Run();
  EXPECT_TRUE(waited);
  EXPECT_TRUE(QTest::qWaitFor([&] { return profiles.CurrentPath() == desk; }, 10000));
}

// The buttons page: its key buttons, which light their spot on the mouse picture of the frame
// while pointed at or while their menu is open.
TEST_F(MainWindowTest, TheButtonsPageShowsItsKeysAndLightsTheSpotPointedAt) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  CImageBtn* key = Button("BTN_MOUSE_KEY2");
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->isVisibleTo(window.get()));
  EXPECT_EQ(key->text().toStdString(), language.LookupText("INFO_KEY_SET_RIGHT"));
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), key->mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(key, &enter);
  key->repaint();
  EXPECT_TRUE(Button("BTN_MOUSE_PIC2")->isEnabled());
  EXPECT_FALSE(Button("BTN_MOUSE_PIC1")->isEnabled());
  // Lit while its menu is open.
  QTimer::singleShot(0, [&] {
    Button("BTN_MOUSE_KEY5")->repaint();
    EXPECT_TRUE(Button("BTN_MOUSE_PIC5")->isEnabled());
    QApplication::activePopupWidget()->close();
  });
  QTest::mouseClick(Button("BTN_MOUSE_KEY5"), Qt::LeftButton);
  Button("BTN_MOUSE_KEY5")->repaint();
  EXPECT_FALSE(Button("BTN_MOUSE_PIC5")->isEnabled());
  Click("BTN_MOUSE_ADV");
  EXPECT_FALSE(key->isVisibleTo(window.get()));
}

// Chooses `code` in key `key`'s assignment menu; `whileDialogOpen` runs in the dialog the choice
// opens, if any.
void ChooseForKey(CImageBtn& key, std::uint8_t code, std::function<void()> whileDialogOpen = {}) {
  QTimer::singleShot(0, [code, whileDialogOpen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    if (whileDialogOpen) QTimer::singleShot(0, whileDialogOpen);
    test::ChooseItem(*menu, FindAssignmentCode(code)->commandId);
  });
  QTest::mouseClick(&key, Qt::LeftButton);
}

TEST_F(MainWindowTest, AChoiceWithoutTheMouseIsSavedAndReachesItWhenItArrives) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  ChooseForKey(*Button("BTN_MOUSE_KEY6"), kCodeSensitivityCycle);
  EXPECT_EQ(ReadIniString("Setting", "pbyKeySet5", "", profiles.CurrentPath()), "43");
  EXPECT_EQ(sim->State().mouse.registers[0x0B], 0x09);  // as it was

  ASSERT_EQ(sim->Plug(), Result::Ok);
  Settle();
  EXPECT_EQ(sim->State().mouse.registers[0x0B], 0x08);
}

// A linked profile switch waits for the dialog of a choice; the choice goes to the profile that
// was current when it was made.
TEST_F(MainWindowTest, ALinkedSwitchWhileAKeyDialogIsOpenComesAfterIt) {
  const std::string asked = profiles.CurrentPath();
  const std::string linked = settings.DataFolder + "Profile/Game.ini";
  test::WriteFile(linked, "[Setting]\npwDpi0=3000\nnFlag=20211124\n");
  ChooseForKey(*Button("BTN_MOUSE_KEY4"), kCodeFireKey, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    (void)window->Target().PostText(UM_LINKED_PROFILE, {linked, "/bin/game", "/bin/game"});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(profiles.CurrentPath(), asked);
    dialog->accept();
  });
  Settle();
  EXPECT_EQ(ReadIniString("Setting", "pbyKeySet3", "", asked), "39");
  EXPECT_EQ(profiles.CurrentPath(), linked);
  EXPECT_EQ(profiles.Data().device.pbyKeySet[3], kCodeForwardButton);
  EXPECT_EQ(Button("BTN_MOUSE_KEY4")->text().toStdString(),
            language.LookupText("INFO_KEY_SET_FORWARD"));
}

// The about button opens the about window modally; a removal of the mouse closes it with the
// other dialogs, as an exit request does.
TEST_F(MainWindowTest, TheAboutButtonOpensTheAboutWindowUntilTheMouseGoes) {
  bool seen = false;
  QTimer::singleShot(0, window.get(), [&] {
    auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    seen = about->objectName() == QStringLiteral("AboutDlg") && about->isVisible();
    (void)sim->Unplug();
  });
  Click("BTN_ABOUT");
  EXPECT_TRUE(seen);
  auto* about = window->findChild<QDialog*>(QStringLiteral("AboutDlg"));
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(about->isVisible());
}

// The end of a driver setup, posted from its worker, is told to the user on the window's thread.
TEST_F(MainWindowTest, TheEndOfADriverSetupIsShownOnTheWindowsThread) {
  (void)window->Target().Post(UM_DRIVER_SETUP, 0, 0);
  (void)window->Target().Post(UM_DRIVER_SETUP, 1, 0);
  Settle();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_DRV_SPLIT_FAIL");
  EXPECT_EQ(messages.shown[1].textKey, "STA_MSG_INFO_DRV_SPLIT2");
}

// What shows and hides the window and the tray icon, event by event.
TEST_F(MainWindowWithTrayTest, TheWindowAndTheIconFollowTheMouseAndTheUser) {
  EXPECT_TRUE(window->isVisible());  // started with the mouse
  EXPECT_TRUE(window->Tray().IsPresent());
  // Drawn for the tray's sizes, not scaled down.
  for (const QSize size : {QSize(16, 16), QSize(22, 22), QSize(24, 24)}) {
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(size)) << size.width();
  }
  Click("BTN_MOUSE_ADV");

  Click("BTN_MINIMIZE");
  EXPECT_TRUE(window->isMinimized());
  ShowRequest();
  EXPECT_FALSE(window->isMinimized());
  EXPECT_TRUE(window->isVisible());

  Click("BTN_CLOSE");  // hidden: the icon is there to open it again
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->Tray().IsPresent());
  ShowRequest();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->CurrentPage(), kPagePerformance);

  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->Tray().IsPresent());
  ASSERT_EQ(sim->Plug(), Result::Ok);
  Settle();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->Tray().IsPresent());
}

// Asked twice without a mouse, the no-device message shows once, in front; the mouse arriving
// closes it.
TEST_F(MainWindowWithTrayTest, TwoShowRequestsWithoutAMouseLeaveOneMessageInFront) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  Settle();
  int messagesOpen = 0;
  QWidget* inFront = nullptr;
  (void)window->Target().Post(UM_SHOW_MAIN, kTagOpen, 0);
  QTimer::singleShot(0, window.get(), [&] {  // in the first message's loop
    ShowRequest();
    for (const CMsgDlg* message : window->findChildren<CMsgDlg*>()) messagesOpen += message->isVisible();
    inFront = QApplication::activeModalWidget();
    ASSERT_EQ(sim->Plug(), Result::Ok);
  });
  Settle();
  EXPECT_EQ(messagesOpen, 1);
  ASSERT_NE(inFront, nullptr);
  EXPECT_EQ(dynamic_cast<CMsgDlg*>(inFront)->Information(),
            QString::fromStdString(language.LookupText("STA_MSG_INFO_NO_DEV")));
  EXPECT_TRUE(inFront->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(inFront->isVisible());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->Tray().IsPresent());
}

// The mouse going away with a menu or dialog of the buttons page open: it closes as cancelled.
TEST_F(MainWindowWithTrayTest, RemovalClosesTheOpenMenuOrDialogAsCancelled) {
  const struct {
    std::uint8_t code;  // the choice made in the menu, or 0 to leave the menu open
    const char* window;
  } cases[] = {{0, "menu"},
               {kCodeFireKey, "FireKeyDlg"},
               {kCodeSingleKey, "SngKbdDlg"},
               {kCodeLaunchProgram, "ProgramFileDialog"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    ASSERT_EQ(sim->Plug(), Result::Ok);
    ShowRequest();
    ASSERT_TRUE(window->isVisible());
    QString open;
    const auto unplug = [&] {
      QWidget* modal = QApplication::activeModalWidget();
      open = QApplication::activePopupWidget() ? QStringLiteral("menu")
             : modal                           ? modal->objectName()
                                               : QString();
      ASSERT_EQ(sim->Unplug(), Result::Ok);
    };
    if (c.code == 0) {
      QTimer::singleShot(0, unplug);
      QTest::mouseClick(Button("BTN_MOUSE_KEY4"), Qt::LeftButton);
    } else {
      ChooseForKey(*Button("BTN_MOUSE_KEY4"), c.code, unplug);
    }
    Settle();
    EXPECT_EQ(open.toStdString(), c.window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Tray().IsPresent());
    EXPECT_EQ(profiles.Data().device.pbyKeySet[3], kCodeForwardButton);
  }
}

}  // namespace
}  // namespace vexlo
