#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";

// Buttons held down on the virtual mouse while the real program changes profiles or fires.
class HeldKeyE2ETest : public testing::Test {
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
  void TearDown() override {
    (void)Run("vexlo", {"/Kill"});
    (void)Run("vexlo-sim", {"stop"});
  }

  // The program started with `desk` as the current profile, once the mouse reports button 3.
  std::unique_ptr<test::ChildProcess> StartWith(const std::string& desk) {
    test::WriteFile(data + "Profile/Desk.ini", desk);
    test::WriteFile(data + "Setting.ini",
                    "[Setting]\nstrProfilePath=" + data + "Profile/Desk.ini\n");
    auto program = std::make_unique<test::ChildProcess>(kBinaries + "vexlo",
                                                        std::vector<std::string>{"/Start"},
                                                        environment);
    EXPECT_TRUE(SimShows({"status"}, "3 reports 0x14")) << Sim({"status"});
    return program;
  }
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

TEST_F(HeldKeyE2ETest, KeysHeldWhenTheLinkedProfileChangesGoUpWithTheButton) {
  test::WriteFile(root / "game", "#!/bin/sh\n");
  test::WriteFile(data + "Profile/Game.ini",
                  "[Setting]\npbyKeySet3=3\npwDpi0=3000\nbLinkProgram=1\nszLinkPath=" +
                      (root / "game") + "\nnFlag=20211124\n");
  auto program = StartWith("[Setting]\npbyKeySet3=34\nnFlag=20211124\n");  // Alt+Tab

  ASSERT_EQ(Run("vexlo-sim", {"press", "3"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "keys held: 0xE2 0x2B")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"foreground", root / "game"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "levels 3000,")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"release", "3"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "keys held: none, consumer held: 0x0000, buttons held: 0x00"))
      << Sim({"status"});
}

TEST_F(HeldKeyE2ETest, AFireKeyWithoutIntervalClicksAtMostOncePerMillisecond) {
  auto program = StartWith("[Setting]\npbyKeySet3=39\nppszKeyExt3=0\nnFlag=20211124\n");

  const auto pressed = std::chrono::steady_clock::now();
  ASSERT_EQ(Run("vexlo-sim", {"press", "3"}), 0);
  ASSERT_TRUE(SimShows({"injected"}, "button up Left")) << Sim({"injected"});
  ASSERT_EQ(Run("vexlo-sim", {"release", "3"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "buttons held: 0x00")) << Sim({"status"});
  const auto held = std::chrono::steady_clock::now() - pressed;

  const std::string injected = Sim({"injected"});
  std::size_t clicks = 0;
  for (std::size_t at = 0; (at = injected.find("button down Left", at)) != std::string::npos; ++at) {
    ++clicks;
  }
  EXPECT_GE(clicks, 1u);
  EXPECT_LE(clicks, static_cast<std::size_t>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(held).count()));
}

}  // namespace
}  // namespace vexlo
