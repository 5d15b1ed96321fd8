#pragma once

#include "platform/ports/DeviceNotifications.h"

namespace vexlo {

// Hot-plug of HID interfaces as udev announces it: every hidraw node that appears or goes is a HID
// interface arriving or being removed. A thread of the registration listens on a udev monitor and
// a wake-up descriptor, so destroying the registration ends it at once.
class LinuxDeviceNotifications final : public DeviceNotifications {
 public:
  // Ok, or GeneralFailure when udev cannot be listened to.
  Result Register(MessageTarget& window,
                  std::unique_ptr<ReleaseOnDestroy>& registration) override;
};

}  // namespace vexlo
