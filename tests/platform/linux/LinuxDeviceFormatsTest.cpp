// The formats the Linux backend reads and writes on its own: report descriptors, its interface
// paths, the filter drivers' requests as a driver receives them, and libusb's errors.
#include <gtest/gtest.h>
#include <libusb.h>

#include <vector>

#include "MouseDescriptors.h"
#include "device/InterceptionTable.h"
#include "device/ReportRateRecord.h"
#include "device/TranslationTable.h"
#include "device/VendorTransfer.h"
#include "platform/linux/FilterRequests.h"
#include "platform/linux/HidReportDescriptor.h"
#include "platform/linux/LibusbResult.h"
#include "platform/linux/LinuxHidPath.h"

namespace vexlo {
namespace {

TEST(HidReportDescriptorTest, ListsTheTopCollectionsWithTheirReportLengths) {
  HidDescriptorLayout layout;
  ASSERT_EQ(ParseReportDescriptor(test::kButtonInterfaceDescriptor, layout), Result::Ok);
  EXPECT_TRUE(layout.usesReportIds);
  ASSERT_EQ(layout.collections.size(), 3u);
  EXPECT_EQ(layout.collections[0], (HidTopCollection{.usagePage = 0x01,
                                                      .usage = 0x06,
                                                      .inputReportIds = {1},
                                                      .inputReportLength = 9,
                                                      .outputReportLength = 2}));
  EXPECT_EQ(layout.collections[1], (HidTopCollection{.usagePage = 0x0C,
                                                      .usage = 0x01,
                                                      .inputReportIds = {3},
                                                      .inputReportLength = 3}));
  EXPECT_EQ(layout.collections[2],
            (HidTopCollection{.usagePage = 0xFF01, .usage = 0x01, .featureReportLength = 9}));

  ASSERT_EQ(ParseReportDescriptor(test::kPointerDescriptor, layout), Result::Ok);
  EXPECT_FALSE(layout.usesReportIds);
  ASSERT_EQ(layout.collections.size(), 1u);
  EXPECT_EQ(layout.collections[0].inputReportLength, 5);  // 4 bytes and the report ID byte
}

TEST(HidReportDescriptorTest, RefusesDescriptorsThatDoNotHoldTogether) {
  const std::vector<std::vector<std::uint8_t>> broken = {
      {0xA1, 0x01},                    // a collection left open
      {0xC0},                          // closing one that was never opened
      {0x05, 0x01, 0x09},              // an item cut short
      {0xB4},                          // pop without push
      std::vector<std::uint8_t>(kMaxReportDescriptorSize + 1, 0x00),
  };
  for (const auto& descriptor : broken) {
    HidDescriptorLayout layout;
    EXPECT_EQ(ParseReportDescriptor(descriptor, layout), Result::BadData) << descriptor.size();
  }
}

TEST(LinuxHidPathTest, ComposesAndParsesEveryForm) {
  const LinuxHidPath forms[] = {
      {.devnode = "/dev/hidraw1", .vendorId = 0x093A, .productId = 0x2533,
       .interfaceNumber = 1, .collection = 2},
      {.devnode = "/dev/hidraw0", .vendorId = 0x093A, .productId = 0x2533,
       .interfaceNumber = std::nullopt, .collection = 0},
      {.devnode = "/dev/uinput", .vendorId = 0x1BCF, .productId = 0x05E3,
       .interfaceNumber = std::nullopt, .collection = 0}};
  EXPECT_EQ(ComposeHidPath(forms[0]), "/dev/hidraw1#vid_093a&pid_2533&mi_01&col02");
  for (const LinuxHidPath& form : forms) EXPECT_EQ(ParseHidPath(ComposeHidPath(form)), form);
  for (const char* other : {"/dev/hidraw1", "#vid_093a&pid_2533", "/dev/hidraw1#vid_93a&pid_2533",
                            "/dev/hidraw1#vid_093a&pid_2533&col00",
                            "/dev/hidraw1#vid_093a&pid_2533&mi_01&col02x"}) {
    EXPECT_FALSE(ParseHidPath(other)) << other;
  }
}

// The bytes the device link sends arrive at the user-space drivers as the link meant them.
TEST(FilterRequestsTest, DecodesWhatTheLinkEncodes) {
  const TransferRequest bytes =
      EncodeTransferRequest("/sys/devices/usb1/1-4/1-4:1.1", ReadRegisterPacket(0x0F));
  filter::VendorTransfer transfer;
  ASSERT_EQ(filter::DecodeVendorTransfer(bytes, transfer), Result::Ok);
  EXPECT_EQ(transfer.targetKey, "/sys/devices/usb1/1-4/1-4:1.1");
  EXPECT_TRUE(transfer.IsDeviceToHost());
  EXPECT_EQ(transfer.Value(), 0x0100);
  EXPECT_EQ(transfer.Index(), 0x000F);
  EXPECT_EQ(transfer.Length(), 1);
  EXPECT_EQ(filter::DecodeVendorTransfer(std::span(bytes).first(527), transfer),
            Result::InvalidParameter);

  filter::InterceptTable table;
  ASSERT_EQ(filter::DecodeInterceptTable(
                BuildInterceptionTable({false, true, false}, {1, 2, 3, 4, 5, 6}), table),
            Result::Ok);
  EXPECT_FALSE(table[0].enabled);
  EXPECT_TRUE(table[2].enabled);
  EXPECT_EQ(table[3].eventValue, 4);

  double factor = 0;
  ASSERT_EQ(filter::DecodeReportRate(EncodeReportRateRecord(1), factor), Result::Ok);
  EXPECT_EQ(factor, 0.25);

  filter::TranslationGroups groups;
  ASSERT_EQ(filter::DecodeTranslationTable(BuildTranslationTable(), groups), Result::Ok);
  EXPECT_EQ(groups, (filter::TranslationGroups{
                        {{0xCD, 0x14}, {0xB7, 0x15}, {0xE9, 0x16}, {0xEA, 0x17}}}));
}

TEST(LibusbResultTest, EveryLibusbErrorHasAResult) {
  const std::pair<int, Result> cases[] = {
      {5, Result::Ok},
      {LIBUSB_ERROR_NO_DEVICE, Result::DeviceNotConnected},
      {LIBUSB_ERROR_TIMEOUT, Result::Timeout},
      {LIBUSB_ERROR_ACCESS, Result::AccessDenied},
      {LIBUSB_ERROR_PIPE, Result::GeneralFailure},
      {LIBUSB_ERROR_OVERFLOW, Result::InsufficientBuffer},
      {LIBUSB_ERROR_OTHER, Result::GeneralFailure},
  };
  for (const auto& [error, result] : cases) EXPECT_EQ(ResultFromLibusb(error), result) << error;
}

}  // namespace
}  // namespace vexlo
