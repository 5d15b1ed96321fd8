#include "app/CompanionKeeper.h"

#include <filesystem>
#include <system_error>

#include "common/Messages.h"
#include "platform/ports/InstanceRegistry.h"
#include "platform/ports/ProcessLauncher.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kSysCommand = 0x0112;  // WM_SYSCOMMAND
constexpr std::uint32_t kScClose = 0xF060;     // SC_CLOSE
constexpr auto kAnnounceGrace = std::chrono::seconds(3);

}  // namespace

CompanionKeeper::CompanionKeeper(ProcessLauncher& launcher, InstanceRegistry& registry,
                                 std::string program, std::string workingFolder)
    : launcher_(launcher),
      registry_(registry),
      program_(std::move(program)),
      workingFolder_(std::move(workingFolder)) {}

bool CompanionKeeper::Start(const std::string& windowHandle, Clock::time_point now) {
  windowHandle_ = windowHandle;
  std::error_code error;
  if (!std::filesystem::exists(program_, error)) return false;
  lastStart_ = now;
  // A failed start leaves no process to wait for: the watchdog tries again.
  if (launcher_.StartCompanion(program_, windowHandle_, workingFolder_, started_) != Result::Ok) {
    started_ = 0;
  }
  return true;
}

void CompanionKeeper::OnAnnounced(std::uint32_t companionProcess) {
  // Only the companion this program started; anything else claiming to be it is ignored.
  if (companionProcess != 0 && companionProcess == started_) window_ = companionProcess;
}

bool CompanionKeeper::CompanionAlive() {
  if (window_ == 0) return false;
  for (const RunningWindow& window : registry_.ListWindows()) {
    if (window.userData == kTagDaemon && window.processId == window_) return true;
  }
  return false;
}

void CompanionKeeper::Check(Clock::time_point now) {
  if (CompanionAlive()) return;
  // One that has not announced itself yet may still be starting up.
  if (window_ == 0 && now - lastStart_ < kAnnounceGrace) return;
  window_ = 0;
  (void)Start(windowHandle_, now);
}

void CompanionKeeper::Close() {
  if (window_ == 0) return;
  for (const RunningWindow& window : registry_.ListWindows()) {
    if (window.userData == kTagDaemon && window.processId == window_) {
      (void)registry_.PostToWindow(window, kSysCommand, kScClose, 0);  // gone already: fine
    }
  }
  window_ = 0;
}

}  // namespace vexlo
