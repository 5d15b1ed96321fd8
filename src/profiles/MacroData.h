#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vexlo {

inline constexpr int kMacroSlotCount = 16;
inline constexpr int kMaxMacroSteps = 60;
inline constexpr std::size_t kMaxMacroNameUnits = 31;
inline constexpr std::uint8_t kMacroSlotUsed = 0x55;  // 'U'

// Kinds of steps (bits 0..3 of MacroAction::type).
inline constexpr std::uint8_t kMacroMouseButton = 1;  // data1: 0x01 left, 0x02 right, 0x04
                                                      // middle, 0x08 back, 0x10 forward
inline constexpr std::uint8_t kMacroKey = 4;          // data1: the key's HID code
inline constexpr std::uint8_t kMacroConsumerKey = 5;  // data1, data2: usage, low byte first
inline constexpr std::uint8_t kMacroPause = 6;        // data1, data2: milliseconds, low first
inline constexpr std::uint8_t kMacroPress = 0x80;     // bit 7 of type: press, else release

// One step of a macro, three bytes as stored in the files.
struct MacroAction {
  std::uint8_t type = 0;   // bits 0..3 the kind, bit 7 set for a press
  std::uint8_t data1 = 0;  // button bit, key code, or low byte of a usage or a pause
  std::uint8_t data2 = 0;  // high byte of a usage or a pause

  static constexpr MacroAction Pause(std::uint16_t milliseconds) {
    return {kMacroPause, static_cast<std::uint8_t>(milliseconds & 0xFF),
            static_cast<std::uint8_t>(milliseconds >> 8)};
  }
  constexpr std::uint8_t Kind() const { return type & 0x0F; }
  // data1 and data2 as one 16-bit value: a usage or a pause.
  constexpr std::uint16_t Value16() const { return static_cast<std::uint16_t>(data1 | data2 << 8); }

  bool operator==(const MacroAction&) const = default;
};
static_assert(sizeof(MacroAction) == 3);
static_assert(offsetof(MacroAction, data1) == 1 && offsetof(MacroAction, data2) == 2);

// A slot's record: a named sequence of at most 60 steps.
struct MacroData {
  std::uint8_t byFlag = 0;     // kMacroSlotUsed when the slot holds a macro
  std::uint8_t byCount = 0;    // valid steps, 0..60
  std::uint8_t byExtFlag = 0;  // kept and stored, used by nothing
  std::array<MacroAction, kMaxMacroSteps> steps{};
  std::string szName;  // at most 31 UTF-16 units

  bool IsUsed() const { return byFlag == kMacroSlotUsed; }
  bool operator==(const MacroData&) const = default;
};

}  // namespace vexlo
