#include "platform/linux/DeviceAccessCheck.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/linux/FilterRequests.h"

namespace vexlo {
namespace fs = std::filesystem;
namespace {

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

std::optional<std::uint16_t> HexFile(const fs::path& file) {
  const std::string text = FirstLine(file);
  if (text.empty() || text.size() > 4) return std::nullopt;
  std::uint16_t value = 0;
  for (const char c : text) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'a' && c <= 'f')                     ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F')                     ? c - 'A' + 10
                                                                   : -1;
    if (digit < 0) return std::nullopt;
    value = static_cast<std::uint16_t>(value << 4 | digit);
  }
  return value;
}

// The node that a sysfs device announces in its uevent file (DEVNAME), under the /dev root.
std::optional<std::string> DeviceNode(const fs::path& device, const DeviceAccessRoots& roots) {
  std::ifstream uevent(device / "uevent");
  std::string line;
  while (std::getline(uevent, line)) {
    if (line.starts_with("DEVNAME=")) {
      const std::string name = line.substr(8);
      // Names are relative to /dev; some trees write them whole.
      return name.starts_with("/dev/") ? roots.dev + name.substr(4) : roots.dev + "/" + name;
    }
  }
  return std::nullopt;
}

MouseNodes NodesBelow(const fs::path& usbDevice, const DeviceAccessRoots& roots) {
  MouseNodes nodes;
  nodes.usb = DeviceNode(usbDevice, roots).value_or("");
  std::error_code error;
  // The walk does not follow the links back up the tree (subsystem, driver, device).
  for (fs::recursive_directory_iterator it(usbDevice, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_directory(error) || it->is_symlink(error)) continue;
    const fs::path& path = it->path();
    const std::string parent = path.parent_path().filename().string();
    const std::string name = path.filename().string();
    std::optional<std::string> node;
    if (parent == "hidraw") {
      if ((node = DeviceNode(path, roots))) nodes.hidraw.push_back(*node);
    } else if (name.starts_with("event") && parent.starts_with("input")) {
      if ((node = DeviceNode(path, roots))) nodes.event.push_back(*node);
    }
  }
  std::sort(nodes.hidraw.begin(), nodes.hidraw.end());
  std::sort(nodes.event.begin(), nodes.event.end());
  return nodes;
}

}  // namespace

bool KernelNodeAccess::CanReadWrite(const std::string& node) const {
  return ::access(node.c_str(), R_OK | W_OK) == 0;
}

std::vector<MouseNodes> FindMice(const DeviceAccessRoots& roots) {
  std::vector<fs::path> devices;
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::path(roots.sysfs) / "bus/usb/devices", error)) {
    // Interfaces are named "1-2:1.0"; devices carry no colon.
    if (entry.path().filename().string().find(':') != std::string::npos) continue;
    const fs::path device = entry.path();
    if (HexFile(device / "idVendor") == filter::kMouseVendorId &&
        HexFile(device / "idProduct") == filter::kMouseProductId) {
      devices.push_back(device);
    }
  }
  std::sort(devices.begin(), devices.end());
  std::vector<MouseNodes> mice;
  for (const fs::path& device : devices) {
    const fs::path real = fs::canonical(device, error);
    mice.push_back(NodesBelow(error ? device : real, roots));
  }
  return mice;
}

DeviceAccessReport CheckDeviceAccess(const DeviceAccessRoots& roots, const NodeAccess& access) {
  DeviceAccessReport report;
  const std::vector<MouseNodes> mice = FindMice(roots);
  report.mice = mice.size();
  if (mice.empty()) return report;
  const auto check = [&](const std::string& node) {
    if (!node.empty() && !access.CanReadWrite(node)) report.denied.push_back(node);
  };
  for (const MouseNodes& mouse : mice) {
    check(mouse.usb);
    std::for_each(mouse.hidraw.begin(), mouse.hidraw.end(), check);
    std::for_each(mouse.event.begin(), mouse.event.end(), check);
  }
  check(roots.UinputNode());
  return report;
}

std::string DeniedNodesText(const DeviceAccessReport& report) {
  std::string text;
  for (const std::string& node : report.denied) {
    if (!text.empty()) text += ", ";
    text += node;
  }
  return text;
}

}  // namespace vexlo
