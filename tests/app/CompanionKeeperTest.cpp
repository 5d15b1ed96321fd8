#include "app/CompanionKeeper.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/Messages.h"
#include "FakeInstanceRegistry.h"
#include "platform/ports/ProcessLauncher.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

struct FakeLauncher final : ProcessLauncher {
  std::vector<std::string> started;  // "<file> <parameter> <folder>"
  std::uint32_t nextProcess = 42;
  Result Open(const std::string&, const std::string&, const std::string&) override {
    ADD_FAILURE() << "the companion is started as such";
    return Result::Ok;
  }
  Result StartCompanion(const std::string& file, const std::string& parameter,
                        const std::string& workingFolder, std::uint32_t& processId) override {
    started.push_back(file + " " + parameter + " " + workingFolder);
    processId = nextProcess;
    return Result::Ok;
  }
};

struct CompanionKeeperTest : testing::Test {
  test::TempFolder folder;
  FakeLauncher launcher;
  test::FakeInstanceRegistry registry;
  CompanionKeeper::Clock::time_point t0{};
  std::string started = folder / "Ruvik /run/window-4D41494E-7-0.sock " + folder.path();

  CompanionKeeperTest() { test::WriteFile(folder / "Ruvik", "program"); }
  CompanionKeeper Keeper() { return CompanionKeeper(launcher, registry, folder / "Ruvik", folder.path()); }
  void CompanionRuns(std::uint32_t process) {
    registry.windows.push_back({"/run/daemon.sock", kTagDaemon, process});
  }
};

TEST_F(CompanionKeeperTest, StartsWithTheWindowsHandleAndRestartsWhenItHasGone) {
  CompanionKeeper keeper = Keeper();
  ASSERT_TRUE(keeper.Start("/run/window-4D41494E-7-0.sock", t0));
  EXPECT_EQ(launcher.started, std::vector<std::string>{started});

  keeper.Check(t0 + 1s);  // not announced yet, but just started: wait
  EXPECT_EQ(launcher.started.size(), 1u);
  CompanionRuns(42);
  keeper.OnAnnounced(42);
  keeper.Check(t0 + 5s);
  EXPECT_EQ(launcher.started.size(), 1u);

  registry.windows.clear();  // the companion ended
  keeper.Check(t0 + 6s);
  EXPECT_EQ(launcher.started, (std::vector<std::string>{started, started}));
  EXPECT_EQ(keeper.CompanionWindow(), 0u);
}

TEST_F(CompanionKeeperTest, ACompanionThatEndsSoonAfterItsStartIsRestartedAtOnce) {
  CompanionKeeper keeper = Keeper();
  ASSERT_TRUE(keeper.Start("/run/window-4D41494E-7-0.sock", t0));
  keeper.OnAnnounced(42);  // announced, and then gone before the next tick
  keeper.Check(t0 + 1s);
  EXPECT_EQ(launcher.started.size(), 2u);
}

TEST_F(CompanionKeeperTest, ACompanionThatNeverAnnouncesItselfIsStartedAgain) {
  CompanionKeeper keeper = Keeper();
  ASSERT_TRUE(keeper.Start("/run/window-4D41494E-7-0.sock", t0));
  keeper.Check(t0 + 2s);
  EXPECT_EQ(launcher.started.size(), 1u);
  keeper.Check(t0 + 4s);
  EXPECT_EQ(launcher.started.size(), 2u);
}

TEST_F(CompanionKeeperTest, AnotherProgramsWindowIsNotTheCompanion) {
  CompanionKeeper keeper = Keeper();
  ASSERT_TRUE(keeper.Start("h", t0));
  registry.windows.push_back({"/run/main.sock", kTagMainWindow, 42});
  keeper.OnAnnounced(42);
  keeper.Check(t0 + 10s);
  EXPECT_EQ(launcher.started.size(), 2u);
}

// Another process of the user announcing itself as the companion neither replaces it nor, by
// vanishing, makes the keeper start one more.
TEST_F(CompanionKeeperTest, OnlyTheProcessItStartedIsTheCompanion) {
  CompanionKeeper keeper = Keeper();
  ASSERT_TRUE(keeper.Start("h", t0));
  CompanionRuns(42);
  keeper.OnAnnounced(4242);
  EXPECT_EQ(keeper.CompanionWindow(), 0u);
  keeper.OnAnnounced(42);
  keeper.OnAnnounced(4242);
  EXPECT_EQ(keeper.CompanionWindow(), 42u);
  for (int second = 1; second <= 10; ++second) keeper.Check(t0 + std::chrono::seconds(second));
  EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(CompanionKeeperTest, ClosingAsksTheCompanionsWindowOnly) {
  CompanionKeeper keeper = Keeper();
  keeper.Close();  // nothing announced: nothing to ask
  EXPECT_TRUE(registry.log.empty());
  ASSERT_TRUE(keeper.Start("h", t0));
  CompanionRuns(42);
  registry.windows.push_back({"/run/other.sock", kTagDaemon, 43});
  keeper.OnAnnounced(42);
  keeper.Close();
  EXPECT_EQ(registry.log, std::vector<std::string>{"post /run/daemon.sock 274 61536"});
}

TEST_F(CompanionKeeperTest, NoProgramFileNoCompanion) {
  CompanionKeeper keeper(launcher, registry, folder / "missing", folder.path());
  EXPECT_FALSE(keeper.Start("h", t0));
  keeper.Check(t0 + 10s);
  EXPECT_TRUE(launcher.started.empty());
}

}  // namespace
}  // namespace vexlo
