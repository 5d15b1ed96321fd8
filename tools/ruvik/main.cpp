// Ruvik, the companion of the main window. Started with the main window's handle as its one
// argument, it announces its own window to the main window with UM_DAEMON_WINDOW and runs until
// it is asked to close, or until the main window's process has ended.
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

#include "common/Messages.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/linux/RuntimeFolder.h"
#include "platform/linux/UniqueFd.h"

namespace {

constexpr std::uint32_t kSysCommand = 0x0112;  // WM_SYSCOMMAND
constexpr std::uint32_t kScClose = 0xF060;     // SC_CLOSE

// The companion's window: it only waits for the close request.
class CompanionWindow final : public vexlo::MessageTarget {
 public:
  CompanionWindow() : closing_(::eventfd(0, EFD_CLOEXEC)) {}

  vexlo::Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    if (message == kSysCommand && (wParam & 0xFFF0) == kScClose) {
      const std::uint64_t one = 1;
      (void)!::write(closing_.get(), &one, sizeof one);
    }
    return vexlo::Result::Ok;
  }
  // No message with texts is one it answers.
  vexlo::Result PostText(std::uint32_t, std::vector<std::string>) override {
    return vexlo::Result::Ok;
  }

  // Waits for the close request, or until `ended` (a process descriptor, -1 for none) says the
  // main window's process is gone.
  void Run(int ended) {
    std::array<pollfd, 2> waiting{{{closing_.get(), POLLIN, 0}, {ended, POLLIN, 0}}};
    while (::poll(waiting.data(), ended >= 0 ? 2 : 1, -1) < 0 && errno == EINTR) {
    }
  }

 private:
  vexlo::UniqueFd closing_;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) return 2;
  vexlo::LinuxInstanceRegistry registry(vexlo::RuntimeFolder());
  const auto main_window = registry.WindowAt(argv[1]);
  if (!main_window) return 1;  // the window that started us is gone already
  // Watched from before the announcement: the main window's process may end at any moment after
  // it, and a process that has gone and been reaped can no longer be opened.
  const vexlo::UniqueFd main_process(
      static_cast<int>(::syscall(SYS_pidfd_open, main_window->processId, 0)));
  if (main_process.get() < 0 && errno == ESRCH) return 1;

  CompanionWindow window;
  std::unique_ptr<vexlo::ReleaseOnDestroy> publication;
  vexlo::RunningWindow self;
  // Only the main window that started it may ask it to close.
  const auto fromMainWindow = [owner = main_window->processId](const vexlo::IncomingMessage& m) {
    return m.senderProcessId == owner && m.message == kSysCommand &&
           (m.wParam & 0xFFF0) == kScClose;
  };
  if (registry.PublishWindow(vexlo::kTagDaemon, fromMainWindow, window, publication, self) !=
      vexlo::Result::Ok) {
    return 1;
  }
  if (registry.PostToWindow(*main_window, vexlo::UM_DAEMON_WINDOW, self.processId, 0) !=
      vexlo::Result::Ok) {
    return 1;
  }
  window.Run(main_process.get());
  return 0;
}
