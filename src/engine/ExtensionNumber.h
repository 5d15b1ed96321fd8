#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Fire-key and macro assignments keep one packed 32-bit number in their extension text. It is
// written as signed decimal ("%d"), so values of 2^31 and above appear negative; reading accepts
// both forms.
namespace vexlo {

// Base-10 wcstoul with a 32-bit result: leading white space, an optional sign, digits up to the
// first non-digit; a negative number wraps around ("-1" is 0xFFFFFFFF); no digits give 0; a
// number too large for 32 bits gives 0xFFFFFFFF.
std::uint32_t ParseExtensionNumber(std::string_view text);

// The signed decimal text of the number, as the files keep it.
std::string FormatExtensionNumber(std::uint32_t value);

// Fire key: bits 7..0 the click interval value, bits 15..8 the number of clicks, bits 31..16 zero.
struct FireKeyNumber {
  std::uint8_t interval = 1;  // 1..255; the macro player turns it into the click period
  std::uint8_t clicks = 0;    // 0 = for as long as the button is held

  bool operator==(const FireKeyNumber&) const = default;
};

// An interval of 0, which no dialog writes (a damaged file), reads as 1: a zero click period
// would flood the device.
FireKeyNumber UnpackFireKey(std::uint32_t value);
// An interval of 0 is stored as 1: there is no click period of zero.
std::uint32_t PackFireKey(FireKeyNumber fireKey);

enum class MacroLoopMode : std::uint8_t {
  RepeatCount = 0,        // play the steps as often as the repeat count says
  StopOnSecondPress = 1,  // repeat until the same button is pressed again
  StopOnRelease = 2,      // repeat until the same button is released
};

// Macro: bits 7..0 the macro slot, bits 15..8 the loop mode, bits 31..16 the repeat count.
struct MacroNumber {
  std::uint8_t slot = 0;                                // 0..15; anything else plays nothing
  MacroLoopMode loopMode = MacroLoopMode::RepeatCount;  // may hold other values read from a file
  std::uint16_t repeatCount = 1;

  bool operator==(const MacroNumber&) const = default;
};

MacroNumber UnpackMacro(std::uint32_t value);
// The repeat count is stored as 1 for the two stop modes, and a count of 0 as 1.
std::uint32_t PackMacro(MacroNumber macro);

// The numbers as extension texts, and back.
inline FireKeyNumber DecodeFireKey(std::string_view extension) {
  return UnpackFireKey(ParseExtensionNumber(extension));
}
inline MacroNumber DecodeMacro(std::string_view extension) {
  return UnpackMacro(ParseExtensionNumber(extension));
}
inline std::string EncodeFireKey(FireKeyNumber fireKey) {
  return FormatExtensionNumber(PackFireKey(fireKey));
}
inline std::string EncodeMacro(MacroNumber macro) {
  return FormatExtensionNumber(PackMacro(macro));
}

}  // namespace vexlo
