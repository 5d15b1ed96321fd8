#include "platform/linux/LinuxHidFilter.h"

#include "platform/linux/UdevDevices.h"

namespace vexlo {

LinuxHidFilter::LinuxHidFilter(std::shared_ptr<ButtonReportTranslation> translation)
    : translation_(std::move(translation)) {}

Result LinuxHidFilter::IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output, std::size_t& returned) {
  returned = 0;
  if (code == filter::kVendorTransfer) {
    filter::VendorTransfer request;
    if (const Result r = filter::DecodeVendorTransfer(input, request); r != Result::Ok) return r;
    return Transfer(request, output, returned);
  }
  if (code == filter::kTranslationTable) {
    filter::TranslationGroups groups;
    if (const Result r = filter::DecodeTranslationTable(input, groups); r != Result::Ok) return r;
    translation_->Set(groups);
    return Result::Ok;
  }
  return Result::InvalidFunction;
}

Result LinuxHidFilter::Transfer(const filter::VendorTransfer& request,
                                std::span<std::uint8_t> output, std::size_t& returned) {
  std::scoped_lock lock(mutex_);
  const std::optional<UsbDeviceInfo> usb =
      request.targetKey.empty() ? std::nullopt : UsbDeviceAt(request.targetKey);
  if (!usb) {
    channel_.reset();
    // A sysfs path that leads nowhere named a device that has gone.
    return request.targetKey.starts_with("/sys/") ? Result::DeviceNotConnected
                                                   : Result::NoSuchDevice;
  }
  if (usb->vendorId != filter::kMouseVendorId || usb->productId != filter::kMouseProductId) {
    return Result::NoSuchDevice;
  }
  // A mouse plugged in again has a new usbfs node.
  if (!channel_ || channelNode_ != usb->devnode) {
    channel_.reset();
    if (const Result r = UsbControlChannel::Open(usb->devnode, channel_); r != Result::Ok) {
      return r == Result::FileNotFound ? Result::DeviceNotConnected : r;
    }
    channelNode_ = usb->devnode;
  }
  const Result result = channel_->Transfer(request, output, returned);
  if (result == Result::DeviceNotConnected) channel_.reset();
  return result;
}

}  // namespace vexlo
