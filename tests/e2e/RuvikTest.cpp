#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "common/Messages.h"
#include "platform/linux/LinuxInstanceRegistry.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kScClose = 0xF060;

bool AdmitAll(const IncomingMessage&) {
  return true;
}

class AnnouncementRecorder final : public MessageTarget {
 public:
  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    std::scoped_lock lock(mutex_);
    if (message == UM_DAEMON_WINDOW) daemon_ = static_cast<std::uint32_t>(wParam);
    arrived_.notify_all();
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
  std::uint32_t WaitForDaemon() {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, 20s, [&] { return daemon_ != 0; });
    return daemon_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::uint32_t daemon_ = 0;
};

class RuvikTest : public testing::Test {
 protected:
  test::TempFolder root;
  const std::string ruvik = std::string(VEXLO_BINARY_DIR) + "/Ruvik";
  const std::string folder = root / "run/vexlo/";
  LinuxInstanceRegistry registry{folder};
  std::map<std::string, std::string> environment{{"XDG_RUNTIME_DIR", root / "run"}};

  RuvikTest() {
    std::filesystem::create_directories(folder);
    // As the program makes it: a folder open to others is not used.
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  }

  std::optional<RunningWindow> DaemonWindow(std::uint32_t process) {
    for (const RunningWindow& window : registry.ListWindows()) {
      if (window.userData == kTagDaemon && window.processId == process) return window;
    }
    return std::nullopt;
  }
};

TEST_F(RuvikTest, AnnouncesItselfAndClosesWhenAsked) {
  AnnouncementRecorder main_window;
  std::unique_ptr<ReleaseOnDestroy> publication;
  RunningWindow self;
  ASSERT_EQ(registry.PublishWindow(kTagMainWindow, AdmitAll, main_window, publication, self),
            Result::Ok);

  test::ChildProcess companion(ruvik, {self.endpoint}, environment);
  ASSERT_TRUE(companion.started());
  EXPECT_EQ(main_window.WaitForDaemon(), static_cast<std::uint32_t>(companion.pid()));
  const auto daemon = DaemonWindow(static_cast<std::uint32_t>(companion.pid()));
  ASSERT_TRUE(daemon.has_value());

  ASSERT_EQ(registry.PostToWindow(*daemon, kSysCommand, kScClose, 0), Result::Ok);
  EXPECT_EQ(companion.WaitForExit(10s), 0);
  EXPECT_FALSE(DaemonWindow(static_cast<std::uint32_t>(companion.pid())).has_value());
}

TEST_F(RuvikTest, EndsWhenTheMainWindowsProcessIsGone) {
  // The main window's process says through this pipe that the companion has announced itself:
  // only then is its ending the one the companion watches for.
  int announced[2];
  ASSERT_EQ(::pipe(announced), 0);
  const pid_t main_process = ::fork();
  ASSERT_GE(main_process, 0);
  if (main_process == 0) {
    AnnouncementRecorder window;
    std::unique_ptr<ReleaseOnDestroy> publication;
    RunningWindow self;
    if (registry.PublishWindow(kTagMainWindow, AdmitAll, window, publication, self) != Result::Ok) {
      ::_exit(1);
    }
    if (window.WaitForDaemon() != 0) (void)!::write(announced[1], "A", 1);
    ::pause();
    ::_exit(0);
  }
  ::close(announced[1]);
  ASSERT_TRUE(test::WaitUntil([&] { return !registry.ListWindows().empty(); }, 10s));
  const RunningWindow main_window = registry.ListWindows().front();
  test::ChildProcess companion(ruvik, {main_window.endpoint}, environment);
  pollfd waiting{announced[0], POLLIN, 0};
  char byte = 0;
  const bool heard = ::poll(&waiting, 1, 20000) == 1 && ::read(announced[0], &byte, 1) == 1;
  ::close(announced[0]);

  ::kill(main_process, SIGKILL);
  ::waitpid(main_process, nullptr, 0);
  ASSERT_TRUE(heard);
  EXPECT_EQ(companion.WaitForExit(10s), 0);
}

TEST_F(RuvikTest, RefusesToRunWithoutAMainWindow) {
  EXPECT_EQ(test::ChildProcess(ruvik, {}, environment).WaitForExit(10s), 2);
  EXPECT_EQ(test::ChildProcess(ruvik, {folder + "window-4D41494E-1-0.sock"}, environment)
                .WaitForExit(10s),
            1);
}

}  // namespace
}  // namespace vexlo
