#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// The real program, run headless with its own data, runtime and program folders.
class StartupE2ETest : public testing::Test {
 protected:
  test::TempFolder root;
  const std::string program = std::string(VEXLO_BINARY_DIR) + "/vexlo";
  const std::string runtime = root / "run/";
  const std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";
  std::map<std::string, std::string> environment;

  StartupE2ETest() {
    std::filesystem::create_directories(runtime);
    environment = {{"XDG_CONFIG_HOME", root / "config"},
                   {"XDG_RUNTIME_DIR", runtime},
                   {"QT_QPA_PLATFORM", "offscreen"}};
  }

  std::unique_ptr<test::ChildProcess> Start(const std::string& binary,
                                            std::vector<std::string> arguments = {}) {
    return std::make_unique<test::ChildProcess>(binary, arguments, environment);
  }

  std::optional<int> RunToEnd(const std::string& binary, std::vector<std::string> arguments) {
    return Start(binary, std::move(arguments))->WaitForExit(20s);
  }

  std::size_t PublishedWindows() {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(runtime + "vexlo", error)) {
      if (entry.path().filename().string().starts_with("window-4D41494E-")) ++count;
    }
    return count;
  }
};

TEST_F(StartupE2ETest, SysBitsAnswersWithTheSystemWidthAfterPreparingTheDataFolder) {
  EXPECT_EQ(RunToEnd(program, {"/SYS_BITS"}), 64);
  EXPECT_TRUE(std::filesystem::exists(data + "Setting.ini"));
  EXPECT_TRUE(std::filesystem::exists(data + "Profile/Profile001.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(data + "Macro"));
  // The default profile is the current one for the next start.
  EXPECT_NE(test::ReadFile(data + "Setting.ini")
                .find("strProfilePath=" + data + "Profile/Profile001.ini"),
            std::string::npos);
  EXPECT_EQ(RunToEnd(program, {"/split_check"}), 0);
}

// The message about the folder is open while the program runs on: /Kill still ends it.
TEST_F(StartupE2ETest, AnUnreadableProfileFolderLeavesTheProgramReachable) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  std::filesystem::create_directories(data + "Profile");
  ::chmod((data + "Profile").c_str(), 0);
  auto first = Start(program, {"/Start"});
  ASSERT_TRUE(test::WaitUntil([&] { return PublishedWindows() == 1; }, 20s));
  EXPECT_EQ(RunToEnd(program, {"/kill"}), 0);
  EXPECT_EQ(first->WaitForExit(20s), 0);
  ::chmod((data + "Profile").c_str(), 0700);
}

TEST_F(StartupE2ETest, OneCopyRunsAndKillEndsIt) {
  auto first = Start(program, {"/Start"});
  ASSERT_TRUE(first->started());
  ASSERT_TRUE(test::WaitUntil([&] { return PublishedWindows() == 1; }, 20s));

  EXPECT_EQ(RunToEnd(program, {}), 0);  // a second copy signals the first and ends
  EXPECT_FALSE(first->WaitForExit(0ms).has_value());
  EXPECT_EQ(PublishedWindows(), 1u);

  EXPECT_EQ(RunToEnd(program, {"/kill"}), 0);
  EXPECT_EQ(first->WaitForExit(20s), 0);
  EXPECT_EQ(PublishedWindows(), 0u);
}

TEST_F(StartupE2ETest, KillLeavesACopyOfAnotherProgramFileRunning) {
  const std::string other = root / "elsewhere/vexlo";
  std::filesystem::create_directories(root / "elsewhere");
  std::filesystem::copy_file(program, other);
  // The copy needs its skin beside it to run its window.
  std::filesystem::create_directory_symlink(std::string(VEXLO_BINARY_DIR) + "/Skins",
                                            root / "elsewhere/Skins");
  auto running = Start(other);
  ASSERT_TRUE(test::WaitUntil([&] { return PublishedWindows() == 1; }, 20s));

  EXPECT_EQ(RunToEnd(program, {"/Kill"}), 0);
  EXPECT_FALSE(running->WaitForExit(500ms).has_value());

  EXPECT_EQ(RunToEnd(other, {"/Kill"}), 0);
  EXPECT_EQ(running->WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
