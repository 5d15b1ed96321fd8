#include "platform/linux/XTestInjectionDevice.h"

#include <gtest/gtest.h>

#include <array>

#include "PrivateXServer.h"
#include "X11TestClient.h"
#include "engine/ScanCodeTable.h"
#include "platform/linux/HidUsageKeys.h"
#include "platform/linux/XTestInjectionPorts.h"

namespace vexlo {
namespace {

using Report = std::array<std::uint8_t, kInjectionReportBytes>;

Report KeyboardReport(std::uint8_t usage) {
  return {0x06, 0x04, usage};
}
Report ConsumerReport(std::uint16_t usage) {
  return {0x06, 0x05, static_cast<std::uint8_t>(usage), static_cast<std::uint8_t>(usage >> 8)};
}
Report ButtonReport(std::uint8_t buttons) {
  return {0x06, 0x03, buttons};
}

class XTestInjectionTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!server.started()) GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
    client = std::make_unique<test::X11TestClient>();
    ASSERT_TRUE(client->connected());
    client->Activate(client->MapWindow(std::nullopt, std::nullopt));
    device = XTestInjectionDevice::Open();
    ASSERT_NE(device, nullptr);
  }

  // Writes the report and reads back the X event it makes: type and key code or button.
  std::pair<int, int> Inject(const Report& report) {
    EXPECT_EQ(device->WriteOutputReport(report), Result::Ok);
    const std::optional<xcb_generic_event_t> event = client->NextInputEvent();
    if (!event) return {0, 0};
    return {event->response_type & 0x7F,
            reinterpret_cast<const xcb_key_press_event_t*>(&*event)->detail};
  }

  test::PrivateXServer server;
  std::unique_ptr<test::X11TestClient> client;
  std::unique_ptr<XTestInjectionDevice> device;
};

TEST_F(XTestInjectionTest, EveryKeyOfTheKeyTableArrivesAsItsKey) {
  int keys = 0;
  for (const ScanCodeEntry& entry : ScanCodeTable()) {
    const HidUsage usage = KeyCodeToUsage(entry.keyCode);
    if (entry.keyCode == 0 || usage.page == kUsagePageGenericDesktop) continue;
    const bool keyboard = usage.page == kUsagePageKeyboard;
    const int code = keyboard ? KeyboardUsageKey(static_cast<std::uint8_t>(usage.usage))
                              : ConsumerUsageKey(usage.usage);
    ASSERT_NE(code, 0) << entry.name;
    const Report down = keyboard ? KeyboardReport(static_cast<std::uint8_t>(usage.usage))
                                 : ConsumerReport(usage.usage);
    const Report up = keyboard ? KeyboardReport(0) : ConsumerReport(0);
    EXPECT_EQ(Inject(down), std::pair(int{XCB_KEY_PRESS}, code + 8)) << entry.name;
    EXPECT_EQ(Inject(up), std::pair(int{XCB_KEY_RELEASE}, code + 8)) << entry.name;
    ++keys;
  }
  EXPECT_GT(keys, 100);
}

TEST_F(XTestInjectionTest, EveryMouseButtonArrivesAsXsButton) {
  struct Case {
    std::uint8_t bit;
    int button;
  };
  for (const Case& c :
       {Case{0x01, 1}, Case{0x02, 3}, Case{0x04, 2}, Case{0x08, 8}, Case{0x10, 9}}) {
    EXPECT_EQ(Inject(ButtonReport(c.bit)), std::pair(int{XCB_BUTTON_PRESS}, c.button));
    EXPECT_EQ(Inject(ButtonReport(0)), std::pair(int{XCB_BUTTON_RELEASE}, c.button));
  }
}

TEST_F(XTestInjectionTest, AKeyWithoutACodeIsSkippedAndTheRestGoesThrough) {
  Report report = KeyboardReport(0x82);  // a locking key the kernel has no code for
  report[3] = 0x04;                      // A
  EXPECT_EQ(Inject(report), std::pair(int{XCB_KEY_PRESS}, 30 + 8));
}

TEST_F(XTestInjectionTest, DestroyingTheDeviceReleasesWhatItHolds) {
  ASSERT_EQ(Inject(KeyboardReport(0xE1)), std::pair(int{XCB_KEY_PRESS}, 42 + 8));  // Left Shift
  ASSERT_EQ(Inject(ButtonReport(0x01)), std::pair(int{XCB_BUTTON_PRESS}, 1));
  device.reset();
  const auto first = client->NextInputEvent();
  const auto second = client->NextInputEvent();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->response_type & 0x7F, XCB_KEY_RELEASE);
  EXPECT_EQ(second->response_type & 0x7F, XCB_BUTTON_RELEASE);
}

TEST_F(XTestInjectionTest, TheDeviceIsListedAfterTheOthersAndOpensForWriting) {
  class NoHid final : public HidEnumerator {
   public:
    Result ListInterfacePaths(std::vector<std::string>& paths) override {
      paths = {"first"};
      return Result::Ok;
    }
    Result InterfaceNode(std::string_view, DeviceNode&) override { return Result::NotFound; }
    Result ParentNode(DeviceNode, DeviceNode&) override { return Result::NotFound; }
    Result NodeInstanceId(DeviceNode, std::string&) override { return Result::NotFound; }
    Result NodeDriverKey(DeviceNode, std::string&) override { return Result::NotFound; }
  };
  XTestInjectionEnumerator enumerator(std::make_unique<NoHid>());
  std::vector<std::string> paths;
  ASSERT_EQ(enumerator.ListInterfacePaths(paths), Result::Ok);
  EXPECT_EQ(paths, (std::vector<std::string>{"first", std::string(kXTestInjectionPath)}));
  EXPECT_EQ(device->Attributes(), (HidAttributes{0x1BCF, 0x05E3, 0}));
  EXPECT_EQ(device->Capabilities().usagePage, 0xFF00);
  EXPECT_EQ(device->Capabilities().outputReportLength, kInjectionReportBytes);
}

}  // namespace
}  // namespace vexlo
