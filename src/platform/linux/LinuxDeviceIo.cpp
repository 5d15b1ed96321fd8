#include "platform/linux/LinuxDeviceIo.h"

#include "platform/linux/FilterRequests.h"
#include "platform/linux/HidrawDevice.h"
#include "platform/linux/LinuxHidFilter.h"
#include "platform/linux/LinuxHidPath.h"
#include "platform/linux/LinuxInjectionDevice.h"
#include "platform/linux/LinuxMouseFilter.h"

namespace vexlo {

LinuxDeviceIo::LinuxDeviceIo(DeviceAccessRoots roots, std::shared_ptr<const NodeAccess> access)
    : roots_(std::move(roots)),
      access_(std::move(access)),
      events_(std::make_shared<DriverEventRegistry>()),
      translation_(std::make_shared<ButtonReportTranslation>()) {}

Result LinuxDeviceIo::OpenDriver(std::string_view name,
                                 std::unique_ptr<DriverEndpoint>& endpoint) {
  if (name == filter::kHidFilterName) {
    const DeviceAccessReport report = CheckDeviceAccess(roots_, *access_);
    deniedNodes_ = DeniedNodesText(report);
    if (!deniedNodes_.empty()) return Result::AccessDenied;
    endpoint = std::make_unique<LinuxHidFilter>(translation_);
    return Result::Ok;
  }
  if (name == filter::kMouseFilterName) {
    endpoint = std::make_unique<LinuxMouseFilter>(events_, roots_.UinputNode());
    return Result::Ok;
  }
  return Result::FileNotFound;
}

Result LinuxDeviceIo::OpenHid(std::string_view path, const HidOpenOptions& options,
                              std::unique_ptr<HidDevice>& device) {
  const std::optional<LinuxHidPath> parts = ParseHidPath(path);
  if (!parts) return Result::FileNotFound;
  if (parts->devnode == roots_.UinputNode()) return LinuxInjectionDevice::Open(parts->devnode, device);
  // Only the mouse's reports carry what the HID filter's table translates.
  const bool mouse =
      parts->vendorId == filter::kMouseVendorId && parts->productId == filter::kMouseProductId;
  return HidrawDevice::Open(*parts, options, mouse ? translation_ : nullptr, device);
}

Result LinuxDeviceIo::CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) {
  events = events_->CreateSet(count);
  return Result::Ok;
}

std::string LinuxDeviceIo::DeniedNodes() const {
  return deniedNodes_;
}

}  // namespace vexlo
