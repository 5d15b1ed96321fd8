#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// The real program on a GNOME desktop whose settings live in a key file of the test's own.
class DesktopRestoreE2ETest : public testing::Test {
 protected:
  test::TempFolder root;
  const std::string program = std::string(VEXLO_BINARY_DIR) + "/vexlo";
  std::map<std::string, std::string> environment;

  void SetUp() override {
    if (!std::filesystem::exists("/usr/bin/gsettings")) {
      GTEST_SKIP() << "needs gsettings (Debian package libglib2.0-bin)";
    }
    std::filesystem::create_directories(root / "run");
    std::filesystem::permissions(root / "run", std::filesystem::perms::owner_all);
    environment = {{"XDG_CONFIG_HOME", root / "config"}, {"XDG_RUNTIME_DIR", root / "run"},
                   {"QT_QPA_PLATFORM", "offscreen"},     {"DISPLAY", ""},
                   {"VEXLO_DESKTOP", "linux"},           {"XDG_CURRENT_DESKTOP", "GNOME"},
                   {"GSETTINGS_BACKEND", "keyfile"},
                   {"LSAN_OPTIONS", "suppressions=" VEXLO_E2E_FOLDER "/lsan-suppressions.txt"}};
  }

  bool MainWindowPublished() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root / "run/vexlo", error)) {
      if (entry.path().filename().string().starts_with("window-4D41494E-")) return true;
    }
    return false;
  }

  std::string Desktop(const std::string& key) {
    return test::RunForOutput("/usr/bin/gsettings",
                              {"get", "org.gnome.desktop.peripherals.mouse", key}, environment, 20s)
        .value_or("");
  }
  void SetDesktop(const std::string& key, const std::string& value) {
    ASSERT_TRUE(test::RunForOutput("/usr/bin/gsettings",
                                   {"set", "org.gnome.desktop.peripherals.mouse", key, value},
                                   environment, 20s));
  }
};

TEST_F(DesktopRestoreE2ETest, ExitPutsBackTheDesktopsOwnValues) {
  SetDesktop("double-click", "420");
  SetDesktop("speed", "0.4");  // pointer speed 14
  test::ChildProcess running(program, {"/Start"}, environment);
  ASSERT_TRUE(test::WaitUntil([&] { return MainWindowPublished(); }, 20s));
  EXPECT_EQ(Desktop("double-click"), "420\n");  // captured at start, not changed
  // Exit sets the profile's defaults (550 ms, speed 10) on the way out, then puts back the
  // desktop's own.
  EXPECT_EQ(test::ChildProcess(program, {"/Kill"}, environment).WaitForExit(20s), 0);
  EXPECT_EQ(running.WaitForExit(20s), 0);
  EXPECT_EQ(Desktop("double-click"), "420\n");
  EXPECT_EQ(Desktop("speed"), "0.40000000000000002\n");
}

}  // namespace
}  // namespace vexlo
