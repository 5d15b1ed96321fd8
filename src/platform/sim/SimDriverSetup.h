#pragma once

#include <memory>

#include "platform/ports/DriverSetup.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// The driver setup of the simulated machine: it installs the split variant there and replugs the
// mouse (SimEnvironment::InstallSplitDrivers).
class SimDriverSetup final : public DriverSetup {
 public:
  explicit SimDriverSetup(std::shared_ptr<SimService> sim) : sim_(std::move(sim)) {}
  Result InstallSplitDrivers() override { return sim_->InstallSplitDrivers(); }

 private:
  std::shared_ptr<SimService> sim_;
};

}  // namespace vexlo
