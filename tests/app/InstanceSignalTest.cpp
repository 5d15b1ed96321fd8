#include "app/InstanceSignal.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/Messages.h"
#include "FakeInstanceRegistry.h"

namespace vexlo {
namespace {

using FakeRegistry = test::FakeInstanceRegistry;

PauseFunction LoggedPause(FakeRegistry& registry) {
  return [&registry](std::chrono::milliseconds ms) {
    registry.log.push_back("pause " + std::to_string(ms.count()));
  };
}

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
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Exit, false, LoggedPause(registry)), 2);
  const std::string exit = std::to_string(UM_EXIT_APP) + " " + std::to_string(kTagKill);
  EXPECT_EQ(registry.log, (std::vector<std::string>{"post first " + exit, "pause 100",
                                                    "post second " + exit, "pause 100"}));
}

TEST(InstanceSignalTest, ShowModeBringsOnlyTheFirstCopyForward) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Show, false, LoggedPause(registry)), 1);
  EXPECT_EQ(registry.log, (std::vector<std::string>{"post first " + std::to_string(UM_SHOW_MAIN) +
                                                    " " + std::to_string(kTagOpen)}));
}

TEST(InstanceSignalTest, AHiddenStartBringsNothingForward) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, kOurs, SignalMode::Show, true, LoggedPause(registry)), 0);
  EXPECT_TRUE(registry.log.empty());
}

TEST(InstanceSignalTest, NothingMatchingMeansNothingPosted) {
  FakeRegistry registry = TwoCopiesAndStrangers();
  EXPECT_EQ(SignalRunningInstances(registry, "/usr/bin/other", SignalMode::Exit, false,
                                   LoggedPause(registry)),
            0);
  EXPECT_TRUE(registry.log.empty());
}

}  // namespace
}  // namespace vexlo
