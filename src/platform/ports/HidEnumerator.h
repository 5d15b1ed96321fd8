#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"

namespace vexlo {

// Identifies one node of the platform's device tree (a HID collection, a USB interface, a USB
// device). Valid while the device is present.
using DeviceNode = std::uint32_t;

// The HID interfaces present on the machine and the device tree above them.
//
// An interface path carries the platform's hardware identifiers in text: "vid_XXXX" and
// "pid_XXXX" (vendor and product, hexadecimal), "&mi_XX" for an interface of a composite USB
// device and "&colXX" for one of several top-level collections of an interface, written in any
// case, for example
//   \\?\hid#vid_093a&pid_2533&mi_01&col02#8&1e4a9b2c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}
// The path is also what DeviceIo::OpenHid takes.
//
// Every call may block briefly while the platform walks its device tree; any thread.
class HidEnumerator {
 public:
  virtual ~HidEnumerator() = default;

  // Replaces `paths` with the path of every HID interface present, in the platform's order (stable
  // while nothing is plugged or unplugged). Ok, or HidEnumerationFailed when the platform cannot
  // list them (then `paths` is empty).
  [[nodiscard]] virtual Result ListInterfacePaths(std::vector<std::string>& paths) = 0;

  // The device node of the HID collection behind `path`. Ok, or NotFound when no present
  // interface has that path.
  [[nodiscard]] virtual Result InterfaceNode(std::string_view path, DeviceNode& node) = 0;

  // The node above `node` in the device tree. Ok, or NotFound when the node is gone or is a root.
  [[nodiscard]] virtual Result ParentNode(DeviceNode node, DeviceNode& parent) = 0;

  // The node's device instance identifier ("HID\VID_093A&PID_2533&MI_01&COL02\8&1E4A9B2C&0&0001").
  // Ok, or NotFound when the node is gone.
  [[nodiscard]] virtual Result NodeInstanceId(DeviceNode node, std::string& id) = 0;

  // The node's driver key ("{745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0007"): the name under which
  // the filter drivers know the device. Ok, NotFound when the node is gone, or FileNotFound when it
  // has no driver.
  [[nodiscard]] virtual Result NodeDriverKey(DeviceNode node, std::string& key) = 0;
};

}  // namespace vexlo
