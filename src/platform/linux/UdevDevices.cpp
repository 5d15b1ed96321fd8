#include "platform/linux/UdevDevices.h"

#include <algorithm>
#include <charconv>

#include "platform/linux/UdevPtrs.h"

namespace vexlo {
namespace {

std::string_view Text(const char* value) {
  return value ? std::string_view(value) : std::string_view();
}

template <typename T>
std::optional<T> HexField(std::string_view text) {
  T value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

template <typename T>
T HexAttribute(udev_device* device, const char* name) {
  // sysfs values end with a newline, which libudev strips; some are padded in front
  // (bNumInterfaces reads " 2").
  std::string_view text = Text(udev_device_get_sysattr_value(device, name));
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return HexField<T>(text).value_or(0);
}

// The `index`-th of the fields that '/' separates in `text`; empty when there are fewer.
std::string_view SlashField(std::string_view text, std::size_t index) {
  for (; index > 0; --index) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return {};
    text.remove_prefix(slash + 1);
  }
  return text.substr(0, text.find('/'));
}

std::vector<UdevDevicePtr> Enumerate(udev* context, const char* subsystem) {
  std::vector<UdevDevicePtr> devices;
  UdevEnumeratePtr enumerate(udev_enumerate_new(context));
  if (!enumerate) return devices;
  udev_enumerate_add_match_subsystem(enumerate.get(), subsystem);
  if (udev_enumerate_scan_devices(enumerate.get()) < 0) return devices;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
    UdevDevicePtr device(udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
    if (device) devices.push_back(std::move(device));
  }
  return devices;
}

std::optional<HidrawInfo> Describe(udev_device* hidraw) {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  const char* devnode = udev_device_get_devnode(hidraw);
  if (!hid || !devnode) return std::nullopt;
  const std::optional<HidId> id = ParseHidId(Text(udev_device_get_property_value(hid, "HID_ID")));
  if (!id) return std::nullopt;
  HidrawInfo info;
  info.syspath = udev_device_get_syspath(hidraw);
  info.devnode = devnode;
  info.hidSyspath = udev_device_get_syspath(hid);
  info.vendorId = id->vendorId;
  info.productId = id->productId;
  udev_device* interface =
      udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_interface");
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_device");
  if (interface && usb) {
    info.usbInterfaceSyspath = udev_device_get_syspath(interface);
    info.usbDeviceSyspath = udev_device_get_syspath(usb);
    info.interfaceNumber = HexAttribute<std::uint8_t>(interface, "bInterfaceNumber");
    info.composite = HexAttribute<std::uint8_t>(usb, "bNumInterfaces") > 1;
  }
  return info;
}

std::optional<UsbDeviceInfo> DescribeUsb(udev_device* usb) {
  const char* devnode = udev_device_get_devnode(usb);
  if (!devnode) return std::nullopt;
  return UsbDeviceInfo{.syspath = udev_device_get_syspath(usb),
                       .devnode = devnode,
                       .vendorId = HexAttribute<std::uint16_t>(usb, "idVendor"),
                       .productId = HexAttribute<std::uint16_t>(usb, "idProduct")};
}

}  // namespace

std::optional<HidId> ParseHidId(std::string_view text) {
  // Bus, vendor and product: 4, 8 and 8 hexadecimal digits.
  if (text.size() != 22 || text[4] != ':' || text[13] != ':') return std::nullopt;
  const auto bus = HexField<std::uint16_t>(text.substr(0, 4));
  const auto vendor = HexField<std::uint32_t>(text.substr(5, 8));
  const auto product = HexField<std::uint32_t>(text.substr(14, 8));
  if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return std::nullopt;
  return HidId{*bus, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::vector<HidrawInfo> ListHidrawNodes() {
  std::vector<HidrawInfo> nodes;
  UdevPtr context(udev_new());
  if (!context) return nodes;
  for (const UdevDevicePtr& device : Enumerate(context.get(), "hidraw")) {
    if (std::optional<HidrawInfo> info = Describe(device.get())) nodes.push_back(std::move(*info));
  }
  return nodes;
}

std::optional<HidrawInfo> HidrawAt(std::string_view devnode) {
  for (HidrawInfo& info : ListHidrawNodes()) {
    if (info.devnode == devnode) return std::move(info);
  }
  return std::nullopt;
}

std::optional<UsbDeviceInfo> UsbDeviceAt(std::string_view syspath) {
  UdevPtr context(udev_new());
  if (!context) return std::nullopt;
  UdevDevicePtr device(udev_device_new_from_syspath(context.get(), std::string(syspath).c_str()));
  if (!device) return std::nullopt;
  if (Text(udev_device_get_devtype(device.get())) == "usb_device") {
    return DescribeUsb(device.get());
  }
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device");
  return usb ? DescribeUsb(usb) : std::nullopt;
}

std::optional<SysfsNode> SysfsNodeAt(std::string_view syspath) {
  UdevPtr context(udev_new());
  if (!context) return std::nullopt;
  UdevDevicePtr device(udev_device_new_from_syspath(context.get(), std::string(syspath).c_str()));
  if (!device) return std::nullopt;
  SysfsNode node{.sysname = std::string(Text(udev_device_get_sysname(device.get()))),
                 .subsystem = std::string(Text(udev_device_get_subsystem(device.get()))),
                 .devtype = std::string(Text(udev_device_get_devtype(device.get())))};
  udev_device* usb = node.devtype == "usb_device"
                         ? device.get()
                         : udev_device_get_parent_with_subsystem_devtype(device.get(), "usb",
                                                                         "usb_device");
  if (usb) {
    node.vendorId = HexAttribute<std::uint16_t>(usb, "idVendor");
    node.productId = HexAttribute<std::uint16_t>(usb, "idProduct");
  }
  if (node.devtype == "usb_interface") {
    node.interfaceNumber = HexAttribute<std::uint8_t>(device.get(), "bInterfaceNumber");
  }
  return node;
}

std::optional<std::string> PointerEventNode(std::uint16_t vendorId, std::uint16_t productId) {
  UdevPtr context(udev_new());
  if (!context) return std::nullopt;
  for (const UdevDevicePtr& device : Enumerate(context.get(), "input")) {
    // The evdev node, not the legacy mouseN node of the same device.
    const char* devnode = udev_device_get_devnode(device.get());
    if (!devnode || !Text(udev_device_get_sysname(device.get())).starts_with("event") ||
        Text(udev_device_get_property_value(device.get(), "ID_INPUT_MOUSE")) != "1") {
      continue;
    }
    udev_device* usb =
        udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device");
    if (usb && HexAttribute<std::uint16_t>(usb, "idVendor") == vendorId &&
        HexAttribute<std::uint16_t>(usb, "idProduct") == productId) {
      return std::string(devnode);
    }
  }
  return std::nullopt;
}

std::vector<InputPointer> ListMice() {
  std::vector<InputPointer> mice;
  UdevPtr context(udev_new());
  if (!context) return mice;
  for (const UdevDevicePtr& device : Enumerate(context.get(), "input")) {
    if (!Text(udev_device_get_sysname(device.get())).starts_with("event") ||
        Text(udev_device_get_property_value(device.get(), "ID_INPUT_MOUSE")) != "1") {
      continue;
    }
    udev_device* input =
        udev_device_get_parent_with_subsystem_devtype(device.get(), "input", nullptr);
    if (!input) continue;
    // "bus/vendor/product/version", in hexadecimal.
    const std::string_view product = Text(udev_device_get_property_value(input, "PRODUCT"));
    mice.push_back({HexField<std::uint16_t>(SlashField(product, 1)).value_or(0),
                    HexField<std::uint16_t>(SlashField(product, 2)).value_or(0),
                    std::string(Text(udev_device_get_sysattr_value(input, "name")))});
  }
  return mice;
}

}  // namespace vexlo
