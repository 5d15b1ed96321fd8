#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

// How the simulated machine writes numbers for people.
namespace vexlo {

// "0x00E9" for (0xE9, 4).
inline std::string HexNumber(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// "06 07 AB".
inline std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", b);
    text += hex;
  }
  return text;
}

}  // namespace vexlo
