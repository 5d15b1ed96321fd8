// The Linux backend against the kernel's interfaces as umockdev emulates them (this program runs
// under umockdev-wrapper), with the virtual mouse's firmware behind the emulated nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "EmulatedMouse.h"
#include "Inbox.h"
#include "LinuxProgram.h"
#include "PostedMessages.h"
#include "common/Messages.h"
#include "platform/linux/LinuxDeviceNotifications.h"
#include "platform/linux/LinuxHidEnumerator.h"
#include "platform/sim/SimCommands.h"

namespace vexlo {
namespace {

using test::EmulatedMouse;
using test::Program;

// A window that collects what is posted to it from any thread.
class InboxTarget final : public MessageTarget {
 public:
  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.Add({message, wParam, lParam});
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
  test::Inbox<test::PostedMessage> posted;
};

TEST(LinuxMouseBackendTest, ListsTheMouseCollectionsWithTheirPlatformIdentifiers) {
  EmulatedMouse mouse;
  LinuxHidEnumerator hid("/dev/uinput");

  std::vector<std::string> paths;
  ASSERT_EQ(hid.ListInterfacePaths(paths), Result::Ok);
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw0#vid_093a&pid_2533&mi_00",
                                             "/dev/hidraw1#vid_093a&pid_2533&mi_01&col01",
                                             "/dev/hidraw1#vid_093a&pid_2533&mi_01&col02",
                                             "/dev/hidraw1#vid_093a&pid_2533&mi_01&col03",
                                             "/dev/uinput#vid_1bcf&pid_05e3"}));

  DeviceNode collection = 0, usbInterface = 0, usbDevice = 0;
  ASSERT_EQ(hid.InterfaceNode(paths[2], collection), Result::Ok);
  ASSERT_EQ(hid.ParentNode(collection, usbInterface), Result::Ok);
  ASSERT_EQ(hid.ParentNode(usbInterface, usbDevice), Result::Ok);
  std::string id, key;
  ASSERT_EQ(hid.NodeInstanceId(collection, id), Result::Ok);
  EXPECT_EQ(id, "HID\\VID_093A&PID_2533&MI_01&COL02\\0003:093A:2533.0002");
  ASSERT_EQ(hid.NodeInstanceId(usbDevice, id), Result::Ok);
  EXPECT_EQ(id, "USB\\VID_093A&PID_2533\\1-4");
  ASSERT_EQ(hid.NodeDriverKey(usbInterface, key), Result::Ok);
  EXPECT_EQ(key, mouse.InterfaceSyspath(1));

  mouse.Unplug();
  EXPECT_EQ(hid.NodeInstanceId(collection, id), Result::NotFound);
  ASSERT_EQ(hid.ListInterfacePaths(paths), Result::Ok);
  // The injection device is made on the uinput node, which stays.
  EXPECT_EQ(paths, std::vector<std::string>{"/dev/uinput#vid_1bcf&pid_05e3"});
}

struct ProfileCase {
  const char* name;
  int model;
  void (*change)(ProfileData&);
};

class BackendComparison : public testing::TestWithParam<ProfileCase> {};

// Both backends leave the same 32 registers in the mouse for the same profile.
TEST_P(BackendComparison, ApplyAllLeavesTheSameRegisters) {
  const ProfileCase& c = GetParam();
  Program sim(false, SimMouse::FactoryNew(c.model));
  EmulatedMouse mouse(SimMouse::FactoryNew(c.model));
  Program linux(true);
  for (Program* program : {&sim, &linux}) {
    ASSERT_EQ(program->session.Connect(), Result::Ok);
    c.change(program->profile);
    EXPECT_EQ(program->Apply(), Result::Ok);
  }
  EXPECT_EQ(mouse.Mouse().registers, sim.sim->State().mouse.registers);
  EXPECT_EQ(linux.session.Model(), c.model);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, BackendComparison,
    testing::Values(
        ProfileCase{"defaultsModel2", 2, [](ProfileData&) {}},
        ProfileCase{"defaultsModel1", 1, [](ProfileData&) {}},
        ProfileCase{"sideButtonsReportModel2", 2,
                    [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 6, 37, 0, 39}; }},
        ProfileCase{"sideButtonsReportModel1", 1,
                    [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 6, 37, 0, 39}; }},
        ProfileCase{"sensitivityButtonsMoved", 2,
                    [](ProfileData& p) { p.device.pbyKeySet = {0, 1, 2, 43, 41, 42, 41}; }},
        ProfileCase{"highestLevels", 2,
                    [](ProfileData& p) { p.device.pwDpi = {4200, 4200, 4200, 4200}; }},
        ProfileCase{"levelsOutOfRange", 2,
                    [](ProfileData& p) { p.device.pwDpi = {150, 4300, 3600, 65535}; }},
        ProfileCase{"extremeColours", 2,
                    [](ProfileData& p) {
                      p.device.pwDpi = {200, 4200, 4200, 200};
                      p.device.pbyCpiColorIdx = {0, 15, 0, 15};
                    }}),
    [](const testing::TestParamInfo<ProfileCase>& param) { return param.param.name; });

TEST(LinuxMouseBackendTest, ButtonReportsOfTheHidrawNodeReachTheWindow) {
  EmulatedMouse mouse;
  InboxTarget window;  // outlives the program, whose reader posts to it
  Program program(true);
  program.session.SetEventTarget(&window);
  ASSERT_EQ(program.session.Connect(), Result::Ok);

  const std::uint8_t press[] = {0x03, 0x14, 0x00};
  const std::uint8_t release[] = {0x03, 0x00, 0x00};
  mouse.SendButtonReport(press);
  // The emulated node is a byte stream: one report at a time, as the kernel hands them over.
  ASSERT_EQ(window.posted.WaitFor(1).size(), 1u);
  mouse.SendButtonReport(release);

  EXPECT_EQ(window.posted.WaitFor(2),
            (std::vector<test::PostedMessage>{{UM_BUTTON_EVENT, 1, 0x14}, {UM_BUTTON_EVENT, 1, 0}}));
}

// The mouse goes in the middle of a transfer and comes back: nothing hangs, the removal and the
// arrival reach the window, and the program connects again and sends the profile once more.
TEST(LinuxMouseBackendTest, ReconnectsAndReappliesAfterTheMouseVanishedMidTransfer) {
  EmulatedMouse mouse;
  InboxTarget window;
  Program program(true);
  std::unique_ptr<ReleaseOnDestroy> registration;
  LinuxDeviceNotifications notifications;
  ASSERT_EQ(notifications.Register(window, registration), Result::Ok);
  ASSERT_EQ(program.session.Connect(), Result::Ok);

  mouse.VanishDuringNextTransfer();
  program.profile.device.pwDpi = {4200, 4200, 4200, 4200};
  EXPECT_NE(program.Apply(), Result::Ok);
  mouse.Unplug();
  EXPECT_FALSE(program.session.CheckAlive());

  const auto transfersBefore = mouse.Transfers();
  mouse.Plug();
  ASSERT_EQ(program.session.Connect(), Result::Ok);
  EXPECT_EQ(program.Apply(), Result::Ok);
  EXPECT_GT(mouse.Transfers(), transfersBefore);

  Program reference(false);
  ASSERT_EQ(reference.session.Connect(), Result::Ok);
  reference.profile.device.pwDpi = {4200, 4200, 4200, 4200};
  ASSERT_EQ(reference.Apply(), Result::Ok);
  EXPECT_EQ(mouse.Mouse().registers, reference.sim->State().mouse.registers);

  // Both hidraw nodes go and come back; the window finds out what changed on its own.
  const auto changes = window.posted.WaitFor(4);
  const auto removal = std::find_if(changes.begin(), changes.end(), [](const auto& m) {
    return m.wParam == DeviceNotifications::kRemoveComplete;
  });
  ASSERT_NE(removal, changes.end());
  EXPECT_TRUE(std::any_of(removal, changes.end(), [](const auto& m) {
    return m.message == DeviceNotifications::kDeviceChangeMessage &&
           m.wParam == DeviceNotifications::kArrival &&
           m.lParam == DeviceNotifications::kHidInterface;
  }));
}

// A user without the udev rule: the link does not open, and the message names what is missing.
TEST(LinuxMouseBackendTest, ConnectTellsWhichNodesThisUserMayNotUse) {
  class WithoutRule final : public NodeAccess {
   public:
    bool CanReadWrite(const std::string& node) const override {
      return node != EmulatedMouse::kButtonNode && node != EmulatedMouse::kUinputNode;
    }
  };
  EmulatedMouse mouse;
  Program program(true, SimMouse::FactoryNew(2), std::make_shared<WithoutRule>());

  EXPECT_EQ(program.session.Connect(), Result::NotConnected);

  ASSERT_EQ(program.messages.shown.size(), 1u);
  EXPECT_EQ(program.messages.shown[0].textKey, "STA_MSG_INFO_DEV_ACCESS");
  EXPECT_EQ(program.messages.details, std::vector<std::string>{"/dev/hidraw1, /dev/uinput"});
  EXPECT_EQ(mouse.Transfers(), 0u);
}

// What a person with a real mouse runs to see its registers (the same layout as vexlo-sim's).
TEST(LinuxMouseBackendTest, RegisterToolPrintsWhatTheMouseHolds) {
  SimMouse firmware = SimMouse::FactoryNew(1);
  firmware.registers[0x02] = 0xF3;
  EmulatedMouse mouse(firmware);

  // The tool runs in the same emulation: this process answers its nodes.
  const auto output = test::RunForOutput(VEXLO_BINARIES "/vexlo-registers", {}, {},
                                         std::chrono::seconds(20));

  ASSERT_TRUE(output.has_value());
  EXPECT_EQ(*output, DescribeRegisters(firmware.registers));
}

}  // namespace
}  // namespace vexlo
