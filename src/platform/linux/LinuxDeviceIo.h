#pragma once

#include <memory>
#include <string>

#include "platform/linux/ButtonReportTranslation.h"
#include "platform/linux/DeviceAccessCheck.h"
#include "platform/linux/DriverEventRegistry.h"
#include "platform/ports/DeviceIo.h"

namespace vexlo {

// The DeviceIo port over the real mouse. The two filter drivers are played in user space: the HID
// filter by LinuxHidFilter (vendor transfers with libusb) and the mouse filter by LinuxMouseFilter
// (an evdev grab with a uinput mirror). HID collections are hidraw nodes (HidrawDevice); the
// injection device's path (on the uinput node, see LinuxHidEnumerator) opens a uinput device of
// our own (LinuxInjectionDevice).
//
// Opening the HID filter is where the program connects to the mouse, so that is where the access
// check runs: when the mouse is present but one of the nodes it needs may not be opened, the open
// answers AccessDenied and DeniedNodes names them.
class LinuxDeviceIo final : public DeviceIo {
 public:
  LinuxDeviceIo(DeviceAccessRoots roots, std::shared_ptr<const NodeAccess> access);

  Result OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) override;
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override;
  Result CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) override;
  std::string DeniedNodes() const override;

 private:
  DeviceAccessRoots roots_;
  std::shared_ptr<const NodeAccess> access_;
  std::shared_ptr<DriverEventRegistry> events_;
  std::shared_ptr<ButtonReportTranslation> translation_;
  std::string deniedNodes_;  // of the last open of the HID filter; user-interface thread
};

}  // namespace vexlo
