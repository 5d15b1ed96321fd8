#pragma once

#include <cstdint>
#include <string_view>

// Reading the hardware identifiers that a HID interface path carries in text.
namespace vexlo {

// The hexadecimal number that follows the first `marker` in `path` (marker compared without regard
// to case), reduced to its low 32 bits; 0 when the marker is absent or no digit follows it.
std::uint32_t HexNumberAfter(std::string_view path, std::string_view marker);

// True when the path's "vid_" and "pid_" numbers, taken as 16 bits, are `vendorId` and
// `productId`.
bool PathNamesDevice(std::string_view path, std::uint16_t vendorId, std::uint16_t productId);

// The interface number ("&mi_") and collection number ("&col") of the path, 0 when absent.
inline std::uint32_t InterfaceNumberOf(std::string_view path) {
  return HexNumberAfter(path, "&mi_");
}
inline std::uint32_t CollectionNumberOf(std::string_view path) {
  return HexNumberAfter(path, "&col");
}

}  // namespace vexlo
