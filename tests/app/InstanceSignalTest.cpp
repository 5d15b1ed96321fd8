#include "app/InstanceSignal.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/Messages.h"
#include "platform/ports/InstanceRegistry.h"

namespace vexlo {
namespace {

// Running windows described as data; records what is posted and the pauses between posts.
class FakeRegistry final : public InstanceRegistry {
 public:
  std::vector<RunningWindow> windows;
  std::map<std::uint32_t, std::string> images;  // process -> program file
  std::vector<std::string> log;                 // "post <endpoint> <message> <wParam>", "pause <ms>"

  Result AcquireInstanceLock(std::string_view, std::unique_ptr<ReleaseOnDestroy>&) override {
    return Result::Busy;
  }
  Result PublishWindow(std::uint32_t, MessageTarget&, std::unique_ptr<ReleaseOnDestroy>&,
                       RunningWindow&) override {
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
  PauseFunction Pause() {
    return [this](std::chrono::milliseconds ms) { log.push_back("pause " + std::to_string(ms.count())); };
  }
};

const std::string kOurs = "/opt/Vexlo/vexlo";

FakeRegistry TwoCopiesAndStrangers() {
  FakeRegistry registry;
  registry.windows = {
      {"other-tag", 0x11111111, 10},  // not a main window
      {"no-process", kTagMainWindow, 0},
      {"unqueryable", kTagMainWindow, 11},
      {"elsewhere", kTagMainWindow, 12},  // the same program in another folder
      {"first", kTagMainWindow, 13},
      {"second", kTagMainWindow, 14},
  };
  registry.images = {{10, kOurs}, {12, "/home/u/vexlo"}, {13, "/OPT/vexlo/VEXLO"}, {14, kOurs}};
  return registry;
}

TEST(InstanceSignalTest, ExitModeAsksEveryCopyOfTheSameProgramFile) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Exit, false, registry.Pause()), 2);
  const std::string exit = std::to_string(UM_EXIT_APP) + " " + std::to_string(kTagKill);
  EXPECT_EQ(registry.log, (std::vector<std::string>{"post first " + exit, "pause 100",
                                                    "post second " + exit, "pause 100"}));
}

TEST(InstanceSignalTest, ShowModeBringsOnlyTheFirstCopyForward) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Show, false, registry.Pause()), 1);
  EXPECT_EQ(registry.log, (std::vector<std::string>{"post first " + std::to_string(UM_SHOW_MAIN) +
                                                    " " + std::to_string(kTagOpen)}));
}

TEST(InstanceSignalTest, AHiddenStartBringsNothingForward) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Show, true, registry.Pause()), 0);
  EXPECT_TRUE(registry.log.empty());
}

TEST(InstanceSignalTest, NothingMatchingMeansNothingPosted) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, "/usr/bin/other", SignalMode::Exit, false,
                                   registry.Pause()),
            0);
  EXPECT_TRUE(registry.log.empty());
}

}  // namespace
}  // namespace vexlo
