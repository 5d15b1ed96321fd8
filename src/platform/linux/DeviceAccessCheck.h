#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether this user may use the mouse's device nodes: the USB device node (vendor transfers), its
// hidraw nodes (button reports), its event nodes (button interception and report rate) and the
// uinput node (the pointer mirror and the injection device). Found by walking sysfs, so that the
// roots can be a test's own tree.
namespace vexlo {

// Where sysfs and the device nodes are.
struct DeviceAccessRoots {
  std::string sysfs = "/sys";
  std::string dev = "/dev";

  std::string UinputNode() const { return dev + "/uinput"; }
};

// Tells whether this user may open a device node for reading and writing. The desktop asks the
// kernel; tests answer for a user other than root.
class NodeAccess {
 public:
  virtual ~NodeAccess() = default;
  virtual bool CanReadWrite(const std::string& node) const = 0;
};

// Asks the kernel (access(2) with read and write).
class KernelNodeAccess final : public NodeAccess {
 public:
  bool CanReadWrite(const std::string& node) const override;
};

// The device nodes of one mouse, under the /dev root.
struct MouseNodes {
  std::string usb;                  // /dev/bus/usb/001/004
  std::vector<std::string> hidraw;  // /dev/hidraw3, ...
  std::vector<std::string> event;   // /dev/input/event7, ...
};

// Every mouse (USB vendor 0x093A, product 0x2533) present, ordered by sysfs name.
std::vector<MouseNodes> FindMice(const DeviceAccessRoots& roots);

struct DeviceAccessReport {
  std::size_t mice = 0;
  std::vector<std::string> denied;  // nodes of the mice, and the uinput node, this user may not use
};

// Checks the nodes of every mouse present, and the uinput node when there is a mouse at all.
DeviceAccessReport CheckDeviceAccess(const DeviceAccessRoots& roots, const NodeAccess& access);

// The nodes of the report that may not be used, separated by commas; empty when the mouse may be used or is
// not there.
std::string DeniedNodesText(const DeviceAccessReport& report);

}  // namespace vexlo
