#include "platform/linux/LinuxInstanceRegistry.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "PostedMessages.h"
#include "TempFolder.h"
#include "common/Messages.h"
#include "platform/linux/UnixSocket.h"

namespace vexlo {
namespace {

using Posted = test::PostedMessage;

// Records what arrives, from the registry's listener thread.
class RecordingTarget final : public MessageTarget {
 public:
  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    {
      std::scoped_lock lock(mutex_);
      posted_.push_back({message, wParam, lParam});
    }
    arrived_.notify_all();
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }

  std::vector<Posted> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return posted_.size() >= count; });
    return posted_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Posted> posted_;
};

bool AdmitAll(const IncomingMessage&) { return true; }

TEST(LinuxInstanceRegistryTest, OnlyOneHolderOfTheInstanceLock) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  std::unique_ptr<ReleaseOnDestroy> first;
  ASSERT_EQ(registry.AcquireInstanceLock("Vexlo_Mutex_QXA7702", first), Result::Ok);

  // Another process cannot take it while this one holds it.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::unique_ptr<ReleaseOnDestroy> lock;
    ::_exit(registry.AcquireInstanceLock("Vexlo_Mutex_QXA7702", lock) == Result::Busy ? 0 : 1);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  std::unique_ptr<ReleaseOnDestroy> second;
  EXPECT_EQ(registry.AcquireInstanceLock("Vexlo_Mutex_QXA7702", second), Result::Busy);
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_EQ(registry.AcquireInstanceLock("Vexlo_Mutex_QXA7702", second), Result::Ok);
}

TEST(LinuxInstanceRegistryTest, APublishedWindowReceivesPostedMessages) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  RecordingTarget target;
  std::unique_ptr<ReleaseOnDestroy> publication;
  RunningWindow self;
  ASSERT_EQ(registry.PublishWindow(kTagMainWindow, AdmitAll, target, publication, self),
            Result::Ok);

  const std::vector<RunningWindow> windows = registry.ListWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].endpoint, self.endpoint);
  EXPECT_EQ(windows[0].userData, kTagMainWindow);
  EXPECT_EQ(windows[0].processId, static_cast<std::uint32_t>(::getpid()));

  EXPECT_EQ(registry.PostToWindow(windows[0], UM_SHOW_MAIN, kTagOpen, 0), Result::Ok);
  EXPECT_EQ(registry.PostToWindow(windows[0], UM_EXIT_APP, kTagKill, 7), Result::Ok);
  EXPECT_EQ(target.WaitFor(2),
            (std::vector<Posted>{{UM_SHOW_MAIN, kTagOpen, 0}, {UM_EXIT_APP, kTagKill, 7}}));

  publication.reset();
  EXPECT_TRUE(registry.ListWindows().empty());
  EXPECT_EQ(registry.PostToWindow(windows[0], UM_SHOW_MAIN, kTagOpen, 0),
            Result::InvalidWindowHandle);
}

TEST(LinuxInstanceRegistryTest, IgnoresStrangersAndCleansUpAfterTheDead) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  RecordingTarget target;
  std::unique_ptr<ReleaseOnDestroy> publication;
  RunningWindow self;
  ASSERT_EQ(registry.PublishWindow(0x12345678, AdmitAll, target, publication, self), Result::Ok);
  const RunningWindow window = registry.ListWindows().at(0);
  EXPECT_EQ(window.userData, 0x12345678u);

  {  // a packet without our magic number is dropped
    UniqueFd stranger;
    ASSERT_EQ(ConnectTo(window.endpoint, stranger), Result::Ok);
    const char junk[16] = "not a message";
    ASSERT_EQ(SendAll(stranger.get(), std::as_bytes(std::span(junk))), Result::Ok);
  }
  ASSERT_EQ(registry.PostToWindow(window, UM_SHOW_MAIN, kTagOpen, 0), Result::Ok);
  EXPECT_EQ(target.WaitFor(1), (std::vector<Posted>{{UM_SHOW_MAIN, kTagOpen, 0}}));

  // A window of a process that died without cleaning up is neither listed nor kept.
  const std::string dead = folder / "window-4D41494E-999999-0.sock";
  test::WriteFile(dead, "");
  EXPECT_EQ(registry.ListWindows().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dead));

  // A socket of a live process that nobody listens on any more: posting finds it gone.
  const std::string closed =
      folder / ("window-4D41494E-" + std::to_string(::getpid()) + "-99.sock");
  {
    UniqueFd listener;
    ASSERT_EQ(ListenAt(closed, listener), Result::Ok);
  }
  const std::vector<RunningWindow> listed = registry.ListWindows();
  ASSERT_EQ(listed.size(), 2u);
  const RunningWindow& stale = listed[0].endpoint == closed ? listed[0] : listed[1];
  ASSERT_EQ(stale.endpoint, closed);
  EXPECT_EQ(registry.PostToWindow(stale, UM_SHOW_MAIN, kTagOpen, 0), Result::InvalidWindowHandle);
  EXPECT_FALSE(std::filesystem::exists(closed));
  // Files that are not windows are not listed.
  test::WriteFile(folder / "window-nothex-1-0.sock", "");
  test::WriteFile(folder / "notes.txt", "");
  EXPECT_EQ(registry.ListWindows().size(), 1u);
}

TEST(LinuxInstanceRegistryTest, ListsTheMostRecentlyPublishedFirst) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  RecordingTarget target;
  std::unique_ptr<ReleaseOnDestroy> older;
  std::unique_ptr<ReleaseOnDestroy> newer;
  RunningWindow self;
  ASSERT_EQ(registry.PublishWindow(1, AdmitAll, target, older, self), Result::Ok);
  ASSERT_EQ(registry.PublishWindow(2, AdmitAll, target, newer, self), Result::Ok);
  for (const RunningWindow& window : registry.ListWindows()) {
    const auto when = std::filesystem::file_time_type::clock::now() +
                      std::chrono::seconds(window.userData == 2 ? 10 : -10);
    std::filesystem::last_write_time(window.endpoint, when);
  }
  const std::vector<RunningWindow> windows = registry.ListWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].userData, 2u);
  EXPECT_EQ(windows[1].userData, 1u);
}

TEST(LinuxInstanceRegistryTest, FindsTheProgramFileOfAProcess) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  const auto own = registry.ProcessImagePath(static_cast<std::uint32_t>(::getpid()));
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(*own, std::filesystem::read_symlink("/proc/self/exe").string());
  EXPECT_FALSE(registry.ProcessImagePath(0).has_value());
  EXPECT_FALSE(registry.ProcessImagePath(0x7FFFFFF0).has_value());
}

// The window hears only what its admission takes, with the sender as the kernel names it; no
// sender, however it behaves, keeps another's message from arriving.
TEST(LinuxInstanceRegistryTest, SendersThatStallFloodOrSendGarbageDelayNobody) {
  test::TempFolder folder;
  LinuxInstanceRegistry registry(folder.path());
  RecordingTarget target;
  std::vector<IncomingMessage> asked;
  std::mutex askedMutex;
  const auto admit = [&](const IncomingMessage& message) {
    std::scoped_lock lock(askedMutex);
    asked.push_back(message);
    return message.message == UM_SHOW_MAIN;
  };
  std::unique_ptr<ReleaseOnDestroy> publication;
  RunningWindow self;
  ASSERT_EQ(registry.PublishWindow(kTagMainWindow, admit, target, publication, self), Result::Ok);

  const auto connect = [&] {
    UniqueFd connection;
    EXPECT_EQ(ConnectTo(self.endpoint, connection), Result::Ok);
    return connection;
  };
  const auto send = [](const UniqueFd& connection, std::span<const std::uint32_t> words) {
    EXPECT_EQ(SendAll(connection.get(), std::as_bytes(words)), Result::Ok);
  };
  constexpr std::uint32_t kMagic = 0x56584D31;
  UniqueFd stalled = connect();  // one byte, then nothing
  EXPECT_EQ(SendAll(stalled.get(), std::as_bytes(std::span("V", 1))), Result::Ok);
  std::vector<UniqueFd> idle;
  for (int i = 0; i < 100; ++i) idle.push_back(connect());
  {
    const std::uint32_t shortFrame[] = {kMagic, UM_SHOW_MAIN};
    send(connect(), shortFrame);
    const std::uint32_t oversized[] = {kMagic, UM_SHOW_MAIN, 1, 0, 0xFFFFFFFF, 0xFFFFFFFF};
    send(connect(), oversized);
    const std::uint32_t refused[] = {kMagic, UM_LINKED_PROFILE, 0x1234, 0};
    send(connect(), refused);
  }
  ASSERT_EQ(registry.PostToWindow(self, UM_SHOW_MAIN, kTagOpen, 0), Result::Ok);

  EXPECT_EQ(target.WaitFor(2),
            (std::vector<Posted>{{UM_SHOW_MAIN, 1, 0}, {UM_SHOW_MAIN, kTagOpen, 0}}));
  std::scoped_lock lock(askedMutex);
  ASSERT_EQ(asked.size(), 3u);  // the short frame never reached the admission
  EXPECT_EQ(asked[1].message, UM_LINKED_PROFILE);
  for (const IncomingMessage& message : asked) {
    EXPECT_EQ(message.senderProcessId, static_cast<std::uint32_t>(::getpid()));
  }
}

}  // namespace
}  // namespace vexlo
