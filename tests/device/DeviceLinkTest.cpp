#include "device/DeviceLink.h"

#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/DriverInterface.h"
#include "device/TranslationTable.h"

namespace vexlo {
namespace {

using test::ButtonEvent;
using test::Inbox;
using test::SimMachine;

constexpr const char* kCompositeDriverKey = R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)";
constexpr const char* kPlainDriverKey = R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0010)";
constexpr std::uint64_t kTransfersAtOpen = 6 + 32 + 1;  // wake, 32 reads, register 0x0F

class DeviceLinkTest : public ::testing::Test {
 protected:
  explicit DeviceLinkTest(SimState state = {}) : machine_(std::move(state)) {}

  SimEnvironment& Sim() { return *machine_.sim; }
  std::uint64_t Transfers() { return Sim().State().hidFilter.transfers; }

  SimMachine machine_;
  Inbox<ButtonEvent> events_;  // outlives the link, whose reader reports to it until it closes
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
};

TEST_F(DeviceLinkTest, OpenFindsTheMouseReadsItsRegistersAndStartsItsWorkers) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_TRUE(link_.IsOpen());
  EXPECT_EQ(link_.ModelVariant(), 2);

  // The factory registers, with bit 5 of register 0x0F set by the host.
  SimRegisters expected = PowerOnRegisters(2);
  expected[0x0F] |= 0x20;
  EXPECT_EQ(link_.RegisterCache(), expected);
  EXPECT_EQ(Sim().State().mouse.registers, expected);
  EXPECT_EQ(link_.ButtonRegisters()[3], 0x0A);
  EXPECT_EQ(link_.ButtonRegisters()[6], 0x10);

  const HidCollection& collection = link_.Collection();
  EXPECT_EQ(
      collection.Path(),
      R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#7&1f2e3d4c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})");
  EXPECT_EQ(collection.InterfaceNumber(), 1u);
  EXPECT_EQ(collection.CollectionNumber(), 2u);
  EXPECT_TRUE(collection.NodeResolved());
  EXPECT_EQ(collection.DriverKey(), kCompositeDriverKey);
  EXPECT_EQ(collection.CollectionInstanceId(),
            R"(HID\VID_093A&PID_2533&MI_01&COL02\7&1F2E3D4C&0&0001)");
  EXPECT_EQ(collection.UsbDeviceInstanceId(), R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)");
  EXPECT_TRUE(collection.ReaderRunning());

  const SimState state = Sim().State();
  EXPECT_EQ(state.mouse.sessionKey, 0x5A);
  EXPECT_EQ(state.mouse.page, 1);
  EXPECT_TRUE(state.mouse.awake);
  EXPECT_EQ(state.hidFilter.translationTable.size(), kTranslationTableSize);
  EXPECT_EQ(state.hidFilter.translationTable[37], 0xCD);
  EXPECT_EQ(state.hidFilter.transfers, kTransfersAtOpen);
  EXPECT_EQ(state.open.hidFilter, 1);
  EXPECT_EQ(state.open.mouseFilter, 1);
  EXPECT_EQ(state.open.hidCollections, 1);
}

TEST_F(DeviceLinkTest, CloseEndsTheSessionAndReleasesEverything) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(link_.Close(), Result::Ok);
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(link_.ModelVariant(), 0);
  EXPECT_FALSE(link_.Collection().ReaderRunning());
  const SimState state = Sim().State();
  EXPECT_EQ(state.mouse.sessionKey, 0x00);
  EXPECT_EQ(state.mouse.page, 0);
  EXPECT_FALSE(state.mouse.awake);
  EXPECT_EQ(state.open.hidFilter + state.open.mouseFilter + state.open.hidCollections, 0);
  EXPECT_EQ(link_.Close(), Result::Ok);  // closing a closed link does nothing
}

TEST_F(DeviceLinkTest, DestroyingAnOpenLinkClosesIt) {
  {
    DeviceLink other(*machine_.platform.devices, *machine_.platform.hid);
    ASSERT_EQ(other.Open(), Result::Ok);
  }
  const SimState state = Sim().State();
  EXPECT_EQ(state.mouse.sessionKey, 0x00);
  EXPECT_EQ(state.open.hidFilter + state.open.mouseFilter + state.open.hidCollections, 0);
}

TEST_F(DeviceLinkTest, OpenOnAnOpenLinkWhoseMouseAnswersDoesNoTransfer) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  const std::uint64_t before = Transfers();
  EXPECT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(Transfers(), before);
}

// Bit 5 of register 0x0F is set once: a mouse that has it (from an earlier open) is not written.
TEST_F(DeviceLinkTest, Register0FIsWrittenOnlyWhenItsBit5IsClear) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  ASSERT_EQ(Sim().State().mouse.registers[0x0F], 0x23);
  (void)link_.Close();
  const std::uint64_t before = Transfers();
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(Transfers(), before + kTransfersAtOpen - 1);
  EXPECT_EQ(link_.RegisterCache()[0x0F], 0x23);
}

TEST_F(DeviceLinkTest, OpenOnALinkWhoseMouseWentAwayConnectsAgain) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  EXPECT_FALSE(link_.IsMousePresent());
  EXPECT_EQ(link_.Open(), Result::NotFound);  // closed, and no mouse to find
  EXPECT_FALSE(link_.IsOpen());
  ASSERT_EQ(Sim().Plug(), Result::Ok);
  EXPECT_EQ(link_.Open(), Result::Ok);
  EXPECT_TRUE(link_.IsMousePresent());
  EXPECT_EQ(Sim().State().mouse.sessionKey, 0x5A);
  EXPECT_EQ(Sim().State().open.hidCollections, 1);
}

TEST_F(DeviceLinkTest, ATransferFailingMidwayLeavesTheLinkOpen) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  Sim().SetFaults({.failTransfers = 2, .failWith = Result::IoDevice});
  std::uint8_t value = 0xEE;
  EXPECT_EQ(link_.ReadRegister(0x02, value), Result::IoDevice);
  EXPECT_EQ(value, 0xEE);
  EXPECT_EQ(link_.WriteRegister(0x02, 0x05), Result::IoDevice);
  EXPECT_TRUE(link_.IsOpen());
  EXPECT_EQ(link_.ReadRegister(0x02, value), Result::Ok);
  EXPECT_EQ(value, 0x03);
  EXPECT_EQ(link_.WriteRegister(0x02, 0x05), Result::Ok);
  EXPECT_EQ(Sim().State().mouse.registers[0x02], 0x05);
}

TEST_F(DeviceLinkTest, AShortAnswerIsBadData) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  Sim().SetFaults({.shortAnswers = 1});
  std::uint8_t value = 0xEE;
  EXPECT_EQ(link_.ReadRegister(0x03, value), Result::BadData);
  EXPECT_EQ(value, 0xEE);
  EXPECT_EQ(link_.ReadRegister(0x03, value), Result::Ok);
  EXPECT_EQ(value, 0x84);
}

TEST_F(DeviceLinkTest, MouseUnpluggedDuringATransfer) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  Sim().SetFaults({.unplugDuringTransfer = true});
  EXPECT_EQ(link_.WriteRegister(0x04, 0x01), Result::DeviceNotConnected);
  EXPECT_TRUE(link_.IsOpen());  // only the probe closes the link
  EXPECT_FALSE(link_.IsMousePresent());
  std::uint8_t value = 0;
  EXPECT_EQ(link_.ReadRegister(0x04, value), Result::DeviceNotConnected);
  EXPECT_EQ(link_.Open(), Result::NotFound);
  EXPECT_FALSE(link_.IsOpen());
}

TEST_F(DeviceLinkTest, RegistersOfAClosedLinkAreNotReached) {
  std::uint8_t value = 0;
  EXPECT_EQ(link_.ReadRegister(0x00, value), Result::NotFound);
  EXPECT_EQ(link_.WriteRegister(0x00, 1), Result::NotFound);
  EXPECT_EQ(link_.Transfer(kWakePacket, {}), Result::NotFound);
  EXPECT_EQ(link_.MouseFilterControl(kIoctlReportRate, std::vector<std::uint8_t>(16)),
            Result::NotFound);
  EXPECT_FALSE(link_.IsMousePresent());
  EXPECT_EQ(Transfers(), 0u);
}

TEST_F(DeviceLinkTest, ARegisterThatCannotBeReadKeepsItsCacheValue) {
  // Register 0x05 is the sixth read after the six transfers of the wake sequence.
  Sim().SetFaults({.passTransfers = 6 + 5, .failTransfers = 1});
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(link_.RegisterCache()[0x05], 0x00);  // nothing read before
  EXPECT_EQ(link_.RegisterCache()[0x04], 0x47);
  EXPECT_EQ(link_.RegisterCache()[0x06], 0x00);
  (void)link_.Close();

  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(link_.RegisterCache()[0x05], 0x2F);
  ASSERT_EQ(link_.WriteRegister(0x05, 0x11), Result::Ok);
  (void)link_.Close();
  Sim().SetFaults({.passTransfers = 6 + 5, .failTransfers = 1});
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(link_.RegisterCache()[0x05], 0x2F);  // the value of the last open
  EXPECT_EQ(Sim().State().mouse.registers[0x05], 0x11);
}

TEST_F(DeviceLinkTest, AMouseThatDoesNotWakeStillOpensWithItsFactoryButtons) {
  Sim().SetFaults({.failTransfers = 1});  // the wake packet
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_EQ(link_.ModelVariant(), 0);
  // The session stayed closed, so every read failed; the button registers are set up anyway.
  EXPECT_EQ(link_.RegisterCache()[0x02], 0x00);
  EXPECT_EQ(link_.RegisterCache()[0x0A], 0x01);
  EXPECT_EQ(link_.ButtonRegisters()[3], 0x0A);
}

TEST_F(DeviceLinkTest, HostReportedButtonsArriveAsEventCodes) {
  link_.SetEventCallback(test::RecordInto(events_));
  ASSERT_EQ(link_.Open(), Result::Ok);
  // Button 3 reports to the host; bits 7..5 of its register stay as they were.
  const std::uint8_t reg = link_.ButtonRegisters()[3];
  ASSERT_EQ(link_.WriteRegister(reg, (link_.RegisterCache()[reg] & 0xE0) | 0x0C), Result::Ok);

  ASSERT_EQ(Sim().Press(3), Result::Ok);
  EXPECT_EQ(events_.WaitFor(1), (std::vector<ButtonEvent>{{1, 0x14}}));
  ASSERT_EQ(Sim().Press(5), Result::Ok);  // sensitivity up: the mouse acts on its own
  ASSERT_EQ(Sim().Release(3), Result::Ok);
  EXPECT_EQ(events_.WaitFor(2), (std::vector<ButtonEvent>{{1, 0x14}, {1, 0x00}}));
  EXPECT_EQ(Sim().State().mouse.level, 1);
}

TEST_F(DeviceLinkTest, InterceptedButtonsArriveThroughTheDriversEvents) {
  link_.SetEventCallback(test::RecordInto(events_));
  ASSERT_EQ(link_.Open(), Result::Ok);
  ASSERT_EQ(link_.MouseFilterControl(kIoctlButtonInterception,
                                     test::InterceptionTable(link_, {0, 1, 4, 5})),
            Result::Ok);

  ASSERT_EQ(Sim().Press(0), Result::Ok);
  EXPECT_EQ(events_.WaitFor(1).back(), (ButtonEvent{1, 0x11}));
  ASSERT_EQ(Sim().Click(1), Result::Ok);  // not intercepted
  ASSERT_EQ(Sim().Release(0), Result::Ok);
  EXPECT_EQ(events_.WaitFor(2).back(), (ButtonEvent{1, 0x00}));
  ASSERT_EQ(Sim().Press(2), Result::Ok);
  EXPECT_EQ(events_.WaitFor(3).back(), (ButtonEvent{1, 0x13}));
  EXPECT_EQ(events_.Items().size(), 3u);
}

TEST_F(DeviceLinkTest, RemovalEndsTheReaderWithAReleaseOfEverything) {
  link_.SetEventCallback(test::RecordInto(events_));
  ASSERT_EQ(link_.Open(), Result::Ok);
  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  EXPECT_EQ(events_.WaitFor(1), (std::vector<ButtonEvent>{{0, 0x00}}));
  (void)link_.Close();
  EXPECT_FALSE(link_.Collection().ReaderRunning());
  EXPECT_EQ(events_.Items().size(), 1u);
}

TEST_F(DeviceLinkTest, ClosingStopsTheReaderAndReleasesItsThread) {
  link_.SetEventCallback(test::RecordInto(events_));
  ASSERT_EQ(link_.Open(), Result::Ok);
  ASSERT_TRUE(link_.Collection().ReaderRunning());
  (void)link_.Close();
  EXPECT_FALSE(link_.Collection().ReaderRunning());
  EXPECT_EQ(events_.Items(), (std::vector<ButtonEvent>{{0, 0x00}}));
  // Reopening starts a new reader that works.
  ASSERT_EQ(link_.Open(), Result::Ok);
  EXPECT_TRUE(link_.Collection().ReaderRunning());
}

class PlainMouseLinkTest : public DeviceLinkTest {
 protected:
  PlainMouseLinkTest() : DeviceLinkTest(SimState{.mouse = {.composite = false}}) {}
};

TEST_F(PlainMouseLinkTest, TheUsbDeviceIsTheCollectionsParent) {
  ASSERT_EQ(link_.Open(), Result::Ok);
  const HidCollection& collection = link_.Collection();
  EXPECT_EQ(collection.DriverKey(), kPlainDriverKey);
  EXPECT_EQ(collection.UsbDeviceInstanceId(), R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)");
  EXPECT_EQ(collection.UsbDeviceNode(), 0x10u);
  EXPECT_EQ(collection.InterfaceNumber(), 0u);
  EXPECT_EQ(collection.CollectionNumber(), 3u);
  EXPECT_EQ(Transfers(), kTransfersAtOpen);
}

struct OpenFailureCase {
  const char* name;
  SimState state;
  Result expected;
};

TEST(DeviceLinkOpenTest, EveryFailureLeavesNothingOpen) {
  const OpenFailureCase cases[] = {
      {"no drivers",
       {.drivers = {.hidFilter = false, .mouseFilter = false}},
       Result::DriverUnavailable},
      {"HID filter only",
       {.drivers = {.hidFilter = true, .mouseFilter = false}},
       Result::DriverUnavailable},
      {"mouse filter only",
       {.drivers = {.hidFilter = false, .mouseFilter = true}},
       Result::DriverUnavailable},
      {"no mouse", {.mouse = {.plugged = false}}, Result::NotFound},
  };
  for (const OpenFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimMachine machine(c.state);
    DeviceLink link(*machine.platform.devices, *machine.platform.hid);
    EXPECT_EQ(link.Open(), c.expected);
    EXPECT_FALSE(link.IsOpen());
    const SimState state = machine.sim->State();
    EXPECT_EQ(state.open.hidFilter + state.open.mouseFilter + state.open.hidCollections, 0);
    EXPECT_EQ(state.hidFilter.transfers, 0u);
  }
}

// An enumerator that cannot list the interfaces.
class BrokenEnumerator final : public HidEnumerator {
 public:
  Result ListInterfacePaths(std::vector<std::string>& paths) override {
    paths = {"leftover"};
    return Result::AccessDenied;
  }
  Result InterfaceNode(std::string_view, DeviceNode&) override { return Result::NotFound; }
  Result ParentNode(DeviceNode, DeviceNode&) override { return Result::NotFound; }
  Result NodeInstanceId(DeviceNode, std::string&) override { return Result::NotFound; }
  Result NodeDriverKey(DeviceNode, std::string&) override { return Result::NotFound; }
};

TEST(DeviceLinkOpenTest, EnumerationFailureIs12) {
  SimMachine machine;
  BrokenEnumerator enumerator;
  DeviceLink link(*machine.platform.devices, enumerator);
  EXPECT_EQ(link.Open(), Result::HidEnumerationFailed);
  EXPECT_EQ(machine.sim->State().open.hidFilter, 0);
  std::vector<std::string> paths;
  EXPECT_EQ(EnumerateHidPaths(enumerator, paths), Result::HidEnumerationFailed);
  EXPECT_TRUE(paths.empty());
}

}  // namespace
}  // namespace vexlo
