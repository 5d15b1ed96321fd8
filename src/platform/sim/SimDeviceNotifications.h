#pragma once

#include <memory>
#include <string>

#include "platform/ports/DeviceNotifications.h"

namespace vexlo {

class SimEnvironment;

// The mouse of an in-process simulated machine arriving and going.
class SimEnvironmentNotifications final : public DeviceNotifications {
 public:
  explicit SimEnvironmentNotifications(std::shared_ptr<SimEnvironment> environment);
  Result Register(MessageTarget& window,
                  std::unique_ptr<ReleaseOnDestroy>& registration) override;

 private:
  std::shared_ptr<SimEnvironment> environment_;
};

// The mouse of a running vexlo-sim arriving and going. A vexlo-sim that starts counts as an
// arrival (its mouse may be plugged in) and one that ends as a removal; the registration watches
// the runtime folder for it between runs, so nothing is polled.
class SimSocketNotifications final : public DeviceNotifications {
 public:
  explicit SimSocketNotifications(std::string socketPath);
  Result Register(MessageTarget& window,
                  std::unique_ptr<ReleaseOnDestroy>& registration) override;

 private:
  std::string socketPath_;
};

}  // namespace vexlo
