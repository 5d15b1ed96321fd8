// The mouse filter's two jobs and the injection device on Linux, against evdev and uinput as
// umockdev emulates them: the mouse's event node is grabbed and mirrored, and /dev/uinput hands the
// test what the program's devices send.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "EmulatedMouse.h"
#include "Inbox.h"
#include "device/InterceptionTable.h"
#include "device/ReportRateRecord.h"
#include "platform/linux/DriverEventRegistry.h"
#include "platform/linux/FilterRequests.h"
#include "platform/linux/LinuxInjectionDevice.h"
#include "platform/linux/LinuxMouseFilter.h"
#include "platform/linux/PointerForwarder.h"
#include "platform/linux/UinputDevice.h"

namespace vexlo {
namespace {

using test::EmulatedMouse;
using testing::ElementsAre;

struct Event {
  std::uint16_t type;
  std::uint16_t code;
  std::int32_t value;
  bool operator==(const Event&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{" << e.type << ", " << e.code << ", " << e.value << "}";
  }
};

std::vector<Event> Plain(const std::vector<input_event>& events) {
  std::vector<Event> plain;
  for (const input_event& e : events) plain.push_back({e.type, e.code, e.value});
  return plain;
}

constexpr Event Syn{EV_SYN, SYN_REPORT, 0};

// The mouse filter of a connected link, with the six events its table names.
struct MouseFilter {
  MouseFilter() : set(registry->CreateSet(6)) {}

  Result Intercept(const std::array<bool, 3>& buttons) {
    std::array<std::int64_t, 6> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = set->DriverValue(i);
    const InterceptionTable table = BuildInterceptionTable(buttons, values);
    std::size_t returned = 0;
    return endpoint.IoControl(filter::kButtonInterception, table, {}, returned);
  }

  Result SetRate(std::uint8_t index) {
    const ReportRateRecord record = EncodeReportRateRecord(index);
    std::size_t returned = 0;
    return endpoint.IoControl(filter::kReportRate, record, {}, returned);
  }

  std::shared_ptr<DriverEventRegistry> registry = std::make_shared<DriverEventRegistry>();
  std::unique_ptr<DeviceEventSet> set;
  LinuxMouseFilter endpoint{registry, EmulatedMouse::kUinputNode};
};

TEST(PointerForwardingTest, InterceptedTransitionsAreSignalledAndEverythingElsePassesThrough) {
  EmulatedMouse mouse;
  MouseFilter filter;
  ASSERT_EQ(filter.Intercept({true, false, false}), Result::Ok);
  EXPECT_TRUE(mouse.Grabbed());
  EXPECT_THAT(mouse.UinputDevices(), ElementsAre("Halvec QXA7702 Gaming Mouse (Vexlo)"));

  const input_event events[] = {
      InputEvent(EV_KEY, BTN_LEFT, 1),  InputEvent(EV_SYN, SYN_REPORT, 0),
      InputEvent(EV_REL, REL_X, 3),     InputEvent(EV_SYN, SYN_REPORT, 0),
      InputEvent(EV_KEY, BTN_RIGHT, 1), InputEvent(EV_SYN, SYN_REPORT, 0),
      InputEvent(EV_KEY, BTN_LEFT, 0),  InputEvent(EV_SYN, SYN_REPORT, 0)};
  mouse.SendPointerEvents(events);

  EXPECT_THAT(Plain(mouse.TakeUinputEvents(4)),
              ElementsAre(Event{EV_REL, REL_X, 3}, Syn, Event{EV_KEY, BTN_RIGHT, 1}, Syn));
  std::size_t first = 9, second = 9;
  ASSERT_EQ(filter.set->WaitAny(first), Result::Ok);
  ASSERT_EQ(filter.set->WaitAny(second), Result::Ok);
  EXPECT_EQ(first, 0u);   // left down
  EXPECT_EQ(second, 1u);  // left up

  // Nothing left to intercept at the full rate: the desktop reads the mouse untouched again.
  ASSERT_EQ(filter.Intercept({false, false, false}), Result::Ok);
  EXPECT_FALSE(mouse.Grabbed());
  EXPECT_TRUE(mouse.UinputDevices().empty());
}

TEST(PointerForwardingTest, BelowTheFullRateMotionIsAddedUpAndNoButtonIsLost) {
  EmulatedMouse mouse;
  MouseFilter filter;
  ASSERT_EQ(filter.SetRate(0), Result::Ok);  // 125 reports a second
  ASSERT_TRUE(mouse.Grabbed());

  std::vector<input_event> events;
  for (int i = 0; i < 20; ++i) {
    events.push_back(InputEvent(EV_REL, REL_X, 1));
    events.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
  }
  for (const int value : {1, 0}) {
    events.push_back(InputEvent(EV_KEY, BTN_RIGHT, value));
    events.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
  }
  mouse.SendPointerEvents(events);

  std::vector<Event> got;
  int motion = 0, motionReports = 0;
  std::vector<Event> buttons;
  while (buttons.size() < 2) {
    const std::vector<Event> more = Plain(mouse.TakeUinputEvents(got.size() + 1));
    ASSERT_GT(more.size(), 0u) << "the buttons never came";
    for (const Event& e : more) {
      if (e.type == EV_REL) {
        motion += e.value;
        ++motionReports;
      }
      if (e.type == EV_KEY) {
        // A click lands where the pointer was: all the motion before it has gone first.
        EXPECT_EQ(motion, 20);
        buttons.push_back(e);
      }
    }
    got.insert(got.end(), more.begin(), more.end());
  }
  EXPECT_THAT(buttons, ElementsAre(Event{EV_KEY, BTN_RIGHT, 1}, Event{EV_KEY, BTN_RIGHT, 0}));
  EXPECT_LT(motionReports, 20);

  ASSERT_EQ(filter.SetRate(3), Result::Ok);  // the full 1000 a second
  EXPECT_FALSE(mouse.Grabbed());
}

TEST(PointerForwardingTest, EndingTheLinkGivesTheMouseBack) {
  EmulatedMouse mouse;
  {
    MouseFilter filter;
    ASSERT_EQ(filter.Intercept({false, false, true}), Result::Ok);
    ASSERT_TRUE(mouse.Grabbed());
  }
  EXPECT_FALSE(mouse.Grabbed());
  EXPECT_TRUE(mouse.UinputDevices().empty());
}

// The mirror's node is never read, so once it is full the forwarder waits in its write while the
// mouse's events pile up: the watchdog gives the mouse back to the desktop.
TEST(PointerForwardingTest, AStalledForwarderGivesTheMouseBack) {
  EmulatedMouse mouse;
  MouseFilter filter;
  ASSERT_EQ(filter.Intercept({false, false, true}), Result::Ok);

  std::vector<input_event> chunk;
  for (int i = 0; i < 50; ++i) {
    chunk.push_back(InputEvent(EV_REL, REL_X, 1));
    chunk.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
  }
  // More than the mirror's node holds, and less than both nodes together; at the pace of a mouse,
  // so that the mouse's node never overflows while the forwarder still takes its events.
  for (int sent = 0; sent < 1500; sent += 50) {
    mouse.SendPointerEvents(chunk);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

  const auto deadline = std::chrono::steady_clock::now() + test::kPatience;
  while (mouse.Grabbed() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(PointerForwarder::kWatchPeriod);
  }
  EXPECT_FALSE(mouse.Grabbed());
  (void)mouse.TakeUinputEvents(1);  // lets the forwarder finish its write, so that it can end
}

TEST(InjectionDeviceTest, ReportsBecomeKeysAndEveryKeyIsReleasedWithTheDevice) {
  EmulatedMouse mouse;
  {
    std::unique_ptr<HidDevice> device;
    ASSERT_EQ(LinuxInjectionDevice::Open(EmulatedMouse::kUinputNode, device), Result::Ok);
    EXPECT_THAT(mouse.UinputDevices(), ElementsAre("Vexlo input injection"));
    EXPECT_EQ(device->Capabilities().usagePage, 0xFF00);

    std::array<std::uint8_t, 30> keyboard{0x06, 0x04, 0x04, 0xE1};  // A with left shift
    std::array<std::uint8_t, 30> consumer{0x06, 0x05, 0xE2, 0x00};  // mute
    std::array<std::uint8_t, 30> buttons{0x06, 0x03, 0x08};         // back
    ASSERT_EQ(device->WriteOutputReport(keyboard), Result::Ok);
    ASSERT_EQ(device->WriteOutputReport(consumer), Result::Ok);
    ASSERT_EQ(device->WriteOutputReport(buttons), Result::Ok);
    keyboard[2] = 0;  // A up, shift still down
    ASSERT_EQ(device->WriteOutputReport(keyboard), Result::Ok);
    EXPECT_EQ(device->WriteOutputReport(std::span(keyboard).first(29)), Result::InvalidParameter);
    EXPECT_THAT(Plain(mouse.TakeUinputEvents(9)),
                ElementsAre(Event{EV_KEY, KEY_A, 1}, Event{EV_KEY, KEY_LEFTSHIFT, 1}, Syn,
                            Event{EV_KEY, KEY_MUTE, 1}, Syn, Event{EV_KEY, BTN_SIDE, 1}, Syn,
                            Event{EV_KEY, KEY_A, 0}, Syn));
  }
  // What was still down goes up before the device goes.
  EXPECT_THAT(Plain(mouse.TakeUinputEvents(4)),
              ElementsAre(Event{EV_KEY, KEY_LEFTSHIFT, 0}, Event{EV_KEY, KEY_MUTE, 0},
                          Event{EV_KEY, BTN_SIDE, 0}, Syn));
  EXPECT_TRUE(mouse.UinputDevices().empty());
}

}  // namespace
}  // namespace vexlo
