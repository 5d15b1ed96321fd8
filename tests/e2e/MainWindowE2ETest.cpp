#include <gtest/gtest.h>
#include <signal.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "XDesktopTest.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

using test::kBinaries;
using test::OnPath;

// The main window as a user sees it, and the companion it keeps running.
class MainWindowE2ETest : public test::XDesktopTest {
 protected:
  // Process ids of the companion windows published in the runtime folder.
  std::vector<pid_t> Companions() {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root / "run/vexlo", error)) {
      const std::string name = entry.path().filename().string();
      if (!name.starts_with("window-446D6F6E-")) continue;
      pid_t pid = 0;
      std::from_chars(name.data() + 16, name.data() + name.size(), pid);
      if (Alive(pid)) found.push_back(pid);
    }
    return found;
  }

  static bool Alive(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.starts_with("State:")) return line.find('Z') == std::string::npos;
    }
    return false;
  }
};

TEST_F(MainWindowE2ETest, ThePlugDecidesTheWindowAndAnExitResetsTheMouseAndDesktop) {
  // A saved profile whose first level is 2000 counts per inch.
  test::WriteFile(data + "Profile/Game.ini",
                  "[Setting]\npwDpi0=2000\nuMouseSpeed=14\nnFlag=20211124\n");
  test::WriteFile(data + "Setting.ini", "[Setting]\nstrProfilePath=" + data + "Profile/Game.ini\n");

  test::ChildProcess program(kBinaries + "vexlo", {}, environment);
  ASSERT_TRUE(MapStateBecomes("IsViewable")) << "the window did not appear";
  EXPECT_NE(Sim("status").find("levels 2000, 1000, 1600, 3200"), std::string::npos);

  ASSERT_EQ(Run("vexlo-sim", {"unplug"}), 0);
  EXPECT_TRUE(MapStateBecomes("IsUnMapped")) << "the window stayed after the mouse went";
  ASSERT_EQ(Run("vexlo-sim", {"plug"}), 0);
  ASSERT_TRUE(test::WaitUntil(
      [&] { return Sim("status").find("hidfiltr 1, moufiltr 1") != std::string::npos; }, 15s));
  EXPECT_EQ(MapState(), "IsUnMapped") << "an arrival must not show the window";

  // A second copy brings the first forward and ends.
  EXPECT_EQ(Run("vexlo", {}), 0);
  EXPECT_TRUE(MapStateBecomes("IsViewable"));

  // The companion comes back when it is killed.
  ASSERT_TRUE(test::WaitUntil([&] { return Companions().size() == 1; }, 15s));
  const pid_t first_companion = Companions().front();
  ::kill(first_companion, SIGKILL);
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        const std::vector<pid_t> now = Companions();
        return now.size() == 1 && now.front() != first_companion;
      },
      3s))
      << "the companion was not restarted";
  const pid_t second_companion = Companions().front();

  // /Kill ends it; the mouse and the desktop are back at the defaults, and no companion is left.
  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
  const std::string status = Sim("status");
  EXPECT_NE(status.find("levels 800, 1000, 1600, 3200"), std::string::npos) << status;
  EXPECT_NE(status.find("double-click 550 ms, pointer speed 10, wheel 3 lines"), std::string::npos)
      << status;
  EXPECT_TRUE(test::WaitUntil([&] { return !Alive(second_companion); }, 5s));
  EXPECT_TRUE(Companions().empty());
}

TEST_F(MainWindowE2ETest, TheTrayIconComesWithANotificationAreaStartedLater) {
  if (!test::OnPath("trayer")) GTEST_SKIP() << "needs the tray host trayer (Debian package trayer)";
  // Started with the session, before the desktop's panel.
  test::ChildProcess program(kBinaries + "vexlo", {"/Start"}, environment);
  ASSERT_TRUE(test::WaitUntil(
      [&] { return Sim("status").find("hidfiltr 1, moufiltr 1") != std::string::npos; }, 15s));
  EXPECT_FALSE(TrayIconShown());

  {
    const auto tray = StartTrayHost();
    EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 2s)) << "no icon";
  }
  // The panel restarts.
  const auto tray = StartTrayHost();
  EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 2s)) << "no icon after a restart";

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
