#pragma once

#include <array>
#include <span>
#include <string_view>

#include "platform/ports/HidEnumerator.h"
#include "platform/sim/SimService.h"

// The devices the simulated machine has: the mouse (as a composite USB device or a plain one),
// the injection device, and devices of other makers that the program must pass over.
namespace vexlo {

enum class SimDeviceOwner {
  Mouse,      // present while the mouse is plugged in
  Injection,  // present while the injection device is
  Other,      // always present
};

struct SimNode {
  DeviceNode id;
  DeviceNode parent;  // 0 for a root
  SimDeviceOwner owner;
  std::string_view instanceId;
  std::string_view driverKey;
};

struct SimInterface {
  DeviceNode node;
  std::string_view path;
  SimHidInfo info;
  bool systemOwned;  // a system mouse or keyboard: opening it is refused
};

// The nodes and interfaces of one physical device.
struct SimDeviceGroup {
  std::span<const SimNode> nodes;
  std::span<const SimInterface> interfaces;
};

// The machine's devices in enumeration order, with the mouse laid out as a composite or a plain
// device.
std::array<SimDeviceGroup, 3> SimDeviceGroups(bool compositeMouse);

// The mouse's consumer-control collection, which sends the button reports, and the injection
// device's collection; the same nodes in both layouts.
inline constexpr DeviceNode kSimButtonCollectionNode = 0x15;
inline constexpr DeviceNode kSimInjectionNode = 0x21;

}  // namespace vexlo
