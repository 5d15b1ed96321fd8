#include "platform/sim/SimPorts.h"

#include <gtest/gtest.h>

#include <thread>

#include "SimTestSupport.h"
#include "platform/sim/SimEnvironment.h"

namespace vexlo {
namespace {

class SimPortsTest : public ::testing::Test {
 protected:
  SimPortsTest() { AddSimPorts(platform_, sim_); }

  std::shared_ptr<SimEnvironment> sim_ = std::make_shared<SimEnvironment>();
  Platform platform_;
};

TEST_F(SimPortsTest, PointerSettingsAreTheDesktopsOfTheEnvironment) {
  SystemMouseSettings& settings = *platform_.mouseSettings;
  std::uint32_t value = 0;
  ASSERT_EQ(settings.GetDoubleClickTime(value), Result::Ok);
  EXPECT_EQ(value, 500u);
  ASSERT_EQ(settings.SetDoubleClickTime(640), Result::Ok);
  ASSERT_EQ(settings.SetPointerSpeed(3), Result::Ok);
  EXPECT_EQ(settings.SetPointerSpeed(25), Result::InvalidParameter);
  ASSERT_EQ(settings.SetWheelScrollLines(SystemMouseSettings::kWheelScrollsPage), Result::Ok);
  EXPECT_EQ(sim_->State().desktop.pointer, (SimPointerSettings{640, 3, 0xFFFFFFFF}));
  ASSERT_EQ(settings.GetPointerSpeed(value), Result::Ok);
  EXPECT_EQ(value, 3u);
  ASSERT_EQ(settings.GetWheelScrollLines(value), Result::Ok);
  EXPECT_EQ(value, 0xFFFFFFFFu);
}

TEST_F(SimPortsTest, TheForegroundProgram) {
  EXPECT_EQ(platform_.foreground->ForegroundImagePath(), std::nullopt);
  sim_->SetForeground("/usr/bin/" + std::string(300, 'p'));
  const std::optional<std::string> path = platform_.foreground->ForegroundImagePath();
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->size(), 259u);  // a 260-character buffer
}

TEST_F(SimPortsTest, ReadsWaitForReportsAndStopWhenAsked) {
  // Button 3 reports to the host.
  SimState state;
  state.mouse.registers[0x0A] = 0x2C;
  sim_ = std::make_shared<SimEnvironment>(state);
  AddSimPorts(platform_, sim_);
  std::unique_ptr<HidDevice> device;
  ASSERT_EQ(platform_.devices->OpenHid(test::kButtonCollection, {}, device), Result::Ok);

  std::array<std::uint8_t, 3> report{};
  std::size_t got = 0;
  ASSERT_EQ(sim_->Click(3), Result::Ok);
  ASSERT_EQ(device->ReadInputReport(report, got), Result::Ok);
  EXPECT_EQ(got, 3u);
  EXPECT_EQ(report, (std::array<std::uint8_t, 3>{0x03, 0x14, 0x00}));
  ASSERT_EQ(device->FlushQueue(), Result::Ok);  // drops the release

  Result stopped = Result::Ok;
  std::jthread reader([&] { stopped = device->ReadInputReport(report, got); });
  device->StopReads();
  reader.join();
  EXPECT_EQ(stopped, Result::OperationAborted);
  EXPECT_EQ(device->ReadInputReport(report, got), Result::OperationAborted);  // and from now on
}

TEST_F(SimPortsTest, AReadEndsWhenTheMouseIsPulledOut) {
  std::unique_ptr<HidDevice> device;
  ASSERT_EQ(platform_.devices->OpenHid(test::kButtonCollection, {}, device), Result::Ok);
  std::array<std::uint8_t, 3> report{};
  std::size_t got = 0;
  Result ended = Result::Ok;
  std::jthread reader([&] { ended = device->ReadInputReport(report, got); });
  ASSERT_EQ(sim_->Unplug(), Result::Ok);
  reader.join();
  EXPECT_EQ(ended, Result::DeviceNotConnected);
  EXPECT_EQ(device->SetFeature({}), Result::DeviceNotConnected);
  EXPECT_EQ(device->FlushQueue(), Result::DeviceNotConnected);
  device.reset();
  EXPECT_EQ(sim_->State().open.hidCollections, 0);
}

TEST_F(SimPortsTest, EventsAreAutoResetAndNamedDistinctly) {
  std::unique_ptr<DeviceEventSet> first;
  std::unique_ptr<DeviceEventSet> second;
  ASSERT_EQ(platform_.devices->CreateEventSet(3, first), Result::Ok);
  ASSERT_EQ(platform_.devices->CreateEventSet(2, second), Result::Ok);
  EXPECT_EQ(first->Count(), 3u);
  std::vector<std::int64_t> values = {first->DriverValue(0), first->DriverValue(1),
                                      first->DriverValue(2), second->DriverValue(0),
                                      second->DriverValue(1)};
  std::sort(values.begin(), values.end());
  EXPECT_EQ(std::unique(values.begin(), values.end()), values.end());
  EXPECT_NE(values.front(), 0);

  first->Signal(2);
  first->Signal(0);
  first->Signal(2);  // still one signal
  std::size_t index = 99;
  ASSERT_EQ(first->WaitAny(index), Result::Ok);
  EXPECT_EQ(index, 0u);
  ASSERT_EQ(first->WaitAny(index), Result::Ok);
  EXPECT_EQ(index, 2u);

  std::jthread signaller([&] { second->Signal(1); });
  ASSERT_EQ(second->WaitAny(index), Result::Ok);
  EXPECT_EQ(index, 1u);
}

TEST_F(SimPortsTest, TheDriverSignalsTheEventItWasGiven) {
  std::unique_ptr<DeviceEventSet> events;
  ASSERT_EQ(platform_.devices->CreateEventSet(6, events), Result::Ok);
  std::unique_ptr<DriverEndpoint> filter;
  ASSERT_EQ(platform_.devices->OpenDriver("moufiltr_QN5K8W", filter), Result::Ok);
  std::vector<std::uint8_t> table(144, 0x00);
  table[2 * 24] = 0x01;  // right down
  const auto value = static_cast<std::uint64_t>(events->DriverValue(2));
  for (std::size_t i = 0; i < 8; ++i)
    table[2 * 24 + 16 + i] = static_cast<std::uint8_t>(value >> (8 * i));
  std::size_t returned = 0;
  ASSERT_EQ(filter->IoControl(0x222114, table, {}, returned), Result::Ok);
  ASSERT_EQ(sim_->Press(1), Result::Ok);
  std::size_t index = 99;
  ASSERT_EQ(events->WaitAny(index), Result::Ok);
  EXPECT_EQ(index, 2u);
}

TEST_F(SimPortsTest, NothingOpensThatIsNotThere) {
  std::unique_ptr<DriverEndpoint> filter;
  std::unique_ptr<HidDevice> device;
  EXPECT_EQ(platform_.devices->OpenDriver("elsewhere", filter), Result::FileNotFound);
  EXPECT_EQ(filter, nullptr);
  EXPECT_EQ(platform_.devices->OpenHid("elsewhere", {}, device), Result::FileNotFound);
  EXPECT_EQ(device, nullptr);
  std::vector<std::string> paths;
  ASSERT_EQ(platform_.hid->ListInterfacePaths(paths), Result::Ok);
  EXPECT_EQ(paths.size(), 7u);
}

}  // namespace
}  // namespace vexlo
