#include "engine/InputInjector.h"

#include <gtest/gtest.h>

#include <thread>

#include "FakeInjectionDevice.h"
#include "engine/InjectionReport.h"

namespace vexlo {
namespace {

using test::FakeInjectionDevice;
using Bytes = std::vector<std::uint8_t>;

// A 30-byte report that starts with `head`, the rest zeros.
Bytes Report(std::initializer_list<std::uint8_t> head) {
  Bytes report(head);
  report.resize(30, 0x00);
  return report;
}

constexpr HidUsage Key(std::uint16_t usage) {
  return {0x07, usage};
}
constexpr HidUsage Consumer(std::uint16_t usage) {
  return {0x0C, usage};
}

class InputInjectorTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(injector_.OpenInjectionDevice(), Result::Ok); }

  FakeInjectionDevice device_;
  InputInjector injector_{device_, device_};
};

TEST(InjectionReportTest, TheThreeKindsByteForByte) {
  const Bytes buttons = {0x06, 0x03, 0x15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes keyboard = {0x06, 0x04, 0xE0, 0x04, 0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes consumer = {0x06, 0x05, 0x23, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const auto asBytes = [](const InjectionReportBytes& report) {
    return Bytes(report.begin(), report.end());
  };
  EXPECT_EQ(asBytes(EncodeMouseButtons(0x15)), buttons);
  const std::uint8_t keys[] = {0xE0, 0x04, 0x2C};
  EXPECT_EQ(asBytes(EncodeKeyboard(keys)), keyboard);
  EXPECT_EQ(asBytes(EncodeConsumer(0x0223)), consumer);
}

TEST(InjectionReportTest, AKeyboardReportHoldsTwentyEightKeys) {
  std::vector<std::uint8_t> keys;
  for (std::uint8_t key = 0x04; key < 0x04 + 30; ++key) keys.push_back(key);
  const InjectionReportBytes report = EncodeKeyboard(keys);
  EXPECT_EQ(report[2], 0x04);
  EXPECT_EQ(report[29], 0x04 + 27);
}

TEST_F(InputInjectorTest, OpensTheInjectionDeviceForWriting) {
  EXPECT_TRUE(injector_.IsOpen());
  ASSERT_EQ(device_.Opened().size(), 1u);
  EXPECT_TRUE(device_.Opened()[0].write);
  EXPECT_FALSE(device_.Opened()[0].overlapped);
  EXPECT_FALSE(device_.Opened()[0].exclusive);
}

TEST(InputInjectorOpenTest, PicksTheCollectionThatIsTheInjectionDevice) {
  FakeInjectionDevice::Interface mouse = FakeInjectionDevice::Injection();
  mouse.path = R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#7&1f2e3d4c&0&0001#{x})";
  mouse.attributes = {0x093A, 0x2533, 0x0100};
  FakeInjectionDevice::Interface consumerPart = FakeInjectionDevice::Injection();
  consumerPart.path = R"(\\?\hid#vid_1bcf&pid_05e3&col01#7&3a9c21e&0&0000#{x})";
  consumerPart.capabilities.usagePage = 0x0C;
  FakeInjectionDevice::Interface wrongAttributes = FakeInjectionDevice::Injection();
  wrongAttributes.path = R"(\\?\hid#vid_1bcf&pid_05e3&col02#7&3a9c21e&0&0000#{x})";
  wrongAttributes.attributes.productId = 0x05E4;
  FakeInjectionDevice::Interface right = FakeInjectionDevice::Injection();
  right.path = R"(\\?\HID#VID_11BCF&PID_05E3&COL03#7&3A9C21E&0&0000#{x})";  // 16 bits compared

  FakeInjectionDevice device({mouse, consumerPart, wrongAttributes, right});
  InputInjector injector(device, device);
  ASSERT_EQ(injector.OpenInjectionDevice(), Result::Ok);
  EXPECT_EQ(device.Opened().size(), 3u);  // the mouse's path is not even opened
  ASSERT_EQ(injector.SendMouseButton(0x01, true), Result::Ok);
  EXPECT_EQ(device.WrittenTo(), std::vector<std::string>{right.path});
}

TEST(InputInjectorOpenTest, WithoutTheDeviceNothingIsSentOrHeld) {
  FakeInjectionDevice::Interface other = FakeInjectionDevice::Injection();
  other.capabilities.usage = 0x02;
  FakeInjectionDevice device({other});
  InputInjector injector(device, device);
  EXPECT_EQ(injector.OpenInjectionDevice(), Result::NotFound);
  EXPECT_FALSE(injector.IsOpen());
  EXPECT_EQ(injector.SendKey(Key(0x04), true), Result::NotFound);
  EXPECT_EQ(injector.SendKey(Consumer(0xE9), true), Result::NotFound);
  EXPECT_EQ(injector.SendMouseButton(0x01, true), Result::NotFound);
  injector.ReleaseAll();
  EXPECT_TRUE(device.Reports().empty());

  device.listFailure = Result::HidEnumerationFailed;
  EXPECT_EQ(injector.OpenInjectionDevice(), Result::HidEnumerationFailed);
}

TEST_F(InputInjectorTest, KeysAreListedInTheOrderTheyWentDown) {
  struct Step {
    HidUsage usage;
    bool down;
    Bytes report;
  };
  const std::vector<Step> steps = {
      {Key(0x04), true, Report({0x06, 0x04, 0x04})},
      {Key(0xE1), true, Report({0x06, 0x04, 0x04, 0xE1})},
      {Key(0x05), true, Report({0x06, 0x04, 0x04, 0xE1, 0x05})},
      {Key(0x04), false, Report({0x06, 0x04, 0xE1, 0x05})},
      {Key(0x04), true, Report({0x06, 0x04, 0xE1, 0x05, 0x04})},
      // A key that is down already, or up already, leaves the list as it is.
      {Key(0x05), true, Report({0x06, 0x04, 0xE1, 0x05, 0x04})},
      {Key(0x29), false, Report({0x06, 0x04, 0xE1, 0x05, 0x04})},
      // Usage 0 is no key: down it adds nothing, up it releases every key.
      {Key(0x00), true, Report({0x06, 0x04, 0xE1, 0x05, 0x04})},
      {Key(0x00), false, Report({0x06, 0x04})},
      // Only the low byte of a keyboard usage is a key.
      {Key(0x0104), true, Report({0x06, 0x04, 0x04})},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(injector_.SendKey(steps[i].usage, steps[i].down), Result::Ok);
    EXPECT_EQ(device_.Reports().back(), steps[i].report);
  }
  EXPECT_EQ(device_.Reports().size(), steps.size());
}

TEST_F(InputInjectorTest, TheTwentyNinthKeyIsNotListedButTheReportIsWritten) {
  Bytes full = {0x06, 0x04};
  for (std::uint8_t key = 0x04; key < 0x04 + 28; ++key) {
    ASSERT_EQ(injector_.SendKey(Key(key), true), Result::Ok);
    full.push_back(key);
  }
  ASSERT_EQ(full.size(), 30u);
  EXPECT_EQ(device_.Reports().back(), full);
  ASSERT_EQ(injector_.SendKey(Key(0x2C), true), Result::Ok);
  EXPECT_EQ(device_.Reports().size(), 29u);
  EXPECT_EQ(device_.Reports().back(), full);
  // A place that frees up takes the next key.
  ASSERT_EQ(injector_.SendKey(Key(0x04), false), Result::Ok);
  ASSERT_EQ(injector_.SendKey(Key(0x2C), true), Result::Ok);
  EXPECT_EQ(device_.Reports().back()[29], 0x2C);
  EXPECT_EQ(device_.Reports().back()[2], 0x05);
}

TEST_F(InputInjectorTest, ConsumerKeys) {
  ASSERT_EQ(injector_.SendKey(Consumer(0x0223), true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x05, 0x23, 0x02}));
  // A release always sends usage 0, whatever was pressed.
  ASSERT_EQ(injector_.SendKey(Consumer(0x00E9), false), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x05, 0x00, 0x00}));
  ASSERT_EQ(injector_.SendKey(Consumer(0x00E9), true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x05, 0xE9, 0x00}));
}

TEST_F(InputInjectorTest, SystemControlAndOtherPagesWriteNothing) {
  EXPECT_EQ(injector_.SendKey({0x01, 0x81}, true), Result::NothingToActOn);
  EXPECT_EQ(injector_.SendKey({0x09, 0x01}, true), Result::NothingToActOn);
  EXPECT_EQ(injector_.SendKeyCode(0x66, true), Result::NothingToActOn);  // power
  EXPECT_EQ(injector_.SendKeyCode(0x00, true), Result::NothingToActOn);  // no key
  EXPECT_TRUE(device_.Reports().empty());
}

TEST_F(InputInjectorTest, KeyCodesSendTheirUsage) {
  ASSERT_EQ(injector_.SendKeyCode(0x04, true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x04, 0x04}));
  ASSERT_EQ(injector_.SendKeyCode(0xC5, true), Result::Ok);  // volume up
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x05, 0xE9, 0x00}));
  ASSERT_EQ(injector_.SendKeyCode(0xD1, true), Result::Ok);  // browser favourites
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x05, 0x2A, 0x02}));
}

TEST_F(InputInjectorTest, MouseButtonsKeepTheOthersDown) {
  ASSERT_EQ(injector_.SendMouseButton(0x01, true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x03, 0x01}));
  ASSERT_EQ(injector_.SendMouseButton(0x02, true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x03, 0x03}));
  ASSERT_EQ(injector_.SendMouseEvent({MouseEvent::kButton, 0x01, false}), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x03, 0x02}));
  ASSERT_EQ(injector_.SendMouseButton(0x18, true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x03, 0x1A}));
  EXPECT_EQ(injector_.SendMouseEvent({1, 0x01, true}), Result::NothingToActOn);
  EXPECT_EQ(device_.Reports().size(), 4u);
}

TEST_F(InputInjectorTest, AFailedWriteKeepsTheChange) {
  device_.writeFailure = Result::DeviceNotConnected;
  EXPECT_EQ(injector_.SendKey(Key(0x04), true), Result::DeviceNotConnected);
  EXPECT_EQ(injector_.SendMouseButton(0x04, true), Result::DeviceNotConnected);
  device_.writeFailure = Result::Ok;
  ASSERT_EQ(injector_.SendKey(Key(0x05), true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x04, 0x04, 0x05}));
  ASSERT_EQ(injector_.SendMouseButton(0x01, true), Result::Ok);
  EXPECT_EQ(device_.Reports().back(), Report({0x06, 0x03, 0x05}));
}

// A device whose process restarted is opened again and takes the report; a write that fails all
// the same is counted.
TEST_F(InputInjectorTest, ADeviceThatWentAwayIsOpenedAgain) {
  device_.MarkOpenDevicesGone();
  ASSERT_EQ(injector_.SendKey(Key(0x04), true), Result::Ok);
  EXPECT_EQ(device_.Opened().size(), 2u);
  EXPECT_EQ(device_.Reports(), std::vector<Bytes>{Report({0x06, 0x04, 0x04})});
  EXPECT_EQ(injector_.FailedWrites(), 0u);
  device_.writeFailure = Result::GeneralFailure;
  EXPECT_EQ(injector_.SendKey(Key(0x05), true), Result::GeneralFailure);
  EXPECT_EQ(injector_.SendKey(Key(0x06), true), Result::GeneralFailure);
  EXPECT_EQ(injector_.FailedWrites(), 2u);
  EXPECT_EQ(device_.Opened().size(), 2u);  // only a device that is gone is opened again
}

TEST_F(InputInjectorTest, ReleaseAllLetsGoOfKeysButtonsAndAHeldConsumerKey) {
  injector_.ReleaseAll();
  EXPECT_EQ(device_.Reports(), (std::vector<Bytes>{Report({0x06, 0x04}), Report({0x06, 0x03})}));

  ASSERT_EQ(injector_.SendKey(Key(0x04), true), Result::Ok);
  ASSERT_EQ(injector_.SendMouseButton(0x11, true), Result::Ok);
  ASSERT_EQ(injector_.SendKey(Consumer(0xCD), true), Result::Ok);
  injector_.ReleaseAll();
  const std::vector<Bytes> reports = device_.Reports();
  ASSERT_EQ(reports.size(), 8u);
  EXPECT_EQ(std::vector<Bytes>(reports.begin() + 5, reports.end()),
            (std::vector<Bytes>{Report({0x06, 0x04}), Report({0x06, 0x03}),
                                Report({0x06, 0x05, 0x00, 0x00})}));
  injector_.ReleaseAll();
  EXPECT_EQ(device_.Reports().size(), 10u);  // the consumer key is up now
}

TEST_F(InputInjectorTest, ClosingStopsTheInput) {
  injector_.CloseInjectionDevice();
  EXPECT_FALSE(injector_.IsOpen());
  EXPECT_EQ(injector_.SendKey(Key(0x04), true), Result::NotFound);
  EXPECT_TRUE(device_.Reports().empty());
}

TEST_F(InputInjectorTest, TwoThreadsNeverTearAReport) {
  // The dispatcher and the macro player's worker use the injector at the same time; each report
  // must show the state of one moment.
  constexpr int kRounds = 500;
  std::jthread player([this] {
    for (int i = 0; i < kRounds; ++i) {
      (void)injector_.SendKey(Key(0x04), true);
      (void)injector_.SendMouseButton(0x01, true);
      (void)injector_.SendKey(Key(0x04), false);
      (void)injector_.SendMouseButton(0x01, false);
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    (void)injector_.SendKey(Key(0x05), true);
    (void)injector_.SendKey(Key(0x05), false);
    injector_.ReleaseAll();
  }
  player.join();
  const std::vector<Bytes> reports = device_.Reports();
  EXPECT_EQ(reports.size(), static_cast<std::size_t>(kRounds * 8));
  for (const Bytes& report : reports) {
    ASSERT_EQ(report.size(), 30u);
    ASSERT_EQ(report[0], 0x06);
    if (report[1] == 0x04) {
      // Only 0x04 and 0x05 are ever down, each at most once.
      for (std::size_t i = 4; i < 30; ++i) ASSERT_EQ(report[i], 0) << i;
      if (report[2] != 0 && report[3] != 0) {
        ASSERT_NE(report[2], report[3]);
      }
    } else {
      ASSERT_EQ(report[1], 0x03);
      ASSERT_LE(report[2], 0x01);
    }
  }
}

}  // namespace
}  // namespace vexlo
