#include "app/CompanionKeeper.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/Messages.h"
#include "platform/ports/InstanceRegistry.h"
#include "platform/ports/ProcessLauncher.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

struct FakeLauncher final : ProcessLauncher {
  std::vector<std::string> started;  // "<file> <parameter> <folder>"
  Result Open(const std::string& file, const std::string& parameter,
              const std::string& workingFolder) override {
    started.push_back(file + " " + parameter + " " + workingFolder);
    return Result::Ok;
  }
};

struct FakeRegistry final : InstanceRegistry {
  std::vector<RunningWindow> windows;
  std::vector<std::string> posts;
  Result AcquireInstanceLock(std::string_view, std::unique_ptr<ReleaseOnDestroy>&) override {
    return Result::Ok;
  }
  Result PublishWindow(std::uint32_t, MessageTarget&, std::unique_ptr<ReleaseOnDestroy>&,
                       RunningWindow&) override {
    return Result::Ok;
  }
  std::vector<RunningWindow> ListWindows() override { return windows; }
  std::optional<RunningWindow> WindowAt(const std::string&) override { return std::nullopt; }
  Result PostToWindow(const RunningWindow& window, std::uint32_t message, std::uint32_t wParam,
                      std::uint32_t) override {
    posts.push_back(window.endpoint + " " + std::to_string(message) + " " + std::to_string(wParam));
    return Result::Ok;
  }
  std::optional<std::string> ProcessImagePath(std::uint32_t) override { return std::nullopt; }
};

struct CompanionKeeperTest : testing::Test {
  test::TempFolder folder;
  FakeLauncher launcher;
  FakeRegistry registry;
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

TEST_F(CompanionKeeperTest, ClosingAsksTheCompanionsWindowOnly) {
  CompanionKeeper keeper = Keeper();
  keeper.Close();  // nothing announced: nothing to ask
  EXPECT_TRUE(registry.posts.empty());
  ASSERT_TRUE(keeper.Start("h", t0));
  CompanionRuns(42);
  registry.windows.push_back({"/run/other.sock", kTagDaemon, 43});
  keeper.OnAnnounced(42);
  keeper.Close();
  EXPECT_EQ(registry.posts, std::vector<std::string>{"/run/daemon.sock 274 61536"});
}

TEST_F(CompanionKeeperTest, NoProgramFileNoCompanion) {
  CompanionKeeper keeper(launcher, registry, folder / "missing", folder.path());
  EXPECT_FALSE(keeper.Start("h", t0));
  keeper.Check(t0 + 10s);
  EXPECT_TRUE(launcher.started.empty());
}

}  // namespace
}  // namespace vexlo
