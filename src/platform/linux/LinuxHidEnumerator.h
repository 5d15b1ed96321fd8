#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports/HidEnumerator.h"

namespace vexlo {

// The HidEnumerator port over libudev and hidraw. Every top-level collection of every hidraw node
// is an interface (LinuxHidPath); the collections come from the node's report descriptor, so a node
// that this user may not open is listed once, as its interface. While `injectionNode` exists, the
// input-injection device is listed too, as a path on it (the device itself is made there when it is
// opened, see LinuxDeviceIo).
//
// The device tree is the platform's as the logic expects it: a collection sits below its USB
// interface when the USB device is composite and right below the USB device otherwise. Instance
// identifiers are written the way the logic reads them ("HID\VID_093A&PID_2533&MI_01&COL02\..."),
// and a USB node's driver key is its sysfs path, which is how the HID filter finds the device.
class LinuxHidEnumerator final : public HidEnumerator {
 public:
  explicit LinuxHidEnumerator(std::string injectionNode);

  Result ListInterfacePaths(std::vector<std::string>& paths) override;
  Result InterfaceNode(std::string_view path, DeviceNode& node) override;
  Result ParentNode(DeviceNode node, DeviceNode& parent) override;
  Result NodeInstanceId(DeviceNode node, std::string& id) override;
  Result NodeDriverKey(DeviceNode node, std::string& key) override;

 private:
  // A node is known by a key: the sysfs path of a USB node, or the HID device's sysfs path with
  // "#" and the collection number for a collection. Numbers stay the same for the enumerator's life.
  DeviceNode NodeOf(const std::string& key);
  std::optional<std::string> KeyOf(DeviceNode node);

  std::string injectionNode_;
  std::mutex mutex_;  // guards keys_
  std::vector<std::string> keys_;  // node n is keys_[n - 1]
};

}  // namespace vexlo
