#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ports/InstanceRegistry.h"

namespace vexlo::test {

// Running windows described as data. Records each post as "post <endpoint> <message> <wParam>"
// in `log`, where tests may add their own lines.
class FakeInstanceRegistry final : public InstanceRegistry {
 public:
  std::vector<RunningWindow> windows;
  std::map<std::uint32_t, std::string> images;  // process -> program file
  std::vector<std::string> log;

  Result AcquireInstanceLock(std::string_view, std::unique_ptr<ReleaseOnDestroy>&) override {
    return Result::Busy;
  }
  Result PublishWindow(std::uint32_t, MessageAdmission, MessageTarget&,
                       std::unique_ptr<ReleaseOnDestroy>&, RunningWindow&) override {
    return Result::Ok;
  }
  std::vector<RunningWindow> ListWindows() override { return windows; }
  std::optional<RunningWindow> WindowAt(const std::string&) override { return std::nullopt; }
  Result PostToWindow(const RunningWindow& window, std::uint32_t message, std::uint32_t wParam,
                      std::uint32_t) override {
    log.push_back("post " + window.endpoint + " " + std::to_string(message) + " " +
                  std::to_string(wParam));
    return Result::Ok;
  }
  std::optional<std::string> ProcessImagePath(std::uint32_t processId) override {
    const auto found = images.find(processId);
    if (found == images.end()) return std::nullopt;
    return found->second;
  }
};

}  // namespace vexlo::test
