#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The devices the Linux backend works with, as libudev finds them in sysfs: the hidraw nodes with
// the HID and USB devices above them, the USB device behind a sysfs path, and the event node of a
// mouse. Each call makes its own libudev context, so any thread may call at any time.
namespace vexlo {

// One hidraw node: one HID device, which is one interface of a USB device (or a device on another
// bus).
struct HidrawInfo {
  std::string syspath;     // of the hidraw device
  std::string devnode;     // /dev/hidraw3
  std::string hidSyspath;  // of the HID device above it
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string usbInterfaceSyspath;  // empty when the device is not on USB
  std::string usbDeviceSyspath;     // empty when the device is not on USB
  std::uint8_t interfaceNumber = 0;  // bInterfaceNumber
  bool composite = false;            // the USB device has more than one interface
};

// Every hidraw node present, ordered by sysfs path.
std::vector<HidrawInfo> ListHidrawNodes();

// The present hidraw node `devnode`; none when it is gone.
std::optional<HidrawInfo> HidrawAt(std::string_view devnode);

// A USB device with its usbfs node.
struct UsbDeviceInfo {
  std::string syspath;
  std::string devnode;  // /dev/bus/usb/001/004
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

// The USB device at `syspath`, or above it (an interface); none when nothing present is there.
std::optional<UsbDeviceInfo> UsbDeviceAt(std::string_view syspath);

// The sysfs facts a node of the device tree is known by: its name (the last part of the path),
// what it is and, for USB, its IDs and interface number. None when the device is gone.
struct SysfsNode {
  std::string sysname;
  std::string subsystem;  // "usb", "hid"
  std::string devtype;    // "usb_device", "usb_interface"
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint8_t interfaceNumber = 0;
};
std::optional<SysfsNode> SysfsNodeAt(std::string_view syspath);

// The event node of the first pointer (a device that udev marks ID_INPUT_MOUSE) of a USB device
// with these IDs; none when no such device is present.
std::optional<std::string> PointerEventNode(std::uint16_t vendorId, std::uint16_t productId);

// A mouse as the desktop's input stack knows it: the IDs and the name of its input device.
struct InputPointer {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string name;

  bool operator==(const InputPointer&) const = default;
};

// Every mouse present, on any bus (an input device with an event node that udev marks
// ID_INPUT_MOUSE), ordered by sysfs path.
std::vector<InputPointer> ListMice();

// "0003:0000093A:00002533": the bus, vendor and product of a HID device's HID_ID; none for other
// text.
struct HidId {
  std::uint16_t bus = 0;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};
std::optional<HidId> ParseHidId(std::string_view text);

}  // namespace vexlo
