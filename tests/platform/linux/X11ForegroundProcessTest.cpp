#include "platform/linux/X11ForegroundProcess.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "ChildProcess.h"
#include "FakeUserMessages.h"
#include "PrivateXServer.h"
#include "TempFolder.h"
#include "X11TestClient.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "engine/ForegroundMonitor.h"
#include "platform/ports/MessageTarget.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// Reached only when a test fails.
constexpr auto kPatience = 20s;

// A program of a known path, running while the test needs its process.
struct RunningProgram {
  explicit RunningProgram(const std::string& path, std::vector<std::string> arguments)
      : process(path, arguments, {}), file(std::filesystem::canonical(path).string()) {
    // Until it has exec'd, the child is still this test program.
    EXPECT_TRUE(test::WaitUntil(
        [&] {
          std::error_code error;
          return std::filesystem::read_symlink("/proc/" + std::to_string(process.pid()) + "/exe",
                                               error) == file;
        },
        kPatience));
  }
  std::uint32_t pid() const { return static_cast<std::uint32_t>(process.pid()); }

  test::ChildProcess process;
  std::string file;  // what /proc names: every link followed
};

class X11ForegroundProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!server.started()) GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
    client = std::make_unique<test::X11TestClient>();
    ASSERT_TRUE(client->connected());
    foreground = X11ForegroundProcess::Connect();
    ASSERT_NE(foreground, nullptr);
  }

  std::optional<std::string> WaitForForeground(const std::optional<std::string>& expected) {
    (void)test::WaitUntil([&] { return foreground->ForegroundImagePath() == expected; }, kPatience);
    return foreground->ForegroundImagePath();
  }

  std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
  }

  test::PrivateXServer server;
  std::unique_ptr<test::X11TestClient> client;
  std::unique_ptr<X11ForegroundProcess> foreground;
  RunningProgram sleeper{"/bin/sleep", {"60"}};
  RunningProgram tail{"/usr/bin/tail", {"-f", "/dev/null"}};
};

TEST_F(X11ForegroundProcessTest, TheActiveWindowsProgramIsTheForeground) {
  const std::uint32_t sleeping = client->MapWindow(sleeper.pid(), HostName());
  const std::uint32_t tailing = client->MapWindow(tail.pid(), std::nullopt);
  client->Activate(sleeping);
  EXPECT_EQ(WaitForForeground(sleeper.file), sleeper.file);
  client->Activate(tailing);
  EXPECT_EQ(WaitForForeground(tail.file), tail.file);
  client->Activate(0);
  EXPECT_EQ(WaitForForeground(std::nullopt), std::nullopt);
}

TEST_F(X11ForegroundProcessTest, WindowsOfOtherHostsOrWithoutAProcessGiveNoProgram) {
  const std::uint32_t known = client->MapWindow(sleeper.pid(), std::nullopt);
  for (const std::uint32_t window :
       {client->MapWindow(sleeper.pid(), std::string_view("far-away-host")),
        client->MapWindow(std::nullopt, std::nullopt)}) {
    client->Activate(known);
    ASSERT_EQ(WaitForForeground(sleeper.file), sleeper.file);
    client->Activate(window);
    EXPECT_EQ(WaitForForeground(std::nullopt), std::nullopt);
  }
}

// Without a window manager that names the active window the foreground is unknown, not merely
// without a program.
TEST_F(X11ForegroundProcessTest, TheForegroundIsKnownOnceAWindowManagerNamesTheActiveWindow) {
  EXPECT_FALSE(foreground->KnowsForeground());
  client->Activate(0);
  EXPECT_TRUE(test::WaitUntil([&] { return foreground->KnowsForeground(); }, kPatience));
}

TEST_F(X11ForegroundProcessTest, PathsCompareAsLinuxComparesThem) {
  EXPECT_TRUE(foreground->SameProgram(sleeper.file, sleeper.file));
  EXPECT_TRUE(foreground->SameProgram("/bin/sleep", sleeper.file));  // through the /bin link
  std::string upper = sleeper.file;
  upper.back() = static_cast<char>(std::toupper(upper.back()));
  EXPECT_FALSE(foreground->SameProgram(upper, sleeper.file));
  EXPECT_FALSE(foreground->SameProgram("/bin/tail", sleeper.file));
}

// The main window's side of UM_LINKED_PROFILE: records the profile chosen.
class SwitchRecorder final : public MessageTarget {
 public:
  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t) override { return Result::Ok; }
  Result PostText(std::uint32_t message, std::vector<std::string> texts) override {
    std::scoped_lock lock(mutex_);
    if (message == UM_LINKED_PROFILE && !texts.empty()) {
      profiles_.push_back(texts.front());
      changed_.notify_all();
    }
    return Result::Ok;
  }
  // The profile of the `count`th switch; empty when it never comes.
  std::string WaitForSwitch(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kPatience, [&] { return profiles_.size() >= count; });
    return profiles_.size() >= count ? profiles_[count - 1] : std::string();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> profiles_;
};

TEST_F(X11ForegroundProcessTest, TheLinkedProfileSwitchesWhenTheWindowManagerSaysSo) {
  test::TempFolder data;
  std::filesystem::create_directories(data / "Profile");
  const std::string game = data / "Profile/Game.ini";
  const std::string reader = data / "Profile/Reader.ini";
  for (const auto& [file, program] :
       {std::pair{game, std::string("/bin/sleep")}, std::pair{reader, tail.file}}) {
    ProfileData profile;
    FillDefaults(profile);
    profile.link = {1, program};
    ASSERT_EQ(WriteProfile(file, profile), Result::Ok);
  }
  LanguageTable language;
  test::FakeUserMessages messages;
  ProfileStore store(data.path(), language, messages);
  SwitchRecorder window;
  {
    // An interval far beyond the test: only the desktop's word can wake the monitor.
    ForegroundMonitor monitor(*foreground, std::chrono::hours(1));
    monitor.RebuildLinkTable(store);
    monitor.SetTarget(&window);
    monitor.StartMonitor();
    client->Activate(client->MapWindow(sleeper.pid(), std::nullopt));
    EXPECT_EQ(window.WaitForSwitch(1), game);
    client->Activate(client->MapWindow(tail.pid(), std::nullopt));
    EXPECT_EQ(window.WaitForSwitch(2), reader);
  }
}

}  // namespace
}  // namespace vexlo
