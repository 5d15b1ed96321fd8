#pragma once

#include <memory>

#include "platform/ports/SystemMouseSettings.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// The pointer settings of the simulated desktop (double-click 500 ms, speed 10, 3 lines until the
// program changes them), so the program can change them freely without touching the real desktop.
class SimSystemMouseSettings final : public SystemMouseSettings {
 public:
  explicit SimSystemMouseSettings(std::shared_ptr<SimService> sim) : sim_(std::move(sim)) {}

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;

 private:
  Result Get(std::uint32_t SimPointerSettings::*field, std::uint32_t& value);

  std::shared_ptr<SimService> sim_;
};

}  // namespace vexlo
