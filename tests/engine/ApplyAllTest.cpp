#include "engine/ApplyAll.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "DefaultMouseRegisters.h"
#include "FakeUserMessages.h"
#include "device/DeviceCommands.h"
#include "engine/WheelLinesWorker.h"
#include "engine/WindowsMouseSettings.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"

namespace vexlo {
namespace {

Platform SimPlatform(const std::shared_ptr<SimEnvironment>& sim) {
  Platform platform;
  AddSimPorts(platform, sim);
  return platform;
}

// The simulated machine with the program's device objects on its ports, and a profile with
// default contents.
struct Machine {
  explicit Machine(SimState state = {})
      : sim(std::make_shared<SimEnvironment>(std::move(state))), platform(SimPlatform(sim)) {
    FillDefaults(profile);
  }

  // Sends the whole profile; returns once the desktop has taken every setting.
  Result Apply() {
    WheelLinesWorker wheelLines(*platform.mouseSettings);  // applies what waits when it goes
    return ApplyAll(commands, *platform.mouseSettings, wheelLines, profile.windows);
  }

  SimState State() const { return sim->State(); }

  std::shared_ptr<SimEnvironment> sim;
  Platform platform;
  test::FakeUserMessages messages;
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession session{link, messages};
  ProfileData profile;
  DeviceCommands commands{session, profile.device};
};

// A mouse of the model as it comes out of the box, or with registers left by an earlier session.
SimState MouseOf(int model, void (*earlierSession)(SimRegisters&) = nullptr) {
  SimState state{.mouse = SimMouse::FactoryNew(model)};
  if (earlierSession) earlierSession(state.mouse.registers);
  return state;
}

// Functions and bits 7..5 that an earlier session left in the button registers of a model 2
// mouse, and bit 5 of register 0x0F clear.
void LeftoverButtonRegisters(SimRegisters& registers) {
  registers[0x09] = 0xF3;
  registers[0x0B] = 0xB2;
  registers[0x0F] = 0x83;
  registers[0x10] = 0x48;
  registers[0x11] = 0xC7;
}

using test::kModel1Defaults;
using test::kModel2Defaults;

struct ProfileCase {
  const char* name;
  SimState mouse;
  void (*change)(ProfileData&);
  SimRegisters registers;           // what the mouse holds afterwards
  std::array<bool, 3> intercepted;  // left, right, middle
  double reportRate;
  SimPointerSettings desktop;
};

constexpr std::array<bool, 3> kNoneIntercepted = {false, false, false};
constexpr SimPointerSettings kDefaultDesktop = {550, 10, 3};

const ProfileCase kProfileCases[] = {
    {"defaults, model 2", MouseOf(2), [](ProfileData&) {}, kModel2Defaults, kNoneIntercepted, 1.0,
     kDefaultDesktop},
    {"defaults, model 1", MouseOf(1), [](ProfileData&) {}, kModel1Defaults, kNoneIntercepted, 1.0,
     kDefaultDesktop},
    {"side buttons report to the host, model 2",
     MouseOf(2),
     [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 6, 37, 0, 39}; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x10, 0x2C, 0x12, 0x05, 0x04, 0x02, 0x23,  //
      0x13, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"side buttons report to the host, model 1",
     MouseOf(1),
     [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 6, 37, 0, 39}; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x0C, 0x30, 0x13, 0x05, 0x04, 0x12, 0x23,  //
      0x0B, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x4A,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"sensitivity functions moved around, model 2",
     MouseOf(2),
     [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 43, 41, 42, 41}; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x09, 0x28, 0x0A, 0x05, 0x04, 0x02, 0x23,  //
      0x09, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"sensitivity functions moved around, model 1",
     MouseOf(1),
     [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 42, 43, 43, 43}; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x0A, 0x28, 0x08, 0x05, 0x04, 0x08, 0x23,  //
      0x0B, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x4A,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"left, right and middle reassigned",
     MouseOf(2),
     [](ProfileData& p) { p.device.pbyKeySet = {1, 0, 6, 3, 4, 41, 42}; },
     kModel2Defaults,
     {true, true, true},
     1.0,
     kDefaultDesktop},
    {"only the middle button reassigned",
     MouseOf(2),
     [](ProfileData& p) { p.device.pbyKeySet[2] = 40; },
     kModel2Defaults,
     {false, false, true},
     1.0,
     kDefaultDesktop},
    {"lowest levels",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.pwDpi = {200, 200, 200, 200};
     },
     {0x00, 0x00, 0x00, 0x80, 0x40, 0x20, 0x00, 0x00,  //
      0x00, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"highest levels",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.pwDpi = {4200, 4200, 4200, 4200};
     },
     {0x00, 0x00, 0x04, 0x84, 0x44, 0x24, 0x00, 0x00,  //
      0x3C, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"levels out of range",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.pwDpi = {150, 4300, 3600, 65535};
     },
     {0x00, 0x00, 0x00, 0x84, 0x41, 0x24, 0x00, 0x00,  //
      0x1C, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"first and last colours at the extreme levels",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.pwDpi = {200, 4200, 4200, 200};
       p.device.pbyCpiColorIdx = {0, 15, 0, 15};
     },
     {0x00, 0x00, 0x00, 0xF4, 0x04, 0xF0, 0x00, 0x00,  //
      0x18, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"colours out of range",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.pbyCpiColorIdx = {16, 200, 255, 15};
     },
     {0x00, 0x00, 0xF3, 0xF4, 0xF7, 0xFF, 0x00, 0x00,  //
      0x00, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"125 reports a second", MouseOf(2), [](ProfileData& p) { p.device.byReportRateIndex = 0; },
     kModel2Defaults, kNoneIntercepted, 0.125, kDefaultDesktop},
    {"250 reports a second", MouseOf(2), [](ProfileData& p) { p.device.byReportRateIndex = 1; },
     kModel2Defaults, kNoneIntercepted, 0.25, kDefaultDesktop},
    {"500 reports a second", MouseOf(2), [](ProfileData& p) { p.device.byReportRateIndex = 2; },
     kModel2Defaults, kNoneIntercepted, 0.5, kDefaultDesktop},
    {"report rate out of range", MouseOf(2), [](ProfileData& p) { p.device.byReportRateIndex = 9; },
     kModel2Defaults, kNoneIntercepted, 1.0, kDefaultDesktop},
    {"steady light",
     MouseOf(2),
     [](ProfileData& p) { p.device.byLightMode = 0; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0x01, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"6-colour cycle",
     MouseOf(2),
     [](ProfileData& p) { p.device.byLightMode = 2; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0x61, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"12-colour cycle",
     MouseOf(2),
     [](ProfileData& p) { p.device.byLightMode = 3; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0x81, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"colour cycle",
     MouseOf(2),
     [](ProfileData& p) { p.device.byLightMode = 4; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0xA1, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"light off",
     MouseOf(2),
     [](ProfileData& p) { p.device.byLightMode = 5; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0xE1, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"light mode out of range, model 1",
     MouseOf(1),
     [](ProfileData& p) { p.device.byLightMode = 6; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x01, 0xE0, 0x0A, 0x05, 0x04, 0x09, 0x23,  //
      0x0B, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x4A,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"light off while button 3 reports, model 2",
     MouseOf(2),
     [](ProfileData& p) {
       p.device.byLightMode = 5;
       p.device.pbyKeySet[3] = 6;
     },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x00, 0xEC, 0x09, 0x05, 0x04, 0x02, 0x23,  //
      0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"an earlier session's functions go, bits 7..5 stay",
     MouseOf(2, LeftoverButtonRegisters),
     [](ProfileData&) {},
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0xE0, 0x21, 0xA9, 0x05, 0x04, 0x02, 0xA3,  //
      0x4A, 0xC7, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"reassigned buttons keep bits 7..5",
     MouseOf(2, LeftoverButtonRegisters),
     [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 5, 5, 5, 5}; },
     {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0xF0, 0x2C, 0xB2, 0x05, 0x04, 0x02, 0xA3,  //
      0x53, 0xC7, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     kNoneIntercepted,
     1.0,
     kDefaultDesktop},
    {"desktop values below their range",
     MouseOf(2),
     [](ProfileData& p) {
       p.windows = {100, 0, 0};
     },
     kModel2Defaults,
     kNoneIntercepted,
     1.0,
     {200, 1, 1}},
    {"desktop values above their range",
     MouseOf(2),
     [](ProfileData& p) {
       p.windows = {1000, 25, 101};
     },
     kModel2Defaults,
     kNoneIntercepted,
     1.0,
     {900, 20, 100}},
    {"a page per wheel notch",
     MouseOf(2),
     [](ProfileData& p) {
       p.windows = {300, 7, 0xFFFFFFFF};
     },
     kModel2Defaults,
     kNoneIntercepted,
     1.0,
     {300, 7, 0xFFFFFFFF}},
};

// The interception records the mouse filter holds: the enabled ones name the link's events.
std::array<SimInterceptRecord, 6> ExpectedRecords(const DeviceLink& link,
                                                  const std::array<bool, 3>& intercepted) {
  std::array<SimInterceptRecord, 6> records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const bool enabled = intercepted[i / 2];
    records[i] = {enabled, static_cast<std::uint8_t>(enabled ? 2 : 0),
                  static_cast<std::uint16_t>(1u << i), enabled ? link.EventDriverValue(i) : 0};
  }
  return records;
}

TEST(ApplyAllTest, EachProfileLeavesTheMouseAndTheDesktopAsExpected) {
  for (const ProfileCase& c : kProfileCases) {
    SCOPED_TRACE(c.name);
    Machine machine(c.mouse);
    ASSERT_EQ(machine.session.Connect(), Result::Ok);
    c.change(machine.profile);
    EXPECT_EQ(machine.Apply(), Result::Ok);
    const SimState state = machine.State();
    EXPECT_EQ(state.mouse.registers, c.registers);
    EXPECT_EQ(machine.session.RegisterImage(), c.registers);
    ASSERT_TRUE(state.mouseFilter.interception.has_value());
    EXPECT_EQ(*state.mouseFilter.interception, ExpectedRecords(machine.link, c.intercepted));
    EXPECT_EQ(state.mouseFilter.reportRateFactor, c.reportRate);
    EXPECT_EQ(state.desktop.pointer, c.desktop);
  }
}

// Every assignment code on every button: the hardware function of buttons 3..6, and whether the
// left, right and middle buttons are intercepted.
TEST(ApplyAllTest, EveryAssignmentCodeOnEveryButton) {
  struct Functions {
    std::uint8_t button3, button4, button5, button6;
  };
  constexpr Functions kReportToHost = {0x0C, 0x10, 0x12, 0x13};
  const auto functionsOf = [&](int code) -> Functions {
    switch (code) {
      case 3:
        return {0x01, 0x10, 0x12, 0x13};
      case 4:
        return {0x0C, 0x00, 0x12, 0x13};
      case 41:
        return {0x09, 0x09, 0x09, 0x09};
      case 42:
        return {0x0A, 0x0A, 0x0A, 0x0A};
      case 43:
        return {0x08, 0x08, 0x08, 0x08};
      default:
        return kReportToHost;
    }
  };
  const struct {
    int model;
    std::array<std::uint8_t, 4> registers;  // of buttons 3..6
    SimRegisters defaults;
  } models[] = {
      {2, {0x0A, 0x09, 0x0B, 0x10}, kModel2Defaults},
      {1, {0x09, 0x0A, 0x0E, 0x0B}, kModel1Defaults},
  };
  for (const auto& model : models) {
    Machine machine(MouseOf(model.model));
    ASSERT_EQ(machine.session.Connect(), Result::Ok);
    for (int code = 0; code < 44; ++code) {
      SCOPED_TRACE(::testing::Message() << "model " << model.model << " code " << code);
      machine.profile.device.pbyKeySet.fill(static_cast<std::uint8_t>(code));
      EXPECT_EQ(machine.Apply(), Result::Ok);
      const Functions functions = functionsOf(code);
      SimRegisters expected = model.defaults;
      const std::uint8_t values[] = {functions.button3, functions.button4, functions.button5,
                                     functions.button6};
      for (std::size_t i = 0; i < 4; ++i) {
        const std::uint8_t reg = model.registers[i];
        expected[reg] = static_cast<std::uint8_t>((expected[reg] & 0xE0) | values[i]);
      }
      const SimState state = machine.State();
      EXPECT_EQ(state.mouse.registers, expected);
      EXPECT_EQ(*state.mouseFilter.interception,
                ExpectedRecords(machine.link, {code != 0, code != 1, code != 2}));
    }
  }
}

TEST(ApplyAllTest, ClampedValuesAreStoredBackIntoTheProfile) {
  Machine machine;
  ASSERT_EQ(machine.session.Connect(), Result::Ok);
  DeviceSettings& device = machine.profile.device;
  device.pwDpi = {0, 199, 4201, 65535};
  device.byReportRateIndex = 200;
  device.byLightMode = 17;
  device.byLightBrightness = 5;
  device.byLightSpeed = 255;
  device.pbyCpiColorIdx = {16, 100, 255, 3};
  machine.profile.windows = {50, 21, 0};
  EXPECT_EQ(machine.Apply(), Result::Ok);

  ProfileData expected;
  FillDefaults(expected);
  expected.device.pwDpi = {200, 200, 4200, 4200};
  expected.device.byReportRateIndex = 3;
  expected.device.byLightMode = 5;
  expected.device.byLightBrightness = 4;
  expected.device.byLightSpeed = 4;
  expected.device.pbyCpiColorIdx = {15, 15, 15, 3};
  expected.windows = {200, 20, 1};
  EXPECT_EQ(machine.profile, expected);
}

TEST(ApplyAllTest, WithoutAMouseTheDesktopStillGetsItsSettings) {
  Machine machine({.mouse = {.plugged = false}});
  EXPECT_EQ(machine.session.Connect(), Result::NotConnected);
  machine.profile.windows = {700, 15, 8};
  machine.profile.device.pwDpi[0] = 9000;
  EXPECT_EQ(machine.Apply(), Result::NotConnected);
  EXPECT_EQ(machine.State().desktop.pointer, (SimPointerSettings{700, 15, 8}));
  EXPECT_EQ(machine.profile.device.pwDpi[0], 9000);  // the mouse's part is left alone
  EXPECT_EQ(machine.State().hidFilter.transfers, 0u);
}

TEST(ApplyAllTest, AFailedTransferIsTheAnswerAndTheDesktopStillGetsItsSettings) {
  Machine machine;
  ASSERT_EQ(machine.session.Connect(), Result::Ok);
  machine.profile.windows = {400, 4, 6};
  machine.sim->SetFaults({.passTransfers = 9, .failTransfers = 1, .failWith = Result::IoDevice});
  EXPECT_EQ(machine.Apply(), Result::IoDevice);
  EXPECT_EQ(machine.State().desktop.pointer, (SimPointerSettings{400, 4, 6}));
  EXPECT_TRUE(machine.link.IsOpen());
  EXPECT_EQ(machine.Apply(), Result::Ok);
}

// What the desktop was given is what a capture reads back from it.
TEST(ApplyAllTest, TheDesktopSettingsRoundTrip) {
  Machine machine;
  ASSERT_EQ(machine.session.Connect(), Result::Ok);
  machine.profile.windows = {650, 13, 0xFFFFFFFF};
  ASSERT_EQ(machine.Apply(), Result::Ok);
  WindowsSettings captured;
  CaptureWindowsSettings(*machine.platform.mouseSettings, captured);
  EXPECT_EQ(captured, machine.profile.windows);
}

}  // namespace
}  // namespace vexlo
