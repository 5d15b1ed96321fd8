#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "DeviceTestSupport.h"
#include "FakeUserMessages.h"
#include "common/Messages.h"
#include "device/DeviceSession.h"
#include "device/SplitProbe.h"

namespace vexlo {
namespace {

using test::FakeUserMessages;
using test::RecordingTarget;
using test::SimMachine;

TEST(SplitProbeTest, TellsASplitMouseByItsCollectionsInstanceId) {
  struct Case {
    const char* name;
    SimMouse mouse;
    int expected;
  };
  const Case cases[] = {
      {"composite", {.composite = true}, 0},
      {"split", {.composite = false}, 1},
      {"split, unplugged", {.plugged = false, .composite = false}, 0},
  };
  for (const Case& c : cases) {
    SimMachine machine(SimState{.mouse = c.mouse});
    EXPECT_EQ(SplitProbe(*machine.platform.hid, *machine.platform.devices), c.expected) << c.name;
    EXPECT_EQ(machine.sim->State().open.hidCollections, 0) << c.name;  // each closed again
  }
  EXPECT_TRUE(IsSplitInstanceId(R"(HID\VID_093A&PID_2533&COL02\7&1F2E3D4C&0&0001)"));
  EXPECT_FALSE(IsSplitInstanceId(R"(HID\VID_093A&PID_2533&mi_01&COL02\7&1F2E3D4C&0&0001)"));
  EXPECT_TRUE(IsSplitInstanceId("MI_"));  // only from the third character on
  EXPECT_FALSE(IsSplitInstanceId(""));
}

// The session over the in-process simulated machine, with a split mouse whose HID filter may or
// may not answer the wake packet.
class SplitSetupTest : public ::testing::Test {
 protected:
  explicit SplitSetupTest(SimDrivers drivers = {.wakeNeedsSplit = true})
      : machine_(SimState{.mouse = {.composite = false}, .drivers = drivers}) {
    session_.SetEventTarget(&target_);
  }

  SimEnvironment& Sim() { return *machine_.sim; }
  std::vector<std::string> ShownKeys() const {
    std::vector<std::string> keys;
    for (const auto& shown : messages_.shown) keys.push_back(shown.textKey);
    return keys;
  }
  // Waits for the setup's end and hands it to the session, as the window does.
  // (The replug also ends the reader, which posts a button release.)
  void FinishSetup(bool expectedSuccess) {
    for (std::size_t count = 1; count <= 3; ++count) {
      for (const RecordingTarget::Message& posted : target_.posted.WaitFor(count)) {
        if (posted.message != UM_DRIVER_SETUP) continue;
        EXPECT_EQ(posted.wParam, expectedSuccess ? 1u : 0u);
        session_.OnDriverSetupDone(posted.wParam != 0);
        return;
      }
    }
    FAIL() << "the setup did not end";
  }

  SimMachine machine_;
  FakeUserMessages messages_;
  RecordingTarget target_;
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
  DeviceSession session_{link_, messages_, machine_.platform.driverSetup.get()};
};

TEST_F(SplitSetupTest, ASilentFilterLeadsToTheSetupAReplugAndSuccess) {
  ASSERT_EQ(session_.Connect(), Result::Ok);
  FinishSetup(true);
  EXPECT_EQ(ShownKeys(),
            (std::vector<std::string>{"STA_MSG_INFO_DRV_SPLIT", "STA_MSG_INFO_DRV_SPLIT2"}));
  EXPECT_EQ(messages_.shown[1].flags, UserMessages::kKeepOnTop);
  EXPECT_EQ(messages_.shown[1].titleColour, UserMessages::kWarningColour);
  const SimState state = Sim().State();
  EXPECT_TRUE(state.drivers.splitVariant);
  EXPECT_TRUE(state.mouse.plugged);
  // The replug closed the old connection; the next one finds a filter that answers.
  EXPECT_FALSE(session_.CheckAlive());
  ASSERT_EQ(session_.Connect(), Result::Ok);
  EXPECT_EQ(link_.Transfer(kWakePacket, {}), Result::Ok);
  EXPECT_EQ(messages_.shown.size(), 2u);
}

TEST_F(SplitSetupTest, AFailingSetupSaysSoAndLeavesTheMousePluggedAndNotTriedAgain) {
  SimFaults faults;
  faults.failSetup = true;
  Sim().SetFaults(faults);
  ASSERT_EQ(session_.Connect(), Result::Ok);
  FinishSetup(false);
  EXPECT_EQ(ShownKeys(),
            (std::vector<std::string>{"STA_MSG_INFO_DRV_SPLIT", "STA_MSG_INFO_DRV_SPLIT_FAIL"}));
  EXPECT_TRUE(Sim().State().mouse.plugged);
  EXPECT_FALSE(Sim().State().drivers.splitVariant);
  // Reconnecting after the replug does not start another setup (each would restart the mouse).
  ASSERT_EQ(session_.Connect(), Result::Ok);
  session_.Disconnect();
  EXPECT_EQ(messages_.shown.size(), 2u);
}

class AnsweringFilterTest : public SplitSetupTest {
 protected:
  AnsweringFilterTest() : SplitSetupTest(SimDrivers{}) {}
};

TEST_F(AnsweringFilterTest, ASplitMouseWhoseFilterAnswersNeedsNoSetup) {
  ASSERT_EQ(session_.Connect(), Result::Ok);
  session_.Disconnect();
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_FALSE(Sim().State().drivers.splitVariant);
}

// A setup that waits until the test lets it finish.
class GatedSetup final : public DriverSetup {
 public:
  Result InstallSplitDrivers() override {
    std::unique_lock lock(mutex_);
    ++runs;
    released_.wait(lock, [this] { return open_; });
    return Result::Ok;
  }
  void Open() {
    {
      std::scoped_lock lock(mutex_);
      open_ = true;
    }
    released_.notify_all();
  }
  int Runs() {
    std::scoped_lock lock(mutex_);
    return runs;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool open_ = false;
  int runs = 0;
};

TEST(SplitInstallerTest, TwoArrivalsInARowStartASingleSetupWhichStopJoins) {
  SimMachine machine(SimState{.mouse = {.composite = false}, .drivers = {.wakeNeedsSplit = true}});
  FakeUserMessages messages;
  GatedSetup setup;
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  DeviceSession session(link, messages, &setup);
  ASSERT_EQ(session.Connect(), Result::Ok);
  ASSERT_EQ(machine.sim->Unplug(), Result::Ok);
  ASSERT_EQ(machine.sim->Plug(), Result::Ok);
  ASSERT_EQ(session.Connect(), Result::Ok);  // the setup still runs
  EXPECT_EQ(messages.shown.size(), 1u);
  setup.Open();
  session.Disconnect();  // waits for the setup
  EXPECT_EQ(setup.Runs(), 1);
}

}  // namespace
}  // namespace vexlo
