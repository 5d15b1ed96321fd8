#pragma once

#include <memory>

#include "common/Text.h"
#include "platform/ports/ForegroundProcess.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// The foreground program of the simulated desktop (none until one is set).
class SimForegroundProcess final : public ForegroundProcess {
 public:
  explicit SimForegroundProcess(std::shared_ptr<SimService> sim) : sim_(std::move(sim)) {}

  std::optional<std::string> ForegroundImagePath() override {
    std::optional<std::string> path = sim_->ForegroundPath();
    if (path) *path = TruncateToBuffer(*path);
    return path;
  }

 private:
  std::shared_ptr<SimService> sim_;
};

}  // namespace vexlo
