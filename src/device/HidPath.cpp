#include "device/HidPath.h"

#include <algorithm>
#include <cctype>

namespace vexlo {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool SameLetterNoCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::uint32_t HexNumberAfter(std::string_view path, std::string_view marker) {
  const auto found =
      std::search(path.begin(), path.end(), marker.begin(), marker.end(), SameLetterNoCase);
  if (found == path.end()) return 0;
  std::uint32_t value = 0;
  for (auto it = found + static_cast<std::ptrdiff_t>(marker.size()); it != path.end(); ++it) {
    const int digit = HexDigitValue(*it);
    if (digit < 0) break;
    value = value << 4 | static_cast<std::uint32_t>(digit);  // digits beyond 32 bits fall off
  }
  return value;
}

bool PathNamesDevice(std::string_view path, std::uint16_t vendorId, std::uint16_t productId) {
  return (HexNumberAfter(path, "vid_") & 0xFFFF) == vendorId &&
         (HexNumberAfter(path, "pid_") & 0xFFFF) == productId;
}

}  // namespace vexlo
