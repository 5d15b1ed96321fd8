#include "platform/linux/UsbControlChannel.h"

#include <fcntl.h>
#include <libusb.h>

#include <cerrno>
#include <mutex>

#include "platform/linux/LibusbResult.h"

namespace vexlo {

Result UsbControlChannel::Open(const std::string& usbfsNode,
                               std::unique_ptr<UsbControlChannel>& channel) {
  std::unique_ptr<UsbControlChannel> opened(new UsbControlChannel());
  opened->node_.Reset(::open(usbfsNode.c_str(), O_RDWR | O_CLOEXEC));
  if (!opened->node_.valid()) return ResultFromErrno(errno);
  // The device is named by its node; libusb need not look for devices on its own. The option
  // applies to every context made after it is set.
  static std::once_flag noDiscovery;
  std::call_once(noDiscovery, [] { (void)libusb_set_option(nullptr, LIBUSB_OPTION_NO_DEVICE_DISCOVERY); });
  if (const int r = libusb_init(&opened->context_); r != 0) {
    opened->context_ = nullptr;
    return ResultFromLibusb(r);
  }
  if (const int r = libusb_wrap_sys_device(opened->context_, opened->node_.get(), &opened->handle_);
      r != 0) {
    opened->handle_ = nullptr;
    return ResultFromLibusb(r);
  }
  channel = std::move(opened);
  return Result::Ok;
}

UsbControlChannel::~UsbControlChannel() {
  if (handle_) libusb_close(handle_);
  if (context_) libusb_exit(context_);
}

Result UsbControlChannel::Transfer(const filter::VendorTransfer& request,
                                   std::span<std::uint8_t> output, std::size_t& returned) {
  returned = 0;
  const std::uint16_t length = request.Length();
  std::span<std::uint8_t> data;
  if (request.IsDeviceToHost()) {
    if (output.size() < length) return Result::InsufficientBuffer;
    data = output.first(length);
  } else if (length != 0) {
    return Result::InvalidParameter;  // the request carries no data to send
  }
  const int r = libusb_control_transfer(handle_, request.RequestType(), request.Request(),
                                        request.Value(), request.Index(), data.data(), length,
                                        kTimeoutMs);
  if (r < 0) return ResultFromLibusb(r);
  if (static_cast<std::size_t>(r) != data.size()) return Result::BadData;
  returned = data.size();
  return Result::Ok;
}

}  // namespace vexlo
