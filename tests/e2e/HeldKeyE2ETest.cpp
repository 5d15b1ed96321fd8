#include <chrono>

#include "ProgramOnSimFixture.h"

namespace vexlo {
namespace {

// Buttons held down on the virtual mouse while the real program changes profiles or fires.
class HeldKeyE2ETest : public test::ProgramOnSimFixture {
 protected:
  void TearDown() override {
    (void)Run("vexlo", {"/Kill"});
    ProgramOnSimFixture::TearDown();
  }

  // The program started with `desk` as the current profile.
  void StartWith(const std::string& desk) {
    UseProfile("Desk", desk);
    StartProgram();
  }
};

TEST_F(HeldKeyE2ETest, KeysHeldWhenTheLinkedProfileChangesGoUpWithTheButton) {
  test::WriteFile(root / "game", "#!/bin/sh\n");
  test::WriteFile(data + "Profile/Game.ini",
                  "[Setting]\npbyKeySet3=3\npwDpi0=3000\nbLinkProgram=1\nszLinkPath=" +
                      (root / "game") + "\nnFlag=20211124\n");
  StartWith("[Setting]\npbyKeySet3=34\nnFlag=20211124\n");  // Alt+Tab

  ASSERT_EQ(Run("vexlo-sim", {"press", "3"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "keys held: 0xE2 0x2B")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"foreground", root / "game"}), 0);
  ASSERT_TRUE(SimShows({"status"}, "levels 3000,")) << Sim({"status"});
  ASSERT_EQ(Run("vexlo-sim", {"release", "3"}), 0);
  EXPECT_TRUE(SimShows({"status"}, "keys held: none, consumer held: 0x0000, buttons held: 0x00"))
      << Sim({"status"});
}

TEST_F(HeldKeyE2ETest, AFireKeyWithoutIntervalClicksAtMostOncePerMillisecond) {
  StartWith("[Setting]\npbyKeySet3=39\nppszKeyExt3=0\nnFlag=20211124\n");

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
