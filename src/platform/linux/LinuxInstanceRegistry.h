#pragma once

#include <string>

#include "platform/ports/InstanceRegistry.h"

namespace vexlo {

// The instance lock is an exclusive flock on a file of that name in the runtime folder; the
// kernel releases it when the process ends, however it ends. Each published window listens on a
// local socket "window-<tag>-<pid>-<n>.sock" in the same folder, and a posted message is one
// 16-byte packet sent to it, on a connection of its own. The listener takes connections of the
// same user only (the kernel's word for the peer) and reads the packet within a short deadline.
class LinuxInstanceRegistry final : public InstanceRegistry {
 public:
  // `folder` ends with '/'; the runtime folder unless a test gives its own. Without one (empty)
  // there is neither a lock nor a published window, and none is listed.
  explicit LinuxInstanceRegistry(std::string folder);

  Result AcquireInstanceLock(std::string_view name,
                             std::unique_ptr<ReleaseOnDestroy>& lock) override;
  Result PublishWindow(std::uint32_t userData, MessageAdmission admit, MessageTarget& target,
                       std::unique_ptr<ReleaseOnDestroy>& publication,
                       RunningWindow& self) override;
  std::vector<RunningWindow> ListWindows() override;
  std::optional<RunningWindow> WindowAt(const std::string& endpoint) override;
  Result PostToWindow(const RunningWindow& window, std::uint32_t message, std::uint32_t wParam,
                      std::uint32_t lParam) override;
  std::optional<std::string> ProcessImagePath(std::uint32_t processId) override;

 private:
  std::string folder_;
};

}  // namespace vexlo
