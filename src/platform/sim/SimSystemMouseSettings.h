#pragma once

#include <mutex>

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

// The pointer settings of a simulated desktop. It starts with the desktop's usual values
// (double-click 500 ms, speed 10, 3 lines) and remembers what is set, so the program can change
// them freely without touching the real desktop.
class SimSystemMouseSettings final : public SystemMouseSettings {
 public:
  struct Values {
    std::uint32_t doubleClickTime = 500;
    std::uint32_t pointerSpeed = 10;
    std::uint32_t wheelScrollLines = 3;
  };

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;

  Values Snapshot() const;

 private:
  mutable std::mutex mutex_;  // guards values_
  Values values_;
};

}  // namespace vexlo
