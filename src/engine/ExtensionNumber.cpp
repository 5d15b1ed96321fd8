#include "engine/ExtensionNumber.h"

#include <limits>

namespace vexlo {
namespace {

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::uint32_t ParseExtensionNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (value > kLimit) return std::numeric_limits<std::uint32_t>::max();
  }
  const auto magnitude = static_cast<std::uint32_t>(value);
  return negative ? 0u - magnitude : magnitude;
}

std::string FormatExtensionNumber(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

FireKeyNumber UnpackFireKey(std::uint32_t value) {
  const auto interval = static_cast<std::uint8_t>(value & 0xFF);
  return {interval == 0 ? std::uint8_t{1} : interval,
          static_cast<std::uint8_t>((value >> 8) & 0xFF)};
}

std::uint32_t PackFireKey(FireKeyNumber fireKey) {
  const std::uint32_t interval = fireKey.interval == 0 ? 1 : fireKey.interval;
  return static_cast<std::uint32_t>(fireKey.clicks) << 8 | interval;
}

MacroNumber UnpackMacro(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFF),
          static_cast<MacroLoopMode>(static_cast<std::uint8_t>((value >> 8) & 0xFF)),
          static_cast<std::uint16_t>(value >> 16)};
}

std::uint32_t PackMacro(MacroNumber macro) {
  std::uint32_t count = macro.repeatCount;
  if (macro.loopMode != MacroLoopMode::RepeatCount || count == 0) count = 1;
  return count << 16 | static_cast<std::uint32_t>(macro.loopMode) << 8 | macro.slot;
}

}  // namespace vexlo
