#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <tuple>

#include "XDesktopTest.h"
#include "common/IniFile.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

using test::kBinaries;

// A linked program in the foreground (as vexlo-sim sets it) switching the real program's profile,
// on the mouse and in the window the user sees. The profile Desk, current at the start, is linked
// to the program "desk"; Game, whose first level is 3000 counts per inch, to "game".
class LinkedProfileE2ETest : public test::XDesktopTest {
 protected:
  void SetUp() override {
    XDesktopTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    WriteLinkedProfile("Desk", "desk", "");
    WriteLinkedProfile("Game", "game", "pwDpi0=3000\n");
    test::WriteFile(data + "Setting.ini",
                    "[Setting]\nstrProfilePath=" + data + "Profile/Desk.ini\n");
    program = std::make_unique<test::ChildProcess>(kBinaries + "vexlo", std::vector<std::string>{},
                                                   environment);
    ASSERT_TRUE(MapStateBecomes("IsViewable")) << "the window did not appear";
    ASSERT_TRUE(FirstLevelBecomes(800)) << Sim("status");
  }

  void TearDown() override {
    if (program) {
      EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
      EXPECT_EQ(program->WaitForExit(20s), 0);
    }
    XDesktopTest::TearDown();
  }

  void WriteLinkedProfile(const std::string& name, const std::string& linked,
                          const std::string& keys) {
    test::WriteFile(root / linked, "#!/bin/sh\n");
    test::WriteFile(data + "Profile/" + name + ".ini",
                    "[Setting]\n" + keys + "bLinkProgram=1\nszLinkPath=" + (root / linked) +
                        "\nnFlag=20211124\n");
  }
  void Foreground(const std::string& linked) {
    ASSERT_EQ(Run("vexlo-sim", {"foreground", root / linked}), 0);
  }
  bool FirstLevelBecomes(int cpi) {
    return test::WaitUntil(
        [&] {
          return Sim("status").find("levels " + std::to_string(cpi) + ",") != std::string::npos;
        },
        15s);
  }
  bool NameShownBecomes(const std::string& name) {
    return test::WaitUntil([&] { return CopiedText("EDIT_PROFILE_NAME") == name; }, 15s);
  }
  std::string SavedProfile() {
    return ReadIniString("Setting", "strProfilePath", "", data + "Setting.ini");
  }

  std::unique_ptr<test::ChildProcess> program;
};

TEST_F(LinkedProfileE2ETest, TheProfileFollowsTheForegroundOnTheMouseAndInTheWindow) {
  EXPECT_TRUE(NameShownBecomes("Desk")) << CopiedText("EDIT_PROFILE_NAME");
  // The game, another linked program, then the game again: the profile follows each time.
  for (const auto& [linked, profile, cpi] :
       {std::tuple{"game", "Game", 3000}, std::tuple{"desk", "Desk", 800},
        std::tuple{"game", "Game", 3000}}) {
    SCOPED_TRACE(linked);
    ASSERT_NO_FATAL_FAILURE(Foreground(linked));
    EXPECT_TRUE(FirstLevelBecomes(cpi)) << Sim("status");
    EXPECT_TRUE(NameShownBecomes(profile)) << CopiedText("EDIT_PROFILE_NAME");
    EXPECT_TRUE(test::WaitUntil(
        [&] { return SavedProfile() == data + "Profile/" + profile + ".ini"; }, 15s));
  }
}

// The user's choice in the dialog belongs to the profile it was opened for: a linked program that
// comes to the front meanwhile switches the profile only once the dialog has closed.
TEST_F(LinkedProfileE2ETest, ASwitchWaitsUntilTheFireKeyDialogCloses) {
  ASSERT_NO_FATAL_FAILURE(OpenFireKeyDialog());
  ASSERT_NO_FATAL_FAILURE(Foreground("game"));
  // The monitor looks once a second: three looks pass with the dialog open.
  std::this_thread::sleep_for(3s);
  const std::string fireKey = Text("STA_FIRE_KEY_TITLE");
  ASSERT_EQ(MapState(fireKey), "IsViewable");
  EXPECT_NE(Sim("status").find("levels 800,"), std::string::npos) << Sim("status");
  EXPECT_EQ(SavedProfile(), data + "Profile/Desk.ini");

  PressKey("Escape");
  EXPECT_TRUE(test::WaitUntil([&] { return MapState(fireKey) != "IsViewable"; }, 15s))
      << "the dialog stayed";
  EXPECT_TRUE(FirstLevelBecomes(3000)) << Sim("status");
  EXPECT_TRUE(NameShownBecomes("Game")) << CopiedText("EDIT_PROFILE_NAME");
  EXPECT_EQ(SavedProfile(), data + "Profile/Game.ini");
}

}  // namespace
}  // namespace vexlo
