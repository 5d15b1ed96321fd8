#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/linux/ButtonReportTranslation.h"
#include "platform/linux/UsbControlChannel.h"
#include "platform/ports/DriverEndpoint.h"

namespace vexlo {

// The HID filter's control endpoint in user space. A vendor transfer request (0x222010) names the
// mouse by a driver key, which on Linux is the sysfs path of its USB interface or device (see
// LinuxHidEnumerator); the setup packet becomes a control transfer on that USB device with libusb,
// same direction, type, request, value, index and length. The event translation table (0x222118)
// is kept for the reader of the mouse's consumer collection, which applies it to the reports the
// kernel hands over (ButtonReportTranslation).
class LinuxHidFilter final : public DriverEndpoint {
 public:
  explicit LinuxHidFilter(std::shared_ptr<ButtonReportTranslation> translation);

  // 0x222010: Ok; InvalidParameter for a request that is not 528 bytes; NoSuchDevice when the key
  // names no mouse; DeviceNotConnected when the device it named has gone; else as
  // UsbControlChannel::Transfer. 0x222118: Ok, or InvalidParameter for a table that is not 640
  // bytes. Any other code: InvalidFunction. Transfers run one at a time.
  Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                   std::span<std::uint8_t> output, std::size_t& returned) override;

 private:
  Result Transfer(const filter::VendorTransfer& request, std::span<std::uint8_t> output,
                  std::size_t& returned);

  std::shared_ptr<ButtonReportTranslation> translation_;
  std::mutex mutex_;  // guards the channel; held across each transfer
  std::string channelNode_;  // the usbfs node the channel is open on
  std::unique_ptr<UsbControlChannel> channel_;
};

}  // namespace vexlo
