#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vexlo {

inline constexpr int kMacroSlotCount = 16;
inline constexpr int kMaxMacroSteps = 60;
inline constexpr std::size_t kMaxMacroNameUnits = 31;
inline constexpr std::uint8_t kMacroSlotUsed = 0x55;  // 'U'

// One step of a macro, three bytes as stored in the files.
struct MacroAction {
  std::uint8_t type = 0;   // bits 0..3 the kind, bit 7 set for a press
  std::uint8_t data1 = 0;  // button bit, key code, or low byte of a usage or a pause
  std::uint8_t data2 = 0;  // high byte of a usage or a pause

  bool operator==(const MacroAction&) const = default;
};
static_assert(sizeof(MacroAction) == 3);

// A slot's record: a named sequence of at most 60 steps.
struct MacroData {
  std::uint8_t byFlag = 0;     // kMacroSlotUsed when the slot holds a macro
  std::uint8_t byCount = 0;    // valid steps, 0..60
  std::uint8_t byExtFlag = 0;  // kept and stored, used by nothing
  std::array<MacroAction, kMaxMacroSteps> steps{};
  std::string szName;          // at most 31 UTF-16 units

  bool IsUsed() const { return byFlag == kMacroSlotUsed; }
  bool operator==(const MacroData&) const = default;
};

}  // namespace vexlo
