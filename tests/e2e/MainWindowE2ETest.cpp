#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "PrivateDisplay.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";
constexpr const char* kTitle = "Halvec QXA7702 Gaming Mouse";

// The real program on a private X display, with the virtual mouse behind vexlo-sim, checked the
// way a user sees it: whether its window is on the screen, what the mouse and desktop hold.
class MainWindowE2ETest : public testing::Test {
 protected:
  test::TempFolder root;
  test::PrivateDisplay display;
  std::map<std::string, std::string> environment;
  std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";

  void SetUp() override {
    if (!test::OnPath("Xvfb") || !test::OnPath("xwininfo")) {
      GTEST_SKIP() << "needs Xvfb and xwininfo (Debian packages xvfb and x11-utils)";
    }
    ASSERT_TRUE(display.Start()) << "Xvfb did not start or does not answer";
    std::filesystem::create_directories(root / "run");
    ::chmod((root / "run").c_str(), 0700);
    environment = {{"DISPLAY", display.Name()},
                   {"QT_QPA_PLATFORM", "xcb"},
                   {"LSAN_OPTIONS", "suppressions=" VEXLO_E2E_FOLDER "/lsan-suppressions.txt"},
                   {"XDG_RUNTIME_DIR", root / "run"},
                   {"XDG_CONFIG_HOME", root / "config"}};
    ASSERT_EQ(Run("vexlo-sim", {"start"}), 0);
  }

  void TearDown() override {
    if (display.Running()) (void)Run("vexlo-sim", {"stop"});
  }

  std::optional<int> Run(const std::string& program, std::vector<std::string> arguments) {
    return test::ChildProcess(kBinaries + program, arguments, environment).WaitForExit(20s);
  }
  std::string Output(const std::string& program, std::vector<std::string> arguments) {
    return test::RunForOutput(program.front() == '/' ? program : kBinaries + program, arguments,
                              environment, 20s)
        .value_or("");
  }
  std::string Sim(const char* command) { return Output("vexlo-sim", {command}); }

  // "IsViewable", "IsUnMapped" or empty when the window does not exist.
  std::string MapState() {
    const std::string info = Output("/usr/bin/xwininfo", {"-name", kTitle});
    const auto at = info.find("Map State: ");
    if (at == std::string::npos) return {};
    return info.substr(at + 11, info.find('\n', at) - at - 11);
  }
  bool MapStateBecomes(const std::string& state) {
    return test::WaitUntil([&] { return MapState() == state; }, 15s);
  }

  // Whether the program's icon sits in the notification area of the tray host `trayer`.
  bool TrayIconShown() {
    const std::string tree = Output("/usr/bin/xwininfo", {"-root", "-tree"});
    const auto panel = tree.find("(\"panel\" \"trayer\")");
    return panel != std::string::npos &&
           tree.find("\"Vexlo\": (\"vexlo\" \"Vexlo\")", panel) != std::string::npos;
  }

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

  const std::vector<std::string> panel = {"--edge", "top", "--widthtype", "request"};
  {
    test::ChildProcess tray("/usr/bin/trayer", panel, environment);
    EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 2s)) << "no icon";
  }
  // The panel restarts.
  test::ChildProcess tray("/usr/bin/trayer", panel, environment);
  EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 2s)) << "no icon after a restart";

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
