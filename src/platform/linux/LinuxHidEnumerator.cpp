#include "platform/linux/LinuxHidEnumerator.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/linux/HidrawDevice.h"
#include "platform/linux/LinuxHidPath.h"
#include "platform/linux/UdevDevices.h"
#include "platform/linux/UniqueFd.h"

namespace vexlo {
namespace {

// The input-injection device's identity.
constexpr std::uint16_t kInjectionVendorId = 0x1BCF;
constexpr std::uint16_t kInjectionProductId = 0x05E3;

// How many top-level collections the node's descriptor declares; 1 when it cannot be read.
std::size_t CollectionCount(const std::string& devnode) {
  UniqueFd node(::open(devnode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  HidDescriptorLayout layout;
  if (!node.valid() || ReadHidrawLayout(node.get(), layout) != Result::Ok) return 1;
  return std::max<std::size_t>(layout.collections.size(), 1);
}

struct CollectionKey {
  std::string hidSyspath;
  std::uint8_t collection = 0;
};

std::string KeyText(const CollectionKey& key) {
  return key.hidSyspath + "#" + std::to_string(key.collection);
}

std::optional<CollectionKey> ParseCollectionKey(const std::string& key) {
  const std::size_t hash = key.rfind('#');
  if (hash == std::string::npos) return std::nullopt;
  CollectionKey parsed{key.substr(0, hash)};
  const char* first = key.data() + hash + 1;
  const char* last = key.data() + key.size();
  const auto [end, error] = std::from_chars(first, last, parsed.collection);
  if (error != std::errc() || end != last) return std::nullopt;
  return parsed;
}

std::optional<HidrawInfo> HidrawOfHid(const std::string& hidSyspath) {
  for (HidrawInfo& info : ListHidrawNodes()) {
    if (info.hidSyspath == hidSyspath) return std::move(info);
  }
  return std::nullopt;
}

std::string Ids(const char* format, std::uint16_t vendor, std::uint16_t product) {
  char text[64];
  std::snprintf(text, sizeof text, format, vendor, product);
  return text;
}

std::string HexSuffix(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

LinuxHidEnumerator::LinuxHidEnumerator(std::string injectionNode)
    : injectionNode_(std::move(injectionNode)) {}

Result LinuxHidEnumerator::ListInterfacePaths(std::vector<std::string>& paths) {
  paths.clear();
  for (const HidrawInfo& info : ListHidrawNodes()) {
    LinuxHidPath path{.devnode = info.devnode,
                      .vendorId = info.vendorId,
                      .productId = info.productId,
                      .interfaceNumber = info.composite ? std::optional(info.interfaceNumber)
                                                        : std::nullopt};
    const std::size_t collections = CollectionCount(info.devnode);
    if (collections == 1) {
      paths.push_back(ComposeHidPath(path));
      continue;
    }
    for (std::size_t c = 1; c <= collections && c <= 0xFF; ++c) {
      path.collection = static_cast<std::uint8_t>(c);
      paths.push_back(ComposeHidPath(path));
    }
  }
  if (::access(injectionNode_.c_str(), F_OK) == 0) {
    paths.push_back(ComposeHidPath(
        {.devnode = injectionNode_,
         .vendorId = kInjectionVendorId,
         .productId = kInjectionProductId,
         .interfaceNumber = std::nullopt}));
  }
  return Result::Ok;
}

Result LinuxHidEnumerator::InterfaceNode(std::string_view path, DeviceNode& node) {
  const std::optional<LinuxHidPath> parts = ParseHidPath(path);
  if (!parts) return Result::NotFound;
  const std::optional<HidrawInfo> info = HidrawAt(parts->devnode);
  if (!info) return Result::NotFound;
  node = NodeOf(KeyText({info->hidSyspath, parts->collection}));
  return Result::Ok;
}

Result LinuxHidEnumerator::ParentNode(DeviceNode node, DeviceNode& parent) {
  const std::optional<std::string> key = KeyOf(node);
  if (!key) return Result::NotFound;
  if (const std::optional<CollectionKey> collection = ParseCollectionKey(*key)) {
    const std::optional<HidrawInfo> info = HidrawOfHid(collection->hidSyspath);
    if (!info || info->usbDeviceSyspath.empty()) return Result::NotFound;
    parent = NodeOf(info->composite ? info->usbInterfaceSyspath : info->usbDeviceSyspath);
    return Result::Ok;
  }
  const std::optional<SysfsNode> sysfs = SysfsNodeAt(*key);
  if (!sysfs || sysfs->devtype != "usb_interface") return Result::NotFound;
  const std::optional<UsbDeviceInfo> usb = UsbDeviceAt(*key);
  if (!usb) return Result::NotFound;
  parent = NodeOf(usb->syspath);
  return Result::Ok;
}

Result LinuxHidEnumerator::NodeInstanceId(DeviceNode node, std::string& id) {
  const std::optional<std::string> key = KeyOf(node);
  if (!key) return Result::NotFound;
  if (const std::optional<CollectionKey> collection = ParseCollectionKey(*key)) {
    const std::optional<HidrawInfo> info = HidrawOfHid(collection->hidSyspath);
    const std::optional<SysfsNode> hid = SysfsNodeAt(collection->hidSyspath);
    if (!info || !hid) return Result::NotFound;
    id = Ids("HID\\VID_%04X&PID_%04X", info->vendorId, info->productId);
    if (info->composite) id += HexSuffix("&MI_%02X", info->interfaceNumber);
    if (collection->collection != 0) id += HexSuffix("&COL%02X", collection->collection);
    id += "\\" + hid->sysname;
    return Result::Ok;
  }
  const std::optional<SysfsNode> sysfs = SysfsNodeAt(*key);
  if (!sysfs || sysfs->subsystem != "usb") return Result::NotFound;
  id = Ids("USB\\VID_%04X&PID_%04X", sysfs->vendorId, sysfs->productId);
  if (sysfs->devtype == "usb_interface") id += HexSuffix("&MI_%02X", sysfs->interfaceNumber);
  id += "\\" + sysfs->sysname;
  return Result::Ok;
}

Result LinuxHidEnumerator::NodeDriverKey(DeviceNode node, std::string& key) {
  const std::optional<std::string> known = KeyOf(node);
  if (!known) return Result::NotFound;
  const std::optional<CollectionKey> collection = ParseCollectionKey(*known);
  const std::string syspath = collection ? collection->hidSyspath : *known;
  if (!SysfsNodeAt(syspath)) return Result::NotFound;
  key = syspath;
  return Result::Ok;
}

DeviceNode LinuxHidEnumerator::NodeOf(const std::string& key) {
  std::scoped_lock lock(mutex_);
  const auto found = std::find(keys_.begin(), keys_.end(), key);
  if (found != keys_.end()) return static_cast<DeviceNode>(found - keys_.begin() + 1);
  keys_.push_back(key);
  return static_cast<DeviceNode>(keys_.size());
}

std::optional<std::string> LinuxHidEnumerator::KeyOf(DeviceNode node) {
  std::scoped_lock lock(mutex_);
  if (node == 0 || node > keys_.size()) return std::nullopt;
  return keys_[node - 1];
}

}  // namespace vexlo
