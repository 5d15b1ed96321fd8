#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "common/Result.h"
#include "platform/linux/FilterRequests.h"
#include "platform/linux/UniqueFd.h"

struct libusb_context;
struct libusb_device_handle;

namespace vexlo {

// USB control transfers to one USB device through its usbfs node with libusb-1.0. The node is
// opened by its path (libusb_wrap_sys_device), so libusb never scans the bus; the kernel's drivers
// keep every interface, as control transfers to the device need none of them.
class UsbControlChannel {
 public:
  // Ok; FileNotFound when the node is gone; AccessDenied when this user may not open it; else the
  // platform's error or libusb's.
  [[nodiscard]] static Result Open(const std::string& usbfsNode,
                                   std::unique_ptr<UsbControlChannel>& channel);
  ~UsbControlChannel();
  UsbControlChannel(const UsbControlChannel&) = delete;
  UsbControlChannel& operator=(const UsbControlChannel&) = delete;

  // One control transfer with the setup fields of `request`. A device-to-host transfer fills
  // `output` with exactly wLength bytes (`returned`) or fails; a host-to-device transfer sends no
  // data (wLength must be 0). Blocks until the device answers, at most kTimeoutMs. Ok;
  // InsufficientBuffer when `output` is shorter than wLength; InvalidParameter for an outgoing
  // transfer with data; BadData for a short answer; DeviceNotConnected when the device has gone;
  // Timeout; else libusb's error as a result code. One thread at a time.
  [[nodiscard]] Result Transfer(const filter::VendorTransfer& request,
                                std::span<std::uint8_t> output, std::size_t& returned);

  static constexpr unsigned kTimeoutMs = 1000;

 private:
  UsbControlChannel() = default;

  libusb_context* context_ = nullptr;
  UniqueFd node_;  // closed after the handle that wraps it
  libusb_device_handle* handle_ = nullptr;
};

}  // namespace vexlo
