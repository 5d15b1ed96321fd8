#include "device/DeviceSession.h"

#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "FakeUserMessages.h"
#include "common/Messages.h"
#include "device/DriverInterface.h"

namespace vexlo {
namespace {

using test::FakeUserMessages;
using test::RecordingTarget;
using test::SimMachine;

class DeviceSessionTest : public ::testing::Test {
 protected:
  explicit DeviceSessionTest(SimState state = {}) : machine_(std::move(state)) {}

  SimEnvironment& Sim() { return *machine_.sim; }

  SimMachine machine_;
  FakeUserMessages messages_;
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
  DeviceSession session_{link_, messages_};
};

TEST_F(DeviceSessionTest, ConnectMakesTheMouseUsable) {
  EXPECT_EQ(session_.IsConnected(), Result::NotConnected);
  EXPECT_FALSE(session_.CheckAlive());
  ASSERT_EQ(session_.Connect(), Result::Ok);
  EXPECT_EQ(session_.IsConnected(), Result::Ok);
  EXPECT_TRUE(session_.CheckAlive());
  EXPECT_EQ(session_.Model(), 2);
  EXPECT_EQ(&session_.RegisterImage(), &link_.RegisterCache());  // one image, the link's
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DeviceSessionTest, ConnectingAConnectedMouseDoesNothing) {
  ASSERT_EQ(session_.Connect(), Result::Ok);
  const std::uint64_t transfers = Sim().State().hidFilter.transfers;
  EXPECT_EQ(session_.Connect(), Result::Ok);
  EXPECT_EQ(Sim().State().hidFilter.transfers, transfers);
}

TEST_F(DeviceSessionTest, UnpluggingIsNoticedAndPluggingInConnectsAgain) {
  ASSERT_EQ(session_.Connect(), Result::Ok);
  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  EXPECT_FALSE(session_.CheckAlive());
  EXPECT_EQ(session_.IsConnected(), Result::NotConnected);
  EXPECT_EQ(session_.Model(), 0);
  EXPECT_TRUE(link_.IsOpen());  // until the next Connect closes it
  EXPECT_EQ(session_.Connect(), Result::NotConnected);
  EXPECT_FALSE(link_.IsOpen());

  ASSERT_EQ(Sim().Plug(), Result::Ok);
  EXPECT_EQ(session_.Connect(), Result::Ok);
  EXPECT_TRUE(session_.CheckAlive());
  EXPECT_EQ(Sim().State().mouse.sessionKey, 0x5A);
}

TEST_F(DeviceSessionTest, AMouseGoneSinceTheLastConnectIsLookedForAgain) {
  ASSERT_EQ(session_.Connect(), Result::Ok);
  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  ASSERT_EQ(Sim().Plug(), Result::Ok);
  EXPECT_EQ(session_.Connect(), Result::Ok);
  EXPECT_TRUE(session_.CheckAlive());
}

TEST_F(DeviceSessionTest, ButtonEventsArePostedToTheWindow) {
  RecordingTarget window;
  session_.SetEventTarget(&window);
  ASSERT_EQ(session_.Connect(), Result::Ok);
  ASSERT_EQ(
      link_.MouseFilterControl(kIoctlButtonInterception, test::InterceptionTable(link_, {2, 3})),
      Result::Ok);
  ASSERT_EQ(Sim().Press(1), Result::Ok);
  const auto posted = window.posted.WaitFor(1);
  EXPECT_EQ(posted, (std::vector<RecordingTarget::Message>{{UM_BUTTON_EVENT, 1, 0x12}}));
  ASSERT_EQ(Sim().Unplug(), Result::Ok);  // the reader ends: everything counts as released
  EXPECT_EQ(window.posted.WaitFor(2).back(), (RecordingTarget::Message{UM_BUTTON_EVENT, 0, 0}));
  session_.SetEventTarget(nullptr);
}

struct FailureCase {
  const char* name;
  SimState state;
  bool warnsOfDrivers;
};

TEST(DeviceSessionConnectTest, FailuresAreNotConnectedAndMissingDriversAreShown) {
  const FailureCase cases[] = {
      {"no drivers", {.drivers = {.hidFilter = false, .mouseFilter = false}}, true},
      {"no mouse filter", {.drivers = {.hidFilter = true, .mouseFilter = false}}, true},
      {"no mouse", {.mouse = {.plugged = false}}, false},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimMachine machine(c.state);
    FakeUserMessages messages;
    DeviceLink link(*machine.platform.devices, *machine.platform.hid);
    DeviceSession session(link, messages);
    EXPECT_EQ(session.Connect(), Result::NotConnected);
    EXPECT_EQ(session.IsConnected(), Result::NotConnected);
    EXPECT_FALSE(session.CheckAlive());
    EXPECT_EQ(session.Model(), 0);
    if (c.warnsOfDrivers) {
      EXPECT_EQ(messages.shown,
                (std::vector<FakeUserMessages::Shown>{
                    {"STA_MSG_INFO_DRV_MODULE", "STA_MSG_TITLE_WARN", 0x40000, 0xC0}}));
    } else {
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

TEST(DeviceSessionModelTest, ModelOneIsRecognised) {
  SimMachine machine({.mouse = SimMouse::FactoryNew(1)});
  FakeUserMessages messages;
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  DeviceSession session(link, messages);
  ASSERT_EQ(session.Connect(), Result::Ok);
  EXPECT_EQ(session.Model(), 1);
  EXPECT_EQ(link.ButtonRegisters()[3], 0x09);
  EXPECT_EQ(link.ButtonRegisters()[5], 0x0E);
}

TEST(DeviceSessionModelTest, AnUnidentifiedMouseCountsAsModelOne) {
  SimState state;
  state.mouse.registers[0x16] = 0x00;
  SimMachine machine(state);
  FakeUserMessages messages;
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  DeviceSession session(link, messages);
  ASSERT_EQ(session.Connect(), Result::Ok);
  EXPECT_EQ(link.ModelVariant(), 0);
  EXPECT_EQ(session.Model(), 1);
}

}  // namespace
}  // namespace vexlo
