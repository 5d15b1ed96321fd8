#include "engine/ForegroundMonitor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "platform/ports/ForegroundProcess.h"
#include "platform/ports/MessageTarget.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

using test::TempFolder;
using test::WriteFile;

// Long enough for any poll on a loaded machine; reached only when a test fails.
constexpr auto kPatience = std::chrono::seconds(20);
constexpr std::chrono::milliseconds kTestPollInterval{2};

// The program in the foreground, set by the test. Counts the queries, so a test can wait until
// the monitor has polled.
class FakeForeground final : public ForegroundProcess {
 public:
  void Set(std::optional<std::string> path) {
    std::scoped_lock lock(mutex_);
    path_ = std::move(path);
  }

  std::optional<std::string> ForegroundImagePath() override {
    std::scoped_lock lock(mutex_);
    ++queries_;
    queried_.notify_all();
    return path_;
  }

  int Queries() const {
    std::scoped_lock lock(mutex_);
    return queries_;
  }

  // Waits until `count` queries have been made in all; false when they never are.
  bool WaitForQueries(int count) {
    std::unique_lock lock(mutex_);
    return queried_.wait_for(lock, kPatience, [&] { return queries_ >= count; });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable queried_;
  std::optional<std::string> path_;
  int queries_ = 0;
};

// The main window: keeps what is posted to it, for the test's thread to handle one by one.
class FakeWindow final : public MessageTarget {
 public:
  struct Received {
    std::uint32_t message;
    LinkEntry entry;
    std::string program;
  };

  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {
    ADD_FAILURE() << "the monitor's message carries texts";
    return Result::Ok;
  }

  Result PostText(std::uint32_t message, std::vector<std::string> texts) override {
    std::scoped_lock lock(mutex_);
    if (texts.size() != 3) {
      ADD_FAILURE() << "UM_LINKED_PROFILE carries three texts";
      return Result::Ok;
    }
    ++posted_;
    pending_.push_back({message, {texts[0], texts[1]}, texts[2]});
    changed_.notify_all();
    return Result::Ok;
  }

  // Waits for the next message and lets `handle` act on it. None when no message comes.
  std::optional<Received> HandleNext(const std::function<void(const Received&)>& handle) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, kPatience, [&] { return !pending_.empty(); })) return std::nullopt;
    const Received received = pending_.front();
    pending_.pop_front();
    lock.unlock();
    handle(received);
    return received;
  }

  int Sent() const {
    std::scoped_lock lock(mutex_);
    return posted_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Received> pending_;
  int posted_ = 0;
};

class ForegroundMonitorTest : public ::testing::Test {
 protected:
  ForegroundMonitorTest() {
    for (const char* program : {"game", "editor", "browser"}) WriteFile(ProgramPath(program), "");
  }
  std::string ProgramPath(const std::string& name) const { return temp_ / ("bin/" + name); }
  std::string ProfilePath(const std::string& name) const {
    return temp_ / ("Data/Profile/" + name + ".ini");
  }

  void WriteLinkedProfile(const std::string& name, const std::string& program,
                          std::uint32_t linked = 1) {
    ProfileData profile;
    FillDefaults(profile);
    profile.link = {linked, program};
    std::filesystem::create_directories(temp_ / "Data/Profile");
    ASSERT_EQ(WriteProfile(ProfilePath(name), profile), Result::Ok);
  }

  ProfileStore& OpenStore() {
    store_ = std::make_unique<ProfileStore>(temp_ / "Data/", language_, messages_);
    return *store_;
  }

  // Starts monitoring the links of the profiles on disk, with the test as the window.
  void StartMonitoring() {
    monitor_.RebuildLinkTable(OpenStore());
    monitor_.SetTarget(&window_);
    monitor_.StartMonitor();
  }

  // The window's side of a linked switch: the entry's profile becomes current, and the links are
  // read again while the monitor goes on polling.
  std::optional<FakeWindow::Received> HandleSwitch() {
    return window_.HandleNext([this](const FakeWindow::Received& received) {
      (void)store_->SelectProfile(received.entry.profilePath);  // unreadable: contents stay
      monitor_.RebuildLinkTable(*store_);
    });
  }

  // Lets two more polls start: the first looks at the foreground set before, and a message that
  // it posted is in the window's queue when the second starts.
  void LetTwoPollsPass() {
    const int seen = foreground_.Queries();
    ASSERT_TRUE(foreground_.WaitForQueries(seen + 2));
  }

  TempFolder temp_;
  LanguageTable language_;
  test::FakeUserMessages messages_;
  std::unique_ptr<ProfileStore> store_;
  FakeForeground foreground_;
  FakeWindow window_;
  // Declared last: its worker stops before the fakes it calls go.
  ForegroundMonitor monitor_{foreground_, kTestPollInterval};
};

TEST_F(ForegroundMonitorTest, TableHoldsLinksToExistingProgramsInProfileOrder) {
  WriteLinkedProfile("D", ProgramPath("editor"));
  WriteLinkedProfile("A", ProgramPath("game"));
  WriteLinkedProfile("B", ProgramPath("uninstalled"));
  WriteLinkedProfile("C", "");
  WriteFile(ProfilePath("E"), "[Setting]\nnFlag=20211124\nbLinkProgram=0\nszLinkPath=" +
                                  ProgramPath("browser") + "\n");
  monitor_.RebuildLinkTable(OpenStore());
  EXPECT_EQ(monitor_.LinkTable(),
            (std::vector<LinkEntry>{{ProfilePath("A"), ProgramPath("game")},
                                    {ProfilePath("D"), ProgramPath("editor")}}));

  std::filesystem::remove(ProgramPath("game"));
  monitor_.RebuildLinkTable(*store_);
  EXPECT_EQ(monitor_.LinkTable(),
            (std::vector<LinkEntry>{{ProfilePath("D"), ProgramPath("editor")}}));
}

TEST_F(ForegroundMonitorTest, LinkedProgramInTheForegroundMakesItsProfileCurrent) {
  WriteLinkedProfile("Desk", "");
  WriteLinkedProfile("Game", ProgramPath("game"));
  foreground_.Set(ProgramPath("editor"));
  StartMonitoring();
  store_->SetCurrentPath(ProfilePath("Desk"));
  LetTwoPollsPass();
  EXPECT_EQ(window_.Sent(), 0);  // an unlinked program switches nothing

  foreground_.Set(ProgramPath("game"));
  const auto received = HandleSwitch();
  ASSERT_TRUE(received);
  EXPECT_EQ(received->message, UM_LINKED_PROFILE);
  EXPECT_EQ(received->entry, (LinkEntry{ProfilePath("Game"), ProgramPath("game")}));
  EXPECT_EQ(received->program, ProgramPath("game"));
  EXPECT_EQ(store_->CurrentPath(), ProfilePath("Game"));

  // Staying in the foreground does not switch again.
  LetTwoPollsPass();
  EXPECT_EQ(window_.Sent(), 1);
}

TEST_F(ForegroundMonitorTest, LinkedProgramComingBackSwitchesAgain) {
  WriteLinkedProfile("Desk", "");
  WriteLinkedProfile("Game", ProgramPath("game"));
  foreground_.Set(ProgramPath("game"));
  StartMonitoring();
  ASSERT_TRUE(HandleSwitch());

  store_->SetCurrentPath(ProfilePath("Desk"));  // the user chose another profile meanwhile
  foreground_.Set(ProgramPath("browser"));
  LetTwoPollsPass();
  foreground_.Set(std::nullopt);  // no foreground window: nothing changes
  LetTwoPollsPass();
  foreground_.Set(ProgramPath("game"));
  ASSERT_TRUE(HandleSwitch());
  EXPECT_EQ(store_->CurrentPath(), ProfilePath("Game"));
  EXPECT_EQ(window_.Sent(), 2);
}

TEST_F(ForegroundMonitorTest, ProgramPathsAreComparedWithoutRegardToCase) {
  WriteLinkedProfile("Game", ProgramPath("game"));
  std::string shouted = ProgramPath("game");
  shouted.replace(shouted.size() - 4, 4, "GAME");
  foreground_.Set(shouted);
  StartMonitoring();
  const auto received = HandleSwitch();
  ASSERT_TRUE(received);
  EXPECT_EQ(received->entry.profilePath, ProfilePath("Game"));
  EXPECT_EQ(received->program, shouted);
}

TEST_F(ForegroundMonitorTest, TheMostRecentlyWrittenOfTwoLinkedProfilesWins) {
  WriteLinkedProfile("First", ProgramPath("game"));
  WriteLinkedProfile("Second", ProgramPath("game"));
  const auto now = std::filesystem::file_time_type::clock::now();
  std::filesystem::last_write_time(ProfilePath("First"), now);
  std::filesystem::last_write_time(ProfilePath("Second"), now - std::chrono::hours(1));
  foreground_.Set(ProgramPath("game"));
  StartMonitoring();
  auto received = HandleSwitch();
  ASSERT_TRUE(received);
  EXPECT_EQ(received->entry.profilePath, ProfilePath("First"));

  // Restarting forgets the last program, so the same one switches again.
  monitor_.StopMonitor();
  EXPECT_FALSE(monitor_.IsMonitoring());
  std::filesystem::last_write_time(ProfilePath("Second"), now + std::chrono::hours(1));
  monitor_.StartMonitor();
  received = HandleSwitch();
  ASSERT_TRUE(received);
  EXPECT_EQ(received->entry.profilePath, ProfilePath("Second"));
}

TEST_F(ForegroundMonitorTest, WithEqualTimesTheFirstInProfileOrderWins) {
  WriteLinkedProfile("b", ProgramPath("game"));
  WriteLinkedProfile("A", ProgramPath("game"));
  const auto now = std::filesystem::file_time_type::clock::now();
  std::filesystem::last_write_time(ProfilePath("A"), now);
  std::filesystem::last_write_time(ProfilePath("b"), now);
  foreground_.Set(ProgramPath("game"));
  StartMonitoring();
  const auto received = HandleSwitch();
  ASSERT_TRUE(received);
  EXPECT_EQ(received->entry.profilePath, ProfilePath("A"));
}

TEST_F(ForegroundMonitorTest, StartingWhileRunningKeepsTheLastProgram) {
  WriteLinkedProfile("Game", ProgramPath("game"));
  foreground_.Set(ProgramPath("game"));
  StartMonitoring();
  ASSERT_TRUE(HandleSwitch());
  monitor_.StartMonitor();
  EXPECT_TRUE(monitor_.IsMonitoring());
  LetTwoPollsPass();
  EXPECT_EQ(window_.Sent(), 1);
}

}  // namespace
}  // namespace vexlo
