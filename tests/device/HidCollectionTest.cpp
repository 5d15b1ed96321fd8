#include "device/HidCollection.h"

#include <gtest/gtest.h>

#include "DeviceTestSupport.h"

namespace vexlo {
namespace {

using test::Inbox;
using test::SimMachine;

constexpr const char* kButtonCollection =
    R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#7&1f2e3d4c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})";
constexpr const char* kInjectionDevice =
    R"(\\?\hid#vid_1bcf&pid_05e3#7&3a9c21e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
constexpr const char* kSystemMouse =
    R"(\\?\hid#vid_093a&pid_2533&mi_00#7&2a3c4b1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

using Report = std::pair<bool, std::vector<std::uint8_t>>;

class HidCollectionTest : public ::testing::Test {
 protected:
  SimMachine machine_;
  Inbox<Report> reports_;  // outlives the collection, whose reader reports to it
  HidCollection collection_{*machine_.platform.devices, *machine_.platform.hid};

  HidCollection::ReportCallback Record() {
    return [this](bool ok, std::span<const std::uint8_t> report) {
      reports_.Add({ok, std::vector<std::uint8_t>(report.begin(), report.end())});
    };
  }
};

TEST_F(HidCollectionTest, OpensAndKnowsWhatItIs) {
  ASSERT_EQ(collection_.OpenPath(kButtonCollection, false, true), Result::Ok);
  EXPECT_TRUE(collection_.IsOpen());
  EXPECT_EQ(collection_.Attributes(), (HidAttributes{0x093A, 0x2533, 0x0100}));
  EXPECT_EQ(collection_.Capabilities().usagePage, 0x0C);
  EXPECT_EQ(collection_.Capabilities().usage, 0x01);
  EXPECT_EQ(collection_.Capabilities().inputReportLength, 3);
  EXPECT_EQ(collection_.Options().read, true);
  EXPECT_EQ(collection_.Options().write, false);
  EXPECT_EQ(collection_.Options().exclusive, false);
  EXPECT_TRUE(collection_.IsPresent());
}

TEST_F(HidCollectionTest, FailingToOpenLeavesItClosed) {
  ASSERT_EQ(collection_.OpenPath(kButtonCollection, false, true), Result::Ok);
  EXPECT_EQ(collection_.OpenPath(kSystemMouse, false, true), Result::AccessDenied);
  EXPECT_FALSE(collection_.IsOpen());
  EXPECT_FALSE(collection_.IsPresent());
  EXPECT_EQ(collection_.Path(), kSystemMouse);
  EXPECT_EQ(collection_.OpenPath("no such path", false, true), Result::FileNotFound);
  EXPECT_EQ(machine_.sim->State().open.hidCollections, 0);
}

TEST_F(HidCollectionTest, ResolvesItsPlaceInTheDeviceTree) {
  EXPECT_EQ(collection_.ResolveDeviceNode(), Result::NotFound);  // not open
  ASSERT_EQ(collection_.OpenPath(kButtonCollection, false, true), Result::Ok);
  ASSERT_EQ(collection_.ResolveDeviceNode(), Result::Ok);
  EXPECT_TRUE(collection_.NodeResolved());
  EXPECT_EQ(collection_.CollectionNode(), 0x15u);
  EXPECT_EQ(collection_.UsbDeviceNode(), 0x10u);
  EXPECT_EQ(collection_.DriverKey(), R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)");
  collection_.Close();
  EXPECT_FALSE(collection_.NodeResolved());
}

TEST_F(HidCollectionTest, AFailedResolutionKeepsWhatItFound) {
  ASSERT_EQ(collection_.OpenPath(kButtonCollection, false, true), Result::Ok);
  ASSERT_EQ(machine_.sim->Unplug(), Result::Ok);
  EXPECT_EQ(collection_.ResolveDeviceNode(), Result::NotFound);
  EXPECT_FALSE(collection_.NodeResolved());
  EXPECT_TRUE(collection_.DriverKey().empty());
}

TEST_F(HidCollectionTest, TheReaderDeliversReportsUntilItIsStopped) {
  // Button 3 (register 0x0A of model 2) set to report to the host.
  SimState state;
  state.mouse.registers[0x0A] = 0x2C;
  SimMachine machine(state);
  HidCollection collection(*machine.platform.devices, *machine.platform.hid);
  ASSERT_EQ(collection.OpenPath(kButtonCollection, false, true), Result::Ok);
  ASSERT_EQ(collection.StartReader(Record()), Result::Ok);
  EXPECT_TRUE(collection.ReaderRunning());
  ASSERT_EQ(machine.sim->Click(3), Result::Ok);
  EXPECT_EQ(reports_.WaitFor(2),
            (std::vector<Report>{{true, {0x03, 0x14, 0x00}}, {true, {0x03, 0x00, 0x00}}}));
  collection.Close();
  EXPECT_FALSE(collection.ReaderRunning());
  EXPECT_EQ(reports_.Items().size(), 3u);
  EXPECT_EQ(reports_.Items().back(), (Report{false, {}}));
}

TEST_F(HidCollectionTest, FlushingDropsReportsThatWereNotRead) {
  // Buttons 3 and 4 (registers 0x0A and 0x09 of model 2) report to the host.
  SimState state;
  state.mouse.registers[0x0A] = 0x2C;
  state.mouse.registers[0x09] = 0x10;
  SimMachine machine(state);
  HidCollection collection(*machine.platform.devices, *machine.platform.hid);
  ASSERT_EQ(collection.OpenPath(kButtonCollection, false, true), Result::Ok);
  ASSERT_EQ(machine.sim->Click(4), Result::Ok);  // two reports wait
  ASSERT_EQ(collection.FlushQueue(), Result::Ok);
  ASSERT_EQ(collection.StartReader(Record()), Result::Ok);
  ASSERT_EQ(machine.sim->Press(3), Result::Ok);
  EXPECT_EQ(reports_.WaitFor(1), (std::vector<Report>{{true, {0x03, 0x14, 0x00}}}));
}

TEST_F(HidCollectionTest, RemovalEndsTheReaderOnItsOwn) {
  ASSERT_EQ(collection_.OpenPath(kButtonCollection, false, true), Result::Ok);
  ASSERT_EQ(collection_.StartReader(Record()), Result::Ok);
  ASSERT_EQ(machine_.sim->Unplug(), Result::Ok);
  EXPECT_EQ(reports_.WaitFor(1), (std::vector<Report>{{false, {}}}));
  EXPECT_FALSE(collection_.IsPresent());
  // A reader that ended can be started again; on a device that is gone it ends again at once.
  ASSERT_EQ(collection_.StartReader(Record()), Result::Ok);
  EXPECT_EQ(reports_.WaitFor(2).size(), 2u);
}

TEST_F(HidCollectionTest, NoReaderWithoutInputReports) {
  EXPECT_EQ(collection_.StartReader(Record()), Result::NotFound);
  ASSERT_EQ(collection_.OpenPath(kInjectionDevice, true, false), Result::Ok);
  EXPECT_EQ(collection_.StartReader(Record()), Result::NothingToActOn);
  EXPECT_FALSE(collection_.ReaderRunning());
}

TEST_F(HidCollectionTest, WritesOutputReportsWithWriteAccessOnly) {
  const std::vector<std::uint8_t> report = {0x06, 0x03, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(collection_.WriteOutputReport(report), Result::NotFound);
  ASSERT_EQ(collection_.OpenPath(kInjectionDevice, false, false), Result::Ok);
  EXPECT_EQ(collection_.WriteOutputReport(report), Result::AccessDenied);
  ASSERT_EQ(collection_.OpenPath(kInjectionDevice, true, false), Result::Ok);
  EXPECT_EQ(collection_.WriteOutputReport(report), Result::Ok);
  EXPECT_EQ(machine_.sim->State().injection.log, (std::vector<std::string>{"button down Left"}));
}

}  // namespace
}  // namespace vexlo
