#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../device/DeviceTestSupport.h"
#include "FakePauseClock.h"
#include "FakeUserMessages.h"
#include "HostTestSupport.h"
#include "TempFolder.h"
#include "common/LanguageTable.h"
#include "engine/HostDispatcher.h"
#include "engine/InputInjector.h"
#include "engine/KeyAssignment.h"
#include "engine/MacroPlayer.h"
#include "platform/ports/ProcessLauncher.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo::test {

// Starts nothing; keeps what it was asked to open.
class RecordingLauncher final : public ProcessLauncher {
 public:
  struct Opened {
    std::string file;
    std::string parameter;
    std::string workingFolder;
    bool operator==(const Opened&) const = default;
  };

  Result Open(const std::string& file, const std::string& parameter,
              const std::string& workingFolder) override {
    opened.push_back({file, parameter, workingFolder});
    return Result::Ok;
  }
  Result StartCompanion(const std::string&, const std::string&, const std::string&,
                        std::uint32_t&) override {
    ADD_FAILURE() << "a button never starts the companion";
    return Result::Ok;
  }

  std::vector<Opened> opened;
};

// The host functions over the simulated machine: a current profile and macros in a data folder of
// their own, the injector on the simulated injection device, the macro player and the dispatcher.
// Key combinations pause on a clock that only notes the pauses; the player's clock is the test's
// choice.
class HostFixture : public ::testing::Test {
 protected:
  explicit HostFixture(FakePauseClock::Mode playerClock, SimState state = {})
      : machine_(std::move(state)), playerClock_(playerClock) {}

  void SetUp() override { ASSERT_EQ(injector_.OpenInjectionDevice(), Result::Ok); }

  void Assign(int button, const KeyAssignment& assignment) {
    ASSERT_EQ(StoreKeyAssignment(profiles_.Data().device, button, assignment), Result::Ok);
    dispatcher_.UseAssignments(profiles_.Data().device);
  }

  // Stores the macro in the lowest free slot and gives the slot.
  int AddMacro(const MacroData& macro) {
    EXPECT_EQ(macros_.AddMacro(), Result::Ok);
    for (std::size_t i = 0; i < macro.byCount; ++i) {
      EXPECT_EQ(macros_.AppendStep(macro.steps[i]), Result::Ok);
    }
    return macros_.CurrentIndex();
  }

  // The lines injected since the last call.
  std::vector<std::string> NewLines() {
    const std::vector<std::string> all = lines_.All();
    std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
    seen_ = all.size();
    return fresh;
  }
  // Waits until `count` lines have come since the last call, then gives them (and what else came).
  std::vector<std::string> NewLines(std::size_t count) {
    lines_.WaitFor(seen_ + count);
    return NewLines();
  }

  // What the simulated injection device holds down now.
  InjectedInput Held() { return machine_.sim->State().injection.held; }

  SimMachine machine_;
  InjectedLines lines_{*machine_.sim};
  std::size_t seen_ = 0;
  TempFolder temp_;
  LanguageTable language_;
  FakeUserMessages messages_;
  ProfileStore profiles_{temp_ / "Data/", language_, messages_};
  MacroStore macros_{temp_ / "Data/", language_, messages_};
  InputInjector injector_{*machine_.platform.devices, *machine_.platform.hid};
  FakePauseClock pauses_;  // the dispatcher's
  FakePauseClock playerClock_;
  MacroPlayer player_{injector_, playerClock_};
  RecordingLauncher launcher_;
  int shown_ = 0;  // how often the main window was shown
  HostDispatcher dispatcher_{macros_, injector_, player_, launcher_, pauses_, [this] { ++shown_; }};
};

}  // namespace vexlo::test
