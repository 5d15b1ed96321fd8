#include "engine/DeviceEventService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../device/DeviceTestSupport.h"
#include "FakePauseClock.h"
#include "FakeUserMessages.h"
#include "HostFixture.h"
#include "HostTestSupport.h"
#include "TempFolder.h"
#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "device/DeviceSession.h"
#include "engine/AssignmentCodes.h"
#include "engine/InputInjector.h"
#include "engine/KeyAssignment.h"
#include "engine/MacroPlayer.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/DeviceNotifications.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

using test::RecordingTarget;

// The main window as the service sees it: what it was asked to show, and whether a dialog is open.
class FakeView final : public MainWindowView {
 public:
  void RefreshAll() override { ++refreshed; }
  void ShowModelChoice() override {}
  void ShowAndRaise() override { shown = true; }
  void HideWindow() override { shown = false; }
  void CloseOpenDialogs() override { ++dialogsClosed; }
  void SetTrayPresent(bool present) override { trayPresent = present; }
  void ShowNoDeviceMessage() override { ++noDeviceMessages; }
  void CloseNoDeviceMessage() override {}
  bool IsBusy() const override { return busy; }
  void ShowUnreadableProfile() override { ++unreadable; }

  int refreshed = 0;
  bool shown = false;
  int dialogsClosed = 0;
  bool trayPresent = false;
  int noDeviceMessages = 0;
  bool busy = false;
  int unreadable = 0;
};

// The service over the in-process simulated machine, with data folders of its own. The window's
// queue is a recording; the test hands its messages to the service as the window would.
class DeviceEventServiceTest : public ::testing::Test {
 protected:
  DeviceEventServiceTest() {
    settings_.DataFolder = temp_ / "Data/";
    settings_.SettingsFile = settings_.DataFolder + "Setting.ini";
  }

  ~DeviceEventServiceTest() override { service_.Shutdown(); }

  // Start-up: connect, then the window's queue as far as it goes.
  void Start() {
    service_.Start(/*startHidden=*/false);
    Deliver();
  }

  // Hands what the service posted to its window back to it, as the window's thread does.
  void Deliver() {
    for (; delivered_ < window_.posted.Items().size(); ++delivered_) {
      const RecordingTarget::Message message = window_.posted.Items()[delivered_];
      if (message.message == UM_DEVICE_STATE) service_.OnDeviceState(message.wParam);
      if (message.message == UM_SHOW_MAIN) service_.OnShowMain();
    }
  }

  void Assign(int button, const KeyAssignment& assignment) {
    ASSERT_EQ(StoreKeyAssignment(profiles_.Data().device, button, assignment), Result::Ok);
  }
  // Presses `button` on the mouse and waits until the host received `lines` injected lines.
  void PressOnMouse(int button, std::size_t lines) {
    const std::size_t before = lines_.All().size();
    ASSERT_EQ(machine_.sim->Press(button), Result::Ok);
    ASSERT_GE(lines_.WaitFor(before + lines).size(), before + lines) << "nothing was injected";
  }

  std::string Saved(const char* key) {
    return ReadIniString(kSettingsSection, key, "", settings_.SettingsFile);
  }

  test::TempFolder temp_;
  test::SimMachine machine_;
  test::InjectedLines lines_{*machine_.sim};
  AppSettings settings_;
  LanguageTable language_;
  test::FakeUserMessages messages_;
  ProfileStore profiles_{temp_ / "Data/", language_, messages_};
  MacroStore macros_{temp_ / "Data/", language_, messages_};
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
  DeviceSession device_{link_, messages_};
  InputInjector injector_{*machine_.platform.devices, *machine_.platform.hid};
  test::FakePauseClock pauses_;
  MacroPlayer player_{injector_, pauses_};
  ForegroundMonitor monitor_{*machine_.platform.foreground};
  WheelLinesWorker wheelLines_{*machine_.platform.mouseSettings};
  test::RecordingLauncher launcher_;
  FakeView view_;
  RecordingTarget window_;
  std::size_t delivered_ = 0;
  DeviceEventService service_{{settings_, profiles_, macros_, device_, injector_, player_, monitor_,
                               wheelLines_, *machine_.platform.mouseSettings, launcher_, pauses_},
                              view_,
                              window_};
};

TEST_F(DeviceEventServiceTest, ArrivalSendsTheProfileAndShowsTheWindow) {
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  profiles_.Data().device.pwDpi[0] = 400;
  ASSERT_EQ(WriteProfile(profiles_.CurrentPath(), profiles_.Data()), Result::Ok);
  ASSERT_EQ(machine_.platform.mouseSettings->SetPointerSpeed(7), Result::Ok);

  Start();

  EXPECT_EQ(device_.IsConnected(), Result::Ok);
  EXPECT_TRUE(view_.shown);
  EXPECT_TRUE(view_.trayPresent);
  EXPECT_TRUE(monitor_.IsMonitoring());
  EXPECT_EQ(Saved("strProfilePath"), profiles_.CurrentPath());
  EXPECT_EQ(settings_.nDevModel, 1u);  // the simulated mouse is of kind 2
  EXPECT_EQ(Saved("nDevModel"), "1");
  // The profile read from its file, with the desktop's settings captured into the file.
  EXPECT_EQ(profiles_.Data().device.pwDpi[0], 400);
  ProfileData saved;
  ASSERT_EQ(ReadProfile(profiles_.CurrentPath(), saved), Result::Ok);
  EXPECT_EQ(saved.windows.uMouseSpeed, 7u);
}

TEST_F(DeviceEventServiceTest, WithoutAMouseAShowRequestOnlyTellsSo) {
  ASSERT_EQ(machine_.sim->Unplug(), Result::Ok);
  Start();
  EXPECT_FALSE(view_.shown);
  EXPECT_EQ(view_.noDeviceMessages, 1);
  EXPECT_FALSE(view_.trayPresent);
}

// The current profile must be a profile file of the profile folder; anything else gives way to
// the first profile there, or to a new one, and the settings file learns of it.
TEST_F(DeviceEventServiceTest, ArrivalSettlesOnAProfileOfTheProfileFolder) {
  const std::string outside = temp_ / "important.txt";
  std::ofstream(outside) << "keep me\n";
  ASSERT_EQ(device_.Connect(), Result::Ok);
  // The first start through a one-shot switch left none; then one outside; then one gone.
  for (const std::string& saved : {std::string(), outside, profiles_.Folder() + "Gone.ini"}) {
    SCOPED_TRACE(saved);
    profiles_.SetCurrentPath(saved);
    service_.OnDeviceState(kTagDeviceArrived);
    EXPECT_EQ(profiles_.List().size(), 1u);
    EXPECT_EQ(profiles_.CurrentPath(), profiles_.List().front());
    EXPECT_EQ(Saved("strProfilePath"), profiles_.CurrentPath());
  }
  std::ifstream kept(outside);
  std::stringstream text;
  text << kept.rdbuf();
  EXPECT_EQ(text.str(), "keep me\n");
}

TEST_F(DeviceEventServiceTest, RemovalReleasesWhatTheMouseHeldAndHides) {
  Start();
  Assign(3, KeyAssignment::Plain(34));  // Alt+Tab
  service_.ProfileLoaded();
  PressOnMouse(3, 2);
  ASSERT_EQ(machine_.sim->State().injection.held.keys.size(), 2u);

  ASSERT_EQ(machine_.sim->Unplug(), Result::Ok);
  service_.OnDeviceChange(DeviceNotifications::kRemoveComplete);
  Deliver();

  EXPECT_TRUE(machine_.sim->State().injection.held.keys.empty());
  EXPECT_FALSE(view_.shown);
  EXPECT_FALSE(view_.trayPresent);
  EXPECT_EQ(view_.dialogsClosed, 1);
  EXPECT_FALSE(monitor_.IsMonitoring());

  ASSERT_EQ(machine_.sim->Plug(), Result::Ok);
  service_.OnDeviceChange(DeviceNotifications::kArrival);
  Deliver();
  EXPECT_TRUE(view_.trayPresent);
  EXPECT_FALSE(view_.shown);  // an arrival does not show the window
}

// A profile switch asked for while a dialog is open waits for it to close, and only the last
// one asked for is made.
TEST_F(DeviceEventServiceTest, ALinkedSwitchUnderADialogWaitsUntilItCloses) {
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  const std::string first = profiles_.CurrentPath();
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  const std::string second = profiles_.CurrentPath();
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  Start();
  const int refreshed = view_.refreshed;

  view_.busy = true;
  service_.OnLinkedProfile({first, "/bin/game"});
  service_.OnLinkedProfile({second, "/bin/editor"});
  service_.ApplyDeferredSwitch();  // another dialog is still open
  EXPECT_EQ(view_.refreshed, refreshed);
  EXPECT_NE(profiles_.CurrentPath(), second);

  view_.busy = false;
  service_.ApplyDeferredSwitch();
  EXPECT_EQ(profiles_.CurrentPath(), second);
  EXPECT_EQ(Saved("strProfilePath"), second);
  EXPECT_EQ(view_.refreshed, refreshed + 1);
  service_.ApplyDeferredSwitch();
  EXPECT_EQ(view_.refreshed, refreshed + 1);  // once
}

TEST_F(DeviceEventServiceTest, ALinkedProfileThatCannotBeReadIsRefused) {
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  const std::string gone = profiles_.CurrentPath();
  ASSERT_EQ(profiles_.NewProfile(), Result::Ok);
  const std::string current = profiles_.CurrentPath();
  Start();
  const int refreshed = view_.refreshed;
  std::filesystem::remove(gone);

  service_.OnLinkedProfile({gone, "/bin/game"});
  EXPECT_EQ(view_.unreadable, 1);
  EXPECT_EQ(profiles_.CurrentPath(), current);
  EXPECT_EQ(Saved("strProfilePath"), current);
  EXPECT_EQ(view_.refreshed, refreshed);
}

TEST_F(DeviceEventServiceTest, ShutdownLeavesDefaultsOnTheMouseAndTheUsersValuesInTheFile) {
  Start();
  profiles_.Data().windows.uMouseSpeed = 17;
  ASSERT_EQ(WriteProfile(profiles_.CurrentPath(), profiles_.Data()), Result::Ok);
  ASSERT_EQ(machine_.platform.mouseSettings->SetPointerSpeed(4), Result::Ok);
  Assign(3, KeyAssignment::Plain(34));  // Alt+Tab, held as the program ends
  service_.ProfileLoaded();
  PressOnMouse(3, 2);

  service_.Shutdown();

  const SimState state = machine_.sim->State();
  EXPECT_TRUE(state.injection.held.keys.empty());
  EXPECT_EQ(state.desktop.pointer.doubleClickTime, 550u);  // the desktop had 500
  EXPECT_EQ(state.desktop.pointer.pointerSpeed, 10u);
  EXPECT_EQ(state.desktop.pointer.wheelScrollLines, 3u);
  EXPECT_EQ(state.open.hidFilter + state.open.mouseFilter + state.open.hidCollections, 0);
  ProfileData saved;
  ASSERT_EQ(ReadProfile(profiles_.CurrentPath(), saved), Result::Ok);
  EXPECT_EQ(saved.windows.uMouseSpeed, 17u);
  // Nothing reaches the window after the exit.
  const std::size_t posted = window_.posted.Items().size();
  ASSERT_EQ(machine_.sim->Press(3), Result::Ok);
  EXPECT_TRUE(machine_.sim->State().injection.held.keys.empty());
  EXPECT_EQ(window_.posted.Items().size(), posted);
}

}  // namespace
}  // namespace vexlo
