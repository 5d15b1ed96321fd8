#include "platform/linux/LinuxHidPath.h"

#include <charconv>
#include <cstdio>

namespace vexlo {
namespace {

// The hexadecimal field `marker` + digits at the start of `rest`; consumes it.
template <typename T>
bool TakeHex(std::string_view& rest, std::string_view marker, std::size_t digits, T& value) {
  if (!rest.starts_with(marker) || rest.size() < marker.size() + digits) return false;
  const char* first = rest.data() + marker.size();
  const char* last = first + digits;
  const auto [end, error] = std::from_chars(first, last, value, 16);
  if (error != std::errc() || end != last) return false;
  rest.remove_prefix(marker.size() + digits);
  return true;
}

}  // namespace

std::string ComposeHidPath(const LinuxHidPath& parts) {
  char ids[64];
  std::snprintf(ids, sizeof ids, "#vid_%04x&pid_%04x", parts.vendorId, parts.productId);
  std::string path = parts.devnode + ids;
  if (parts.interfaceNumber) {
    std::snprintf(ids, sizeof ids, "&mi_%02x", *parts.interfaceNumber);
    path += ids;
  }
  if (parts.collection != 0) {
    std::snprintf(ids, sizeof ids, "&col%02x", parts.collection);
    path += ids;
  }
  return path;
}

std::optional<LinuxHidPath> ParseHidPath(std::string_view path) {
  const std::size_t hash = path.find('#');
  if (hash == std::string_view::npos || hash == 0) return std::nullopt;
  LinuxHidPath parts;
  parts.devnode = std::string(path.substr(0, hash));
  std::string_view rest = path.substr(hash);
  if (!TakeHex(rest, "#vid_", 4, parts.vendorId) || !TakeHex(rest, "&pid_", 4, parts.productId)) {
    return std::nullopt;
  }
  if (std::uint8_t number = 0; TakeHex(rest, "&mi_", 2, number)) parts.interfaceNumber = number;
  if (!rest.empty() && (!TakeHex(rest, "&col", 2, parts.collection) || parts.collection == 0)) {
    return std::nullopt;
  }
  if (!rest.empty()) return std::nullopt;
  return parts;
}

}  // namespace vexlo
