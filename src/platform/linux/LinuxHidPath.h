#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The interface paths of the Linux backend. A path names the device node that carries the
// collection, then the identifiers the platform's interface paths carry, taken from sysfs and the
// report descriptor, in the form HidEnumerator describes:
//   /dev/hidraw3#vid_093a&pid_2533&mi_01&col02
// "&mi_" only for an interface of a composite USB device, "&col" only for one of several top-level
// collections of one interface (numbered from 1, in descriptor order).
namespace vexlo {

struct LinuxHidPath {
  std::string devnode;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::optional<std::uint8_t> interfaceNumber;  // composite devices only
  std::uint8_t collection = 0;                  // 0: the interface's only collection

  bool operator==(const LinuxHidPath&) const = default;
};

std::string ComposeHidPath(const LinuxHidPath& parts);

// The parts of a path that ComposeHidPath made; none for any other text.
std::optional<LinuxHidPath> ParseHidPath(std::string_view path);

}  // namespace vexlo
