#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "app/CVexloApp.h"
#include "app/InstanceSignal.h"
#include "common/IniDocument.h"
#include "common/Messages.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/ProfileFile.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

class FakeFolders final : public SystemFolders {
 public:
  FakeFolders(std::string module, std::string roaming)
      : module_(std::move(module)), roaming_(std::move(roaming)) {}
  std::string ModulePath() override { return module_; }
  std::string RoamingDataFolder() override { return roaming_; }

 private:
  std::string module_;
  std::string roaming_;
};

// The real registry on a private folder, but this process runs `image` (the fake program file).
class RegistryRunning final : public InstanceRegistry {
 public:
  RegistryRunning(std::string folder, std::string image)
      : inner_(std::move(folder)), image_(std::move(image)) {}
  Result AcquireInstanceLock(std::string_view name,
                             std::unique_ptr<ReleaseOnDestroy>& lock) override {
    return inner_.AcquireInstanceLock(name, lock);
  }
  Result PublishWindow(std::uint32_t userData, MessageAdmission admit, MessageTarget& target,
                       std::unique_ptr<ReleaseOnDestroy>& publication,
                       RunningWindow& self) override {
    return inner_.PublishWindow(userData, std::move(admit), target, publication, self);
  }
  std::vector<RunningWindow> ListWindows() override { return inner_.ListWindows(); }
  std::optional<RunningWindow> WindowAt(const std::string& endpoint) override {
    return inner_.WindowAt(endpoint);
  }
  Result PostToWindow(const RunningWindow& window, std::uint32_t message, std::uint32_t wParam,
                      std::uint32_t lParam) override {
    return inner_.PostToWindow(window, message, wParam, lParam);
  }
  std::optional<std::string> ProcessImagePath(std::uint32_t processId) override {
    if (processId == static_cast<std::uint32_t>(::getpid())) return image_;
    return inner_.ProcessImagePath(processId);
  }

 private:
  LinuxInstanceRegistry inner_;
  std::string image_;
};

class FakeSystemInfo final : public SystemInfo {
 public:
  int NativeBitWidth() override { return 64; }
};

// A program folder with a language file, a roaming folder and a runtime folder, all private to
// one test.
struct StartupFixture : testing::Test {
  test::TempFolder root;
  std::string program = root / "program/";
  std::string data = root / "roaming/Halvec QXA7702 Gaming Mouse/";
  Platform platform;

  StartupFixture() {
    test::WriteFile(program + "Lang.ini", "[LANG]\nLANG_FILE=Lang_En.ini\n");
    test::WriteFile(program + "Lang_En.ini",
                    "[LANG]\nCOMMON_FONT_NAME=Open Sans\nINFO_PRPFILE_PREFIX=Profile\n");
    std::filesystem::create_directories(root / "run");
    platform.folders = std::make_unique<FakeFolders>(program + "vexlo", root / "roaming/");
    platform.instances = std::make_unique<RegistryRunning>(root / "run/", program + "vexlo");
    platform.system = std::make_unique<FakeSystemInfo>();
    AddSimPorts(platform, std::make_shared<SimEnvironment>());
  }

  void WriteMacroSlot(int slot, const std::string& name) {
    char file[32];
    std::snprintf(file, sizeof file, "Macro/Macro%03d.ini", slot);
    test::WriteFile(data + file, "[Setting]\nbyFlag=85\nbyCount=0\nbyExtFlag=0\npma=\nszName=" +
                                     name + "\n");
  }
  std::string Settings() { return test::ReadFile(data + "Setting.ini"); }
};

TEST_F(StartupFixture, AFirstStartCreatesTheDataFilesEvenForAOneShotSwitch) {
  CVexloApp app(platform);
  EXPECT_EQ(app.Run({CommandLine::Action::SysBits, false}), 64);

  EXPECT_TRUE(std::filesystem::is_directory(data + "Profile"));
  EXPECT_TRUE(std::filesystem::is_directory(data + "Macro"));
  // The new profile is current for the next start too.
  const std::string written = "[Setting]\nstrProfilePath=" + data +
                              "Profile/Profile001.ini\nnMacroIndex=4294967295\n";
  EXPECT_EQ(Settings(), written);
  ASSERT_EQ(app.Profiles().List(), (std::vector<std::string>{data + "Profile/Profile001.ini"}));
  EXPECT_EQ(app.Profiles().CurrentPath(), data + "Profile/Profile001.ini");
  ProfileData expected;
  FillDefaults(expected);
  ProfileData read;
  ASSERT_EQ(ReadProfile(data + "Profile/Profile001.ini", read), Result::Ok);
  read.windows.uDoubleClickTime = expected.windows.uDoubleClickTime;  // not read back
  EXPECT_EQ(read, expected);
  EXPECT_EQ(app.Settings().LanguageFile, program + "Lang_En.ini");
  EXPECT_EQ(app.Settings().CommonFontName, "Open Sans");
  EXPECT_EQ(app.Settings().nDevModel, 3u);

  // Every start without a macro writes the index again.
  std::filesystem::remove(data + "Setting.ini");
  CVexloApp again(platform);
  EXPECT_EQ(again.Run({CommandLine::Action::SplitCheck, false}), 0);
  EXPECT_EQ(Settings(), written);
  EXPECT_EQ(again.Profiles().List().size(), 1u);  // the profile exists: no new one
}

struct MacroIndexCase {
  std::string stored;
  int current;
  std::string rewritten;  // empty: the file is left as it was
};

class MacroIndexTest : public StartupFixture,
                       public testing::WithParamInterface<MacroIndexCase> {};

TEST_P(MacroIndexTest, AnIndexThatNamesNoUsedSlotIsReplaced) {
  WriteMacroSlot(2, "Jump");
  WriteMacroSlot(7, "Attack");
  ProfileData profile;
  FillDefaults(profile);
  std::filesystem::create_directories(data + "Profile");
  ASSERT_EQ(WriteProfile(data + "Profile/Desk.ini", profile), Result::Ok);
  const std::string current = "[Setting]\nstrProfilePath=" + data + "Profile/Desk.ini\n";
  const std::string before = current + "nMacroIndex=" + GetParam().stored + "\n";
  test::WriteFile(data + "Setting.ini", before);
  CVexloApp app(platform);
  EXPECT_EQ(app.Run({CommandLine::Action::SysBits, false}), 64);
  EXPECT_EQ(app.Macros().CurrentIndex(), GetParam().current);
  const std::string expected = GetParam().rewritten.empty()
                                   ? before
                                   : current + "nMacroIndex=" + GetParam().rewritten + "\n";
  EXPECT_EQ(Settings(), expected);
}

INSTANTIATE_TEST_SUITE_P(Stored, MacroIndexTest,
                         testing::Values(MacroIndexCase{"7", 7, ""}, MacroIndexCase{"2", 2, ""},
                                         MacroIndexCase{"5", 2, "2"},
                                         MacroIndexCase{"16", 2, "2"},
                                         MacroIndexCase{"-1", 2, "2"},
                                         MacroIndexCase{"4294967295", 2, "2"},
                                         MacroIndexCase{"rubbish", 2, "2"}));

TEST_F(StartupFixture, TheSavedValuesAreAppliedAsTheyStand) {
  ProfileData profile;
  FillDefaults(profile);
  std::filesystem::create_directories(data + "Profile");
  ASSERT_EQ(WriteProfile(data + "Profile/Game.ini", profile), Result::Ok);
  test::WriteFile(data + "Setting.ini",
                  "[Setting]\nstrProfilePath=" + data + "Profile/GAME.ini\nnDevModel=1\n");
  ASSERT_EQ(platform.mouseSettings->SetDoubleClickTime(700), Result::Ok);
  ASSERT_EQ(platform.mouseSettings->SetPointerSpeed(15), Result::Ok);
  ASSERT_EQ(platform.mouseSettings->SetWheelScrollLines(5), Result::Ok);

  CVexloApp app(platform);
  EXPECT_EQ(app.Run({CommandLine::Action::SysBits, false}), 64);
  // Names compare without regard to case; the current one is the file that is there.
  EXPECT_EQ(app.Profiles().CurrentPath(), data + "Profile/Game.ini");
  EXPECT_EQ(app.Profiles().List().size(), 1u);
  EXPECT_EQ(app.Settings().nDevModel, 1u);
  EXPECT_EQ(app.Profiles().Data().windows, (WindowsSettings{700, 15, 5}));
}

// Receives what /Kill posts to this process's published main window.
class ExitRecorder final : public MessageTarget {
 public:
  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    std::scoped_lock lock(mutex_);
    last_ = {message, static_cast<std::uint32_t>(wParam)};
    arrived_.notify_all();
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
  std::pair<std::uint32_t, std::uint32_t> Wait() {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return last_.first != 0; });
    return last_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::pair<std::uint32_t, std::uint32_t> last_{0, 0};
};

// Another copy of the program that runs already: its published main window and its lock.
struct RunningCopyFixture : StartupFixture {
  ExitRecorder running;
  std::unique_ptr<ReleaseOnDestroy> publication;
  std::unique_ptr<ReleaseOnDestroy> lock;

  void SetUp() override {
    RunningWindow self;
    ASSERT_EQ(platform.instances->PublishWindow(kTagMainWindow, AdmitFromOtherProcess, running,
                                                     publication, self),
              Result::Ok);
    ASSERT_EQ(platform.instances->AcquireInstanceLock("Vexlo_Mutex_QXA7702", lock), Result::Ok);
  }
};

TEST_F(RunningCopyFixture, KillAsksTheRunningCopyToExitWithoutTakingTheLock) {
  CVexloApp app(platform);
  EXPECT_EQ(app.Run({CommandLine::Action::Kill, false}), 0);
  EXPECT_EQ(running.Wait(), std::make_pair(UM_EXIT_APP, kTagKill));
}

TEST_F(RunningCopyFixture, ASecondCopyBringsTheFirstForwardAndEnds) {
  CVexloApp app(platform);
  EXPECT_EQ(app.Run({CommandLine::Action::Run, false}), 0);  // ends without a window
  EXPECT_EQ(running.Wait(), std::make_pair(UM_SHOW_MAIN, kTagOpen));
}

}  // namespace
}  // namespace vexlo
