#include "ProgramOnSimFixture.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// A button press from the virtual mouse through the real program to the injected input. (The
// linked profile that follows the foreground is LinkedProfileE2ETest's, with the window in view.)
using ButtonPressE2ETest = test::ProgramOnSimFixture;

TEST_F(ButtonPressE2ETest, AReassignedButtonActsOnTheHost) {
  // The forward button turns the volume up.
  UseProfile("Desk", "[Setting]\npbyKeySet3=12\nnFlag=20211124\n");
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_EQ(Run("vexlo-sim", {"click", "3"}), 0);
  EXPECT_TRUE(SimShows({"injected"}, "consumer down Volume Up (0x00E9)")) << Sim({"injected"});
  EXPECT_TRUE(SimShows({"injected"}, "consumer up")) << Sim({"injected"});

  EXPECT_EQ(Run("vexlo", {"/Kill"}), 0);
  EXPECT_EQ(program->WaitForExit(20s), 0);
}

// Buttons reassigned as the assignment page writes them reach the mouse when the program connects:
// the left button is intercepted and types a key, the first sensitivity button clicks left, and
// the back button cycles the sensitivity by itself.
TEST_F(ButtonPressE2ETest, ReassignedButtonsReachTheMouseWhenTheProgramConnects) {
  UseProfile("Keys",
             "[Setting]\npbyKeySet0=37\npdwKeyParameter0=30\nppszKeyExt0=\npbyKeySet4=43\n"
             "pbyKeySet5=0\nnFlag=20211124\n");
  LaunchProgram();
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
  EXPECT_EQ(program->WaitForExit(20s), 0);
}

}  // namespace
}  // namespace vexlo
