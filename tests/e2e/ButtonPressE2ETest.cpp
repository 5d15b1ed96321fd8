#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";

// A button press from the virtual mouse through the real program to the injected input, and a
// linked program in the foreground switching the profile.
class ButtonPressE2ETest : public testing::Test {
 protected:
  test::TempFolder root;
  std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";
  std::map<std::string, std::string> environment{{"QT_QPA_PLATFORM", "offscreen"},
                                                 {"XDG_RUNTIME_DIR", root / "run"},
                                                 {"XDG_CONFIG_HOME", root / "config"}};

  void SetUp() override {
    std::filesystem::create_directories(root / "run");
    ::chmod((root / "run").c_str(), 0700);
    ASSERT_EQ(Run("vexlo-sim", {"start"}), 0);
  }
  void TearDown() override { (void)Run("vexlo-sim", {"stop"}); }

  std::optional<int> Run(const std::string& program, std::vector<std::string> arguments) {
    return test::ChildProcess(kBinaries + program, arguments, environment).WaitForExit(20s);
  }
  std::string Sim(std::vector<std::string> arguments) {
    return test::RunForOutput(kBinaries + "vexlo-sim", arguments, environment, 20s).value_or("");
  }
  bool SimShows(std::vector<std::string> arguments, const std::string& text) {
    return test::WaitUntil([&] { return Sim(arguments).find(text) != std::string::npos; }, 15s);
  }
};

TEST_F(ButtonPressE2ETest, AReassignedButtonActsOnTheHostAndTheLinkedProfileFollowsTheForeground) {
  // The forward button turns the volume up; a second profile is linked to a game.
  test::WriteFile(root / "game", "#!/bin/sh\n");
  test::WriteFile(root / "desk", "#!/bin/sh\n");
  test::WriteFile(data + "Profile/Desk.ini",
                  "[Setting]\npbyKeySet3=12\nbLinkProgram=1\nszLinkPath=" + (root / "desk") +
                      "\nnFlag=20211124\n");
  test::WriteFile(data + "Profile/Game.ini",
                  "[Setting]\npwDpi0=3000\nbLinkProgram=1\nszLinkPath=" + (root / "game") +
                      "\nnFlag=20211124\n");
  test::WriteFile(data + "Setting.ini", "[Setting]\nstrProfilePath=" + data + "Profile/Desk.ini\n");

  test::ChildProcess program(kBinaries + "vexlo", {"/Start"}, environment);
  ASSERT_TRUE(SimShows({"status"}, "3 reports 0x14")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"click", "3"}), 0);
  EXPECT_TRUE(SimShows({"injected"}, "consumer down Volume Up (0x00E9)")) << Sim({"injected"});
  EXPECT_TRUE(SimShows({"injected"}, "consumer up")) << Sim({"injected"});

  // The game comes to the foreground: its profile becomes current and reaches the mouse.
  ASSERT_EQ(Run("vexlo-sim", {"foreground", root / "game"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "levels 3000,")) << Sim({"status"});
  // Another linked program, then the game again: the profile follows each time.
  ASSERT_EQ(Run("vexlo-sim", {"foreground", root / "desk"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "levels 800,")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"foreground", root / "game"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "levels 3000,")) << Sim({"status"});
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        return test::ReadFile(data + "Setting.ini").find("Profile/Game.ini") != std::string::npos;
      },
      15s));

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

// Buttons reassigned as the assignment page writes them reach the mouse when the program connects:
// the left button is intercepted and types a key, the first sensitivity button clicks left, and
// the back button cycles the sensitivity by itself.
TEST_F(ButtonPressE2ETest, ReassignedButtonsReachTheMouseWhenTheProgramConnects) {
  test::WriteFile(data + "Profile/Keys.ini",
                  "[Setting]\npbyKeySet0=37\npdwKeyParameter0=30\nppszKeyExt0=\npbyKeySet4=43\n"
                  "pbyKeySet5=0\nnFlag=20211124\n");
  test::WriteFile(data + "Setting.ini", "[Setting]\nstrProfilePath=" + data + "Profile/Keys.ini\n");

  test::ChildProcess program(kBinaries + "vexlo", {"/Start"}, environment);
  // Registers 0x08 to 0x0B: the back button (0x09) cycles, the sensitivity button (0x0B) reports.
  ASSERT_TRUE(SimShows({"registers"}, "08:  00 08 21 12")) << Sim({"registers"});
  ASSERT_TRUE(SimShows({"status"}, "interception  left")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"click", "0"}), 0);
  EXPECT_TRUE(SimShows({"injected"}, "key down A")) << Sim({"injected"});
  EXPECT_TRUE(SimShows({"injected"}, "key up A")) << Sim({"injected"});
  ASSERT_EQ(Run("vexlo-sim", {"click", "5"}), 0);
  EXPECT_TRUE(SimShows({"injected"}, "button down Left")) << Sim({"injected"});
  EXPECT_TRUE(SimShows({"injected"}, "button up Left")) << Sim({"injected"});

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
