#include <gtest/gtest.h>
#include <signal.h>

#include <array>
#include <cstdint>
#include <filesystem>

#include "ProgramOnSimFixture.h"
#include "platform/linux/UnixSocket.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// The real program behind the virtual mouse, as another process of the same user can reach it
// and as it ends: by a forged message (it must not), a restart of the devices, a signal, a crash.
class EndingE2ETest : public test::ProgramOnSimFixture {
 protected:
  std::string runtime = root / "run/vexlo/";

  void SetUp() override {
    ProgramOnSimFixture::SetUp();
    // Button 3 turns the volume up; button 4 switches windows (Alt+Tab).
    UseProfile("Desk", "[Setting]\npbyKeySet3=12\npbyKeySet4=34\npwDpi0=3000\nnFlag=20211124\n");
  }

  std::string WindowSocket() const {
    return runtime + "window-4D41494E-" + std::to_string(program->pid()) + "-0.sock";
  }
  // One frame of the window socket, as any process of the user can send it.
  void Forge(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    UniqueFd connection;
    ASSERT_EQ(ConnectTo(WindowSocket(), connection), Result::Ok);
    const std::array<std::uint32_t, 4> frame = {0x56584D31, message, wParam, lParam};
    ASSERT_EQ(SendAll(connection.get(), std::as_bytes(std::span(frame))), Result::Ok);
  }
  void Kill() {
    EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
    EXPECT_EQ(program->WaitForExit(20s), 0);
  }
};

TEST_F(EndingE2ETest, ForgedMessagesChangeNothing) {
  StartProgram();
  ASSERT_EQ(Run("vexlo-sim", {"press", "4"}), 0);  // Alt+Tab held while the frames come
  ASSERT_TRUE(SimShows({"status"}, "keys held: 0xE2 0x2B")) << Sim({"status"});
  Forge(0x54F8, 0x1234, 0);      // UM_LINKED_PROFILE with a number for an address
  Forge(0x54EE, 1, 0x15);        // UM_BUTTON_EVENT: a press of button 4
  Forge(0x54EE, 1, 0);           // and the release of everything
  Forge(0x4854, 4242, 0);        // UM_DAEMON_WINDOW from a process that is not the companion
  Forge(0x4865, 0x44657630, 0);  // UM_DEVICE_STATE 'Dev0'
  // The frames are gone, answered by nobody: a show request after them is still handled.
  Forge(0x5370, 0x4F70656E, 0);
  ASSERT_FALSE(program->WaitForExit(1s).has_value()) << "vexlo ended";
  EXPECT_TRUE(SimShows({"status"}, "keys held: 0xE2 0x2B")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"release", "4"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "keys held: none")) << Sim({"status"});
  Kill();
}

TEST_F(EndingE2ETest, HostFunctionsWorkAgainAfterTheDevicesRestart) {
  StartProgram();
  ASSERT_EQ(Run("vexlo-sim", {"stop"}), 0);
  ASSERT_EQ(Run("vexlo-sim", {"start"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "3 reports 0x14")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"click", "3"}), 0);
  EXPECT_TRUE(SimShows({"injected"}, "consumer down Volume Up (0x00E9)")) << Sim({"injected"});
  Kill();
}

TEST_F(EndingE2ETest, SigtermEndsByTheExitPath) {
  StartProgram();
  const std::string socket = WindowSocket();
  ASSERT_TRUE(std::filesystem::exists(socket));
  ASSERT_TRUE(SimShows({"status"}, "levels 3000,")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"settings", "double-click", "900"}), 0);
  ASSERT_EQ(::kill(program->pid(), SIGTERM), 0);
  EXPECT_EQ(program->WaitForExit(20s), 0);
  // The mouse and the desktop are back at the defaults, and nothing is left in the runtime folder.
  EXPECT_TRUE(SimShows({"status"}, "double-click 550 ms")) << Sim({"status"});
  EXPECT_TRUE(SimShows({"status"}, "levels 800, 1000, 1600, 3200 cpi")) << Sim({"status"});
  EXPECT_FALSE(std::filesystem::exists(socket));
}

TEST_F(EndingE2ETest, AKilledProgramLeavesNoKeyHeld) {
  StartProgram();
  ASSERT_EQ(Run("vexlo-sim", {"press", "4"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "keys held: 0xE2 0x2B")) << Sim({"status"});
  ASSERT_EQ(::kill(program->pid(), SIGKILL), 0);
  (void)program->WaitForExit(20s);
  EXPECT_TRUE(SimShows({"status"}, "keys held: none")) << Sim({"status"});
}

}  // namespace
}  // namespace vexlo
