#pragma once

#include <cstdint>

#include "common/Result.h"

namespace vexlo {

// The pointer settings of the desktop that the program reads into a profile and applies from it.
// Every call may block briefly while the desktop takes the change; any thread, but the program
// makes the get/set calls for one setting from one thread at a time. A setting that the desktop
// does not have answers NotSupported to its get and set.
class SystemMouseSettings {
 public:
  // The wheel value meaning "one screen per notch".
  static constexpr std::uint32_t kWheelScrollsPage = 0xFFFFFFFF;

  virtual ~SystemMouseSettings() = default;

  // Double-click time in milliseconds. Ok, or the platform's error (the value is then untouched).
  [[nodiscard]] virtual Result GetDoubleClickTime(std::uint32_t& milliseconds) = 0;
  [[nodiscard]] virtual Result SetDoubleClickTime(std::uint32_t milliseconds) = 0;

  // Pointer speed, 1 (slowest) to 20 (fastest), 10 being the desktop's neutral speed.
  [[nodiscard]] virtual Result GetPointerSpeed(std::uint32_t& speed) = 0;
  [[nodiscard]] virtual Result SetPointerSpeed(std::uint32_t speed) = 0;

  // Lines scrolled per wheel notch, or kWheelScrollsPage. Setting it also tells running
  // programs about the change.
  [[nodiscard]] virtual Result GetWheelScrollLines(std::uint32_t& lines) = 0;
  [[nodiscard]] virtual Result SetWheelScrollLines(std::uint32_t lines) = 0;

  // Whether the desktop has kWheelScrollsPage at all; where it has not, SetWheelScrollLines
  // answers NotSupported for that value. Any thread, never blocks.
  virtual bool HasPageScrolling() const { return true; }
};

}  // namespace vexlo
