// The real vexlo-sim program, started in a private runtime folder, and the program's device
// objects on the backends that start-up chooses.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "app/DesktopPlatform.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {
namespace {

class NoticedMessages final : public UserMessages {
 public:
  int ShowMessage(std::string_view textKey, std::string_view, std::uint32_t,
                  std::uint32_t) override {
    shown.emplace_back(textKey);
    return kOk;
  }
  void ShowPlainMessage(std::string_view) override {}

  std::vector<std::string> shown;
};

class VexloSimProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1); }

  void TearDown() override { (void)Run("stop"); }

  // Runs vexlo-sim with the arguments; its exit code, and what it printed.
  int Run(const std::string& arguments, std::string* output = nullptr) {
    FILE* pipe = ::popen((program_ + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char buffer[512];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
      text.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  test::TempFolder folder_;
  const std::string program_ = VEXLO_SIM_PROGRAM;
};

TEST_F(VexloSimProgramTest, TheProgramConnectsToTheVirtualMouse) {
  std::string output;
  EXPECT_EQ(Run("status", &output), 3);
  EXPECT_EQ(output, "vexlo-sim is not running (start it with: vexlo-sim start)\n");
  ASSERT_EQ(Run("start"), 0);
  EXPECT_EQ(Run("start"), 3);
  EXPECT_TRUE(std::filesystem::exists(SimSocketPath()));

  Platform platform = MakeDesktopPlatform();
  NoticedMessages messages;
  DeviceLink link(*platform.devices, *platform.hid);
  DeviceSession session(link, messages);
  ASSERT_EQ(session.Connect(), Result::Ok);
  EXPECT_EQ(session.Model(), 2);
  ASSERT_EQ(Run("registers", &output), 0);
  EXPECT_NE(output.find("08:  00 00 21 09 05 04 02 23"), std::string::npos) << output;
  EXPECT_EQ(Run("status", &output), 0);
  EXPECT_NE(output.find("session       open (page 1)"), std::string::npos) << output;

  ASSERT_EQ(Run("unplug"), 0);
  EXPECT_FALSE(session.CheckAlive());
  EXPECT_EQ(session.Connect(), Result::NotConnected);
  ASSERT_EQ(Run("plug"), 0);
  EXPECT_EQ(session.Connect(), Result::Ok);

  ASSERT_EQ(Run("settings speed 4"), 0);
  std::uint32_t speed = 0;
  ASSERT_EQ(platform.mouseSettings->GetPointerSpeed(speed), Result::Ok);
  EXPECT_EQ(speed, 4u);
  ASSERT_EQ(Run("foreground /usr/bin/arena"), 0);
  EXPECT_EQ(platform.foreground->ForegroundImagePath(), "/usr/bin/arena");
  EXPECT_EQ(Run("press 9"), 1);

  ASSERT_EQ(Run("stop", &output), 0);
  EXPECT_EQ(output, "vexlo-sim stopped\n");
  EXPECT_FALSE(std::filesystem::exists(SimSocketPath()));
  EXPECT_FALSE(session.CheckAlive());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(session.Connect(), Result::NotConnected);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"STA_MSG_INFO_DRV_MODULE"}));
}

// The commands reach the mouse that vexlo-sim holds, and it acts on them.
TEST_F(VexloSimProgramTest, TheVirtualMouseActsOnWhatTheCommandsSent) {
  ASSERT_EQ(Run("start"), 0);
  Platform platform = MakeDesktopPlatform();
  NoticedMessages messages;
  DeviceLink link(*platform.devices, *platform.hid);
  DeviceSession session(link, messages);
  ASSERT_EQ(session.Connect(), Result::Ok);
  ProfileData profile;
  FillDefaults(profile);
  profile.device.pbyKeySet[6] = 43;  // the second sensitivity button cycles the levels
  profile.device.byReportRateIndex = 1;
  profile.device.byLightMode = 5;
  DeviceCommands commands(session, profile.device);
  ASSERT_EQ(commands.ApplyDeviceSettings(), Result::Ok);

  std::string output;
  ASSERT_EQ(Run("registers", &output), 0);
  EXPECT_NE(output.find("08:  00 00 E1 09 05 04 02 23\n10:  08 07"), std::string::npos) << output;
  ASSERT_EQ(Run("click 6"), 0);
  ASSERT_EQ(Run("click 6"), 0);
  ASSERT_EQ(Run("status", &output), 0);
  EXPECT_NE(output.find("sensitivity   level 2: 1600 cpi in colour 4"), std::string::npos)
      << output;
  EXPECT_NE(output.find("lighting      off"), std::string::npos) << output;
  EXPECT_NE(output.find("report rate   250 reports a second"), std::string::npos) << output;
}

TEST_F(VexloSimProgramTest, StartOptions) {
  ASSERT_EQ(Run("start --unplugged --model 1 --plain"), 0);
  std::string output;
  ASSERT_EQ(Run("status", &output), 0);
  EXPECT_NE(output.find("mouse         unplugged, model 1, plain device"), std::string::npos)
      << output;
  EXPECT_EQ(Run("start --model 3"), 2);
  EXPECT_EQ(Run(""), 2);
}

}  // namespace
}  // namespace vexlo
