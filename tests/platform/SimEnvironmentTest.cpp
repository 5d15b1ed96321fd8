#include "platform/sim/SimEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>

#include "SimTestSupport.h"

namespace vexlo {
namespace {

using test::kButtonCollection;
using test::MouseRequest;
using test::RecordingListener;

TEST(SimEnvironmentTest, AFactoryNewMouseOfEachModel) {
  const SimRegisters model1 = {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
                               0x00, 0x01, 0x20, 0x0A, 0x05, 0x04, 0x09, 0x03,  //
                               0x0B, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x4A,  //
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  const SimRegisters model2 = {0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
                               0x00, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x03,  //
                               0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(PowerOnRegisters(1), model1);
  EXPECT_EQ(PowerOnRegisters(2), model2);
  EXPECT_EQ(SimMouse::FactoryNew(1).registers, model1);
  EXPECT_EQ(SimMouse{}.registers, model2);
  EXPECT_EQ(SimEnvironment().State().mouse.registers, model2);
}

class SimTransferTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(sim_.OpenDriver("HIDFILTR_qn5k8w", driver_, id_), Result::Ok); }

  // One transfer; `value` gets a read's byte.
  Result Transfer(const SetupPacket& packet, std::uint8_t* value = nullptr,
                  const char* key = test::kMouseDriverKey) {
    std::uint8_t answer = 0xEE;
    std::size_t returned = 0;
    const Result r = sim_.IoControl(id_, 0x222010, MouseRequest(packet, key),
                                    std::span(&answer, IsDeviceToHost(packet) ? 1 : 0), returned);
    if (value) *value = returned == 1 ? answer : 0xEE;
    return r;
  }

  SimEnvironment sim_;
  RecordingListener driver_;
  SimEndpointId id_ = 0;
};

TEST_F(SimTransferTest, TheSessionGuardsTheConfigurationRegisters) {
  struct Step {
    const char* name;
    SetupPacket packet;
    Result result;
    std::uint8_t value;  // for reads
  };
  const Step steps[] = {
      {"read before the session", ReadRegisterPacket(0x02), Result::GeneralFailure, 0xEE},
      {"write before the session", WriteRegisterPacket(0x02, 0x01), Result::GeneralFailure, 0},
      {"wake", kWakePacket, Result::Ok, 0},
      {"session page", WriteRegisterPacket(0x7F, 0x00), Result::Ok, 0},
      {"read the page", ReadRegisterPacket(0x7F), Result::Ok, 0x00},
      {"session register", ReadRegisterPacket(0x09), Result::Ok, 0x00},
      {"open the session", WriteRegisterPacket(0x09, 0x5A), Result::Ok, 0},
      {"chip id high", ReadRegisterPacket(0x10), Result::Ok, 0x25},
      {"chip id low", ReadRegisterPacket(0x11), Result::Ok, 0x33},
      {"no other session register", WriteRegisterPacket(0x12, 0x01), Result::GeneralFailure, 0},
      {"no page 2", WriteRegisterPacket(0x7F, 0x02), Result::GeneralFailure, 0},
      {"configuration page", WriteRegisterPacket(0x7F, 0x01), Result::Ok, 0},
      {"read", ReadRegisterPacket(0x02), Result::Ok, 0x03},
      {"write", WriteRegisterPacket(0x02, 0x55), Result::Ok, 0},
      {"read back", ReadRegisterPacket(0x02), Result::Ok, 0x55},
      {"beyond 0x1F", ReadRegisterPacket(0x20), Result::GeneralFailure, 0xEE},
      {"unknown request",
       {0x40, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
       Result::GeneralFailure,
       0},
      {"two bytes into one",
       {0xC0, 0x01, 0x00, 0x01, 0x02, 0x00, 0x02, 0x00},
       Result::InsufficientBuffer,
       0xEE},
      {"vendor read of another kind",
       {0xC0, 0x02, 0x00, 0x01, 0x02, 0x00, 0x01, 0x00},
       Result::GeneralFailure,
       0xEE},
      {"release", kReleasePacket, Result::Ok, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    std::uint8_t value = 0;
    EXPECT_EQ(Transfer(step.packet, &value), step.result);
    if (IsDeviceToHost(step.packet)) {
      EXPECT_EQ(value, step.value);
    }
  }
  const SimState state = sim_.State();
  EXPECT_EQ(state.mouse.registers[0x02], 0x55);
  EXPECT_FALSE(state.mouse.awake);
  EXPECT_EQ(state.hidFilter.transfers, std::size(steps));
}

TEST_F(SimTransferTest, RequestsThatCannotBeAnswered) {
  std::size_t returned = 0;
  std::vector<std::uint8_t> shortRequest = MouseRequest(kWakePacket);
  shortRequest.pop_back();
  EXPECT_EQ(sim_.IoControl(id_, 0x222010, shortRequest, {}, returned), Result::InvalidParameter);
  EXPECT_EQ(Transfer(kWakePacket, nullptr, R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0015)"),
            Result::NoSuchDevice);
  EXPECT_EQ(Transfer(kWakePacket, nullptr, R"({745A17A0-74D3-11D0-B6FE-00A0C90F57DA}\0012)"),
            Result::Ok);  // keys compare without regard to case
  EXPECT_EQ(sim_.IoControl(id_, 0x222010, MouseRequest(ReadRegisterPacket(0)), {}, returned),
            Result::InsufficientBuffer);
  EXPECT_EQ(sim_.IoControl(id_, 0x222014, {}, {}, returned), Result::InvalidFunction);
  EXPECT_EQ(sim_.IoControl(99, 0x222010, MouseRequest(kWakePacket), {}, returned),
            Result::InvalidHandle);
  ASSERT_EQ(sim_.Unplug(), Result::Ok);
  EXPECT_EQ(Transfer(kWakePacket), Result::DeviceNotConnected);
}

TEST_F(SimTransferTest, FaultsWaitTheirTurnThenStrike) {
  sim_.SetFaults({.passTransfers = 1, .failTransfers = 2, .failWith = Result::IoDevice});
  EXPECT_EQ(Transfer(kWakePacket), Result::Ok);
  EXPECT_EQ(Transfer(kWakePacket), Result::IoDevice);
  EXPECT_EQ(sim_.State().faults, (SimFaults{.failTransfers = 1, .failWith = Result::IoDevice}));
  EXPECT_EQ(Transfer(kWakePacket), Result::IoDevice);
  EXPECT_EQ(Transfer(kWakePacket), Result::Ok);

  ASSERT_EQ(Transfer(WriteRegisterPacket(0x7F, 0)), Result::Ok);
  ASSERT_EQ(Transfer(WriteRegisterPacket(0x09, 0x5A)), Result::Ok);
  ASSERT_EQ(Transfer(WriteRegisterPacket(0x7F, 1)), Result::Ok);
  sim_.SetFaults({.shortAnswers = 1});
  std::uint8_t value = 0;
  EXPECT_EQ(Transfer(WriteRegisterPacket(0x03, 0x07)), Result::Ok);  // writes answer nothing anyway
  EXPECT_EQ(Transfer(ReadRegisterPacket(0x03), &value), Result::Ok);
  EXPECT_EQ(value, 0xEE);  // no byte came
  EXPECT_EQ(Transfer(ReadRegisterPacket(0x03), &value), Result::Ok);
  EXPECT_EQ(value, 0x07);

  RecordingListener collection;
  SimEndpointId collectionId = 0;
  SimHidInfo info;
  ASSERT_EQ(sim_.OpenHid(kButtonCollection, {}, collection, collectionId, info), Result::Ok);
  sim_.SetFaults({.unplugDuringTransfer = true, .failTransfers = 1});
  EXPECT_EQ(Transfer(ReadRegisterPacket(0x03), &value), Result::DeviceNotConnected);
  EXPECT_FALSE(sim_.State().mouse.plugged);
  EXPECT_EQ(collection.gone.Items().size(), 1u);
  EXPECT_EQ(sim_.State().faults.failTransfers, 1u);  // the unplugging came first
}

TEST(SimEnvironmentTest, InterceptedButtonsSignalTheirEvents) {
  SimEnvironment sim;
  RecordingListener filter;
  SimEndpointId id = 0;
  ASSERT_EQ(sim.OpenDriver("moufiltr_QN5K8W", filter, id), Result::Ok);
  // Left down and left up enabled with events 0x1111 and 0x1_0000_2222; the rest off.
  std::vector<std::uint8_t> table(144, 0x00);
  table[0] = 0x01;
  table[1] = 0x02;
  table[4] = 0x01;
  table[16] = 0x11;
  table[17] = 0x11;
  table[24] = 0x01;
  table[25] = 0x02;
  table[28] = 0x02;
  table[40] = 0x22;
  table[41] = 0x22;
  table[44] = 0x01;
  table[48 + 4] = 0x04;
  std::size_t returned = 0;
  EXPECT_EQ(sim.IoControl(id, 0x222114, std::span(table).first(143), {}, returned),
            Result::InvalidParameter);
  ASSERT_EQ(sim.IoControl(id, 0x222114, table, {}, returned), Result::Ok);

  const SimState state = sim.State();
  const auto& records = *state.mouseFilter.interception;
  EXPECT_EQ(records[0], (SimInterceptRecord{true, 2, 0x0001, 0x1111}));
  EXPECT_EQ(records[1], (SimInterceptRecord{true, 2, 0x0002, 0x1'0000'2222}));
  EXPECT_EQ(records[2], (SimInterceptRecord{false, 0, 0x0004, 0}));

  ASSERT_EQ(sim.Press(0), Result::Ok);
  ASSERT_EQ(sim.Press(0), Result::Ok);  // no transition
  ASSERT_EQ(sim.Click(1), Result::Ok);  // not intercepted
  ASSERT_EQ(sim.Release(0), Result::Ok);
  EXPECT_EQ(filter.signals.Items(), (std::vector<std::int64_t>{0x1111, 0x1'0000'2222}));

  sim.CloseEndpoint(id);  // the driver forgets the events of a closed handle
  EXPECT_FALSE(sim.State().mouseFilter.interception.has_value());
}

TEST(SimEnvironmentTest, TheReportRateRecordIsKept) {
  SimEnvironment sim;
  RecordingListener filter;
  SimEndpointId id = 0;
  ASSERT_EQ(sim.OpenDriver("moufiltr_QN5K8W", filter, id), Result::Ok);
  std::vector<std::uint8_t> record(16, 0x00);
  const double half = 0.5;
  std::memcpy(record.data(), &half, sizeof half);
  std::size_t returned = 0;
  ASSERT_EQ(sim.IoControl(id, 0x222294, record, {}, returned), Result::Ok);
  EXPECT_EQ(sim.State().mouseFilter.reportRateFactor, 0.5);
  EXPECT_EQ(sim.IoControl(id, 0x222294, std::span(record).first(15), {}, returned),
            Result::InvalidParameter);
  EXPECT_EQ(sim.IoControl(id, 0x222294, std::vector<std::uint8_t>(16, 0x00), {}, returned),
            Result::InvalidParameter);  // a factor of 0
  ASSERT_EQ(sim.Unplug(), Result::Ok);
  EXPECT_FALSE(sim.State().mouseFilter.reportRateFactor.has_value());
  EXPECT_EQ(sim.IoControl(id, 0x222294, record, {}, returned), Result::DeviceNotConnected);
}

TEST(SimEnvironmentTest, ButtonsThreeToSixReportToTheHostOrActOnTheirOwn) {
  SimState state;
  state.mouse.registers[0x0A] = 0x2C;  // button 3 reports to the host, light bits kept
  state.mouse.registers[0x09] = 0x13;  // button 4 reports with button 6's code
  SimEnvironment sim(state);
  RecordingListener buttons;
  RecordingListener vendor;
  SimEndpointId id = 0;
  SimHidInfo info;
  ASSERT_EQ(sim.OpenHid(kButtonCollection, {}, buttons, id, info), Result::Ok);
  ASSERT_EQ(sim.OpenHid(test::kVendorCollection, {}, vendor, id, info), Result::Ok);

  ASSERT_EQ(sim.Press(3), Result::Ok);
  ASSERT_EQ(sim.Press(4), Result::Ok);
  ASSERT_EQ(sim.Release(3), Result::Ok);
  ASSERT_EQ(sim.Release(4), Result::Ok);
  using Report = std::vector<std::uint8_t>;
  EXPECT_EQ(buttons.reports.Items(),
            (std::vector<Report>{
                {0x03, 0x14, 0x00}, {0x03, 0x17, 0x00}, {0x03, 0x00, 0x00}, {0x03, 0x00, 0x00}}));
  EXPECT_TRUE(vendor.reports.Items().empty());

  // Buttons 5 and 6 keep their factory functions: sensitivity up and down, limited to 0..3.
  for (int i = 0; i < 5; ++i) ASSERT_EQ(sim.Click(5), Result::Ok);
  EXPECT_EQ(sim.State().mouse.level, 3);
  ASSERT_EQ(sim.Click(6), Result::Ok);
  EXPECT_EQ(sim.State().mouse.level, 2);
  EXPECT_EQ(buttons.reports.Items().size(), 4u);
}

TEST(SimEnvironmentTest, TheCycleFunctionGoesRound) {
  SimState state;
  state.mouse.registers[0x0B] = 0x08;  // button 5 cycles the level
  SimEnvironment sim(state);
  const int expected[] = {1, 2, 3, 0};
  for (const int level : expected) {
    ASSERT_EQ(sim.Click(5), Result::Ok);
    EXPECT_EQ(sim.State().mouse.level, level);
  }
}

TEST(SimEnvironmentTest, ButtonsNeedAPluggedMouseAndExist) {
  SimEnvironment sim({.mouse = {.plugged = false}});
  EXPECT_EQ(sim.Press(0), Result::DeviceNotConnected);
  ASSERT_EQ(sim.Plug(), Result::Ok);
  EXPECT_EQ(sim.Press(7), Result::InvalidParameter);
  EXPECT_EQ(sim.Press(-1), Result::InvalidParameter);
  ASSERT_EQ(sim.Press(6), Result::Ok);
  ASSERT_EQ(sim.Press(2), Result::Ok);
  EXPECT_EQ(sim.State().mouse.pressed, 0x44);
  ASSERT_EQ(sim.Unplug(), Result::Ok);
  EXPECT_EQ(sim.State().mouse.pressed, 0x00);
}

TEST(SimEnvironmentTest, UnpluggingLeavesOpenCollectionsUseless) {
  SimEnvironment sim;
  RecordingListener buttons;
  SimEndpointId id = 0;
  SimHidInfo info;
  ASSERT_EQ(sim.OpenHid(kButtonCollection, {}, buttons, id, info), Result::Ok);
  EXPECT_EQ(sim.SetFeature(id, {}), Result::InvalidParameter);  // there: the probe is refused
  ASSERT_EQ(sim.Unplug(), Result::Ok);
  ASSERT_EQ(sim.Unplug(), Result::Ok);
  EXPECT_EQ(buttons.gone.Items().size(), 1u);
  EXPECT_EQ(sim.SetFeature(id, {}), Result::DeviceNotConnected);
  ASSERT_EQ(sim.Plug(), Result::Ok);
  EXPECT_EQ(sim.SetFeature(id, {}), Result::DeviceNotConnected);  // a new device now
  RecordingListener again;
  SimEndpointId newId = 0;
  ASSERT_EQ(sim.OpenHid(kButtonCollection, {}, again, newId, info), Result::Ok);
  EXPECT_EQ(sim.SetFeature(newId, {}), Result::InvalidParameter);
  EXPECT_EQ(sim.State().open.hidCollections, 2);
  sim.CloseEndpoint(id);
  sim.CloseEndpoint(newId);
  EXPECT_EQ(sim.State().open.hidCollections, 0);
}

TEST(SimEnvironmentTest, TheMachinesDevicesComeAndGoWithTheMouse) {
  SimEnvironment sim;
  std::vector<std::string> paths;
  ASSERT_EQ(sim.ListHidPaths(paths), Result::Ok);
  EXPECT_EQ(paths.size(), 7u);
  EXPECT_NE(std::find(paths.begin(), paths.end(), kButtonCollection), paths.end());
  ASSERT_EQ(sim.Unplug(), Result::Ok);
  ASSERT_EQ(sim.ListHidPaths(paths), Result::Ok);
  EXPECT_EQ(paths.size(), 3u);
  EXPECT_EQ(std::find(paths.begin(), paths.end(), kButtonCollection), paths.end());

  SimEnvironment bare({.injection = {.present = false}});
  ASSERT_EQ(bare.ListHidPaths(paths), Result::Ok);
  EXPECT_EQ(std::find(paths.begin(), paths.end(), test::kInjectionDevice), paths.end());
}

struct TreeCase {
  const char* name;
  bool composite;
  const char* path;
  const char* collectionId;
  const char* parentId;
  const char* parentKey;
  const char* grandparentId;  // empty when the parent is the USB device, a root
};

TEST(SimEnvironmentTest, TheDeviceTreeAboveTheButtonCollection) {
  const TreeCase cases[] = {
      {"composite", true, kButtonCollection,
       R"(HID\VID_093A&PID_2533&MI_01&COL02\7&1F2E3D4C&0&0001)",
       R"(USB\VID_093A&PID_2533&MI_01\6&1E4A9B2C&0&0001)",
       R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)", R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)"},
      {"plain", false,
       R"(\\?\hid#vid_093a&pid_2533&col03#6&1e4a9b2c&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030})",
       R"(HID\VID_093A&PID_2533&COL03\6&1E4A9B2C&0&0002)",
       R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)", R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0010)",
       ""},
  };
  for (const TreeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimEnvironment sim({.mouse = {.composite = c.composite}});
    DeviceNode node = 0;
    DeviceNode parent = 0;
    DeviceNode grandparent = 0;
    std::string text;
    ASSERT_EQ(sim.InterfaceNode(c.path, node), Result::Ok);
    ASSERT_EQ(sim.NodeInstanceId(node, text), Result::Ok);
    EXPECT_EQ(text, c.collectionId);
    ASSERT_EQ(sim.ParentNode(node, parent), Result::Ok);
    ASSERT_EQ(sim.NodeInstanceId(parent, text), Result::Ok);
    EXPECT_EQ(text, c.parentId);
    ASSERT_EQ(sim.NodeDriverKey(parent, text), Result::Ok);
    EXPECT_EQ(text, c.parentKey);
    if (*c.grandparentId) {
      ASSERT_EQ(sim.ParentNode(parent, grandparent), Result::Ok);
      ASSERT_EQ(sim.NodeInstanceId(grandparent, text), Result::Ok);
      EXPECT_EQ(text, c.grandparentId);
    } else {
      EXPECT_EQ(sim.ParentNode(parent, grandparent), Result::NotFound);
    }
    ASSERT_EQ(sim.Unplug(), Result::Ok);
    EXPECT_EQ(sim.InterfaceNode(c.path, node), Result::NotFound);
    EXPECT_EQ(sim.NodeInstanceId(parent, text), Result::NotFound);
  }
}

TEST(SimEnvironmentTest, WhatCanBeOpened) {
  SimEnvironment sim({.drivers = {.hidFilter = true, .mouseFilter = false}});
  RecordingListener listener;
  SimEndpointId id = 0;
  SimHidInfo info;
  EXPECT_EQ(sim.OpenDriver("moufiltr_QN5K8W", listener, id), Result::FileNotFound);
  EXPECT_EQ(sim.OpenDriver("hidfiltr", listener, id), Result::FileNotFound);
  EXPECT_EQ(sim.OpenDriver("hidfiltr_QN5K8W", listener, id), Result::Ok);
  EXPECT_EQ(
      sim.OpenHid(
          R"(\\?\hid#vid_093a&pid_2533&mi_00#7&2a3c4b1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
          {}, listener, id, info),
      Result::AccessDenied);  // the system's own mouse
  EXPECT_EQ(sim.OpenHid("nothing", {}, listener, id, info), Result::FileNotFound);
  ASSERT_EQ(sim.OpenHid(test::kInjectionDevice, {}, listener, id, info), Result::Ok);
  EXPECT_EQ(info.attributes, (HidAttributes{0x1BCF, 0x05E3, 0x0100}));
  EXPECT_EQ(info.capabilities, (HidCapabilities{0x01, 0xFF00, 0, 30, 0}));
  sim.SetDrivers({.hidFilter = false, .mouseFilter = true});
  EXPECT_EQ(sim.OpenDriver("hidfiltr_QN5K8W", listener, id), Result::FileNotFound);
  EXPECT_EQ(sim.OpenDriver("moufiltr_QN5K8W", listener, id), Result::Ok);
}

TEST(SimEnvironmentTest, TheInjectionDeviceLogsWhatItIsMadeToDo) {
  SimEnvironment sim;
  RecordingListener listener;
  SimEndpointId readOnly = 0;
  SimEndpointId writable = 0;
  SimHidInfo info;
  ASSERT_EQ(sim.OpenHid(test::kInjectionDevice, {.write = false}, listener, readOnly, info),
            Result::Ok);
  ASSERT_EQ(sim.OpenHid(test::kInjectionDevice, {.write = true}, listener, writable, info),
            Result::Ok);
  const std::vector<std::uint8_t> keyA = test::InjectionReport({0x06, 0x04, 0x04});
  EXPECT_EQ(sim.WriteReport(readOnly, keyA), Result::AccessDenied);
  EXPECT_EQ(sim.WriteReport(writable, std::span(keyA).first(29)), Result::InvalidParameter);
  ASSERT_EQ(sim.WriteReport(writable, keyA), Result::Ok);

  std::vector<std::string> heard;
  const std::uint64_t observer =
      sim.AddInjectionObserver([&heard](std::string_view line) { heard.emplace_back(line); });
  ASSERT_EQ(sim.WriteReport(writable, test::InjectionReport({0x06, 0x04})), Result::Ok);
  sim.RemoveInjectionObserver(observer);
  ASSERT_EQ(sim.WriteReport(writable, test::InjectionReport({0x06, 0x03, 0x01})), Result::Ok);

  EXPECT_EQ(heard, (std::vector<std::string>{"key down A", "key up A"}));
  const SimState state = sim.State();
  EXPECT_EQ(state.injection.log,
            (std::vector<std::string>{"key down A", "key up A", "button down Left"}));
  EXPECT_EQ(state.injection.reports, 3u);
  EXPECT_EQ(state.injection.held.buttons, 0x01);
  sim.ClearInjected();
  EXPECT_TRUE(sim.State().injection.log.empty());
}

TEST(SimEnvironmentTest, TheDesktop) {
  SimEnvironment sim({.desktop = {.foreground = "/usr/bin/gimp"}});
  SimPointerSettings pointer;
  ASSERT_EQ(sim.GetPointerSettings(pointer), Result::Ok);
  EXPECT_EQ(pointer, (SimPointerSettings{500, 10, 3}));
  EXPECT_EQ(sim.SetPointerSetting(SimPointerSetting::PointerSpeed, 21), Result::InvalidParameter);
  EXPECT_EQ(sim.SetPointerSetting(SimPointerSetting::PointerSpeed, 0), Result::InvalidParameter);
  EXPECT_EQ(sim.SetPointerSetting(SimPointerSetting::PointerSpeed, 20), Result::Ok);
  EXPECT_EQ(sim.SetPointerSetting(SimPointerSetting::DoubleClickTime, 900), Result::Ok);
  EXPECT_EQ(sim.SetPointerSetting(SimPointerSetting::WheelScrollLines, 0xFFFFFFFF), Result::Ok);
  EXPECT_EQ(sim.State().desktop.pointer, (SimPointerSettings{900, 20, 0xFFFFFFFF}));
  EXPECT_EQ(sim.ForegroundPath(), "/usr/bin/gimp");
  sim.SetForeground(std::nullopt);
  EXPECT_EQ(sim.ForegroundPath(), std::nullopt);
}

}  // namespace
}  // namespace vexlo
