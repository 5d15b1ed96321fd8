#include <gtest/gtest.h>

#include <filesystem>

#include "XDesktopTest.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

using test::kBinaries;

// The tray icon and the windows of the real program as the mouse comes and goes, next to the
// notification area of a real tray host.
class TrayE2ETest : public test::XDesktopTest {
 protected:
  void SetUp() override {
    XDesktopTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (!test::OnPath("trayer")) GTEST_SKIP() << "needs the tray host trayer (Debian package trayer)";
    tray = StartTrayHost();
  }

  std::unique_ptr<test::ChildProcess> tray;
};

TEST_F(TrayE2ETest, UnpluggingClosesTheFireKeyDialogHidesTheWindowAndRemovesTheIcon) {
  test::ChildProcess program(kBinaries + "vexlo", {}, environment);
  ASSERT_TRUE(MapStateBecomes("IsViewable")) << "the window did not appear";
  ASSERT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 15s)) << "no icon";

  ASSERT_NO_FATAL_FAILURE(OpenFireKeyDialog());
  const std::string fireKey = Text("STA_FIRE_KEY_TITLE");

  ASSERT_EQ(Run("vexlo-sim", {"unplug"}), 0);
  EXPECT_TRUE(MapStateBecomes("IsUnMapped")) << "the window stayed after the mouse went";
  EXPECT_NE(MapState(fireKey), "IsViewable") << "the fire-key dialog stayed";
  EXPECT_TRUE(test::WaitUntil([&] { return !TrayIconShown(); }, 15s)) << "the icon stayed";

  // Back: the icon comes, the window stays hidden.
  ASSERT_EQ(Run("vexlo-sim", {"plug"}), 0);
  EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(); }, 15s)) << "no icon after the plug";
  EXPECT_EQ(MapState(), "IsUnMapped") << "an arrival must not show the window";

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

TEST_F(TrayE2ETest, ASecondStartWithoutAMouseShowsTheNoDeviceMessage) {
  ASSERT_EQ(Run("vexlo-sim", {"unplug"}), 0);
  test::ChildProcess program(kBinaries + "vexlo", {"/Start"}, environment);
  const std::string info = Text("STA_MSG_TITLE_INFO");
  // Once the first copy is reachable, a second one asks it and ends; the first answers with its
  // message only.
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(root / "run/vexlo", error)) {
          if (entry.path().filename().string().starts_with("window-4D41494E-")) return true;
        }
        return false;
      },
      15s));
  EXPECT_EQ(Run("vexlo", {}), 0);
  EXPECT_TRUE(MapStateBecomes("IsViewable", info)) << "no message";
  EXPECT_NE(MapState(), "IsViewable");
  EXPECT_FALSE(TrayIconShown());

  // The message open does not keep the program from ending.
  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program.WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
