#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "platform/ports/HidDevice.h"
#include "platform/ports/HidEnumerator.h"
#include "platform/sim/SimState.h"

namespace vexlo {

// Names one endpoint that a host opened on the simulated environment; 0 names none.
using SimEndpointId = std::uint64_t;

struct SimHidInfo {
  HidAttributes attributes;
  HidCapabilities capabilities;
};

enum class SimPointerSetting : std::uint32_t {
  DoubleClickTime = 0,
  PointerSpeed = 1,
  WheelScrollLines = 2,
};

// What the environment tells the holder of an open endpoint, from whichever thread changed the
// environment. The environment holds its own lock during the call: the listener must return
// quickly and must not call the environment. No call comes after CloseEndpoint has returned.
class SimEndpointListener {
 public:
  virtual ~SimEndpointListener() = default;
  // An input report of an open HID collection.
  virtual void OnInputReport(std::span<const std::uint8_t> report) = 0;
  // A driver signals an event that the holder named to it.
  virtual void OnEventSignalled(std::int64_t driverValue) = 0;
  // The device behind the endpoint has gone; the endpoint stays useless until it is closed.
  virtual void OnGone() = 0;
};

// The simulated environment as a host (the program) reaches it: the device tree, the endpoints of
// the drivers and HID collections, and the desktop. Answered in-process by SimEnvironment, or by a
// running vexlo-sim through SimClient; the sim ports adapt it to the platform ports.
// Every call returns quickly; any thread.
class SimService {
 public:
  virtual ~SimService() = default;

  // As HidEnumerator.
  [[nodiscard]] virtual Result ListHidPaths(std::vector<std::string>& paths) = 0;
  [[nodiscard]] virtual Result InterfaceNode(std::string_view path, DeviceNode& node) = 0;
  [[nodiscard]] virtual Result ParentNode(DeviceNode node, DeviceNode& parent) = 0;
  [[nodiscard]] virtual Result NodeInstanceId(DeviceNode node, std::string& id) = 0;
  [[nodiscard]] virtual Result NodeDriverKey(DeviceNode node, std::string& key) = 0;

  // Opens a driver's control endpoint or a HID collection (as DeviceIo); `listener` hears about
  // the endpoint until CloseEndpoint(id) and must outlive it.
  [[nodiscard]] virtual Result OpenDriver(std::string_view name, SimEndpointListener& listener,
                                          SimEndpointId& id) = 0;
  [[nodiscard]] virtual Result OpenHid(std::string_view path, const HidOpenOptions& options,
                                       SimEndpointListener& listener, SimEndpointId& id,
                                       SimHidInfo& info) = 0;
  virtual void CloseEndpoint(SimEndpointId id) = 0;

  // As DriverEndpoint::IoControl. InvalidHandle for an endpoint that is not open.
  [[nodiscard]] virtual Result IoControl(SimEndpointId id, std::uint32_t code,
                                         std::span<const std::uint8_t> input,
                                         std::span<std::uint8_t> output, std::size_t& returned) = 0;
  // As HidDevice::WriteOutputReport and HidDevice::SetFeature.
  [[nodiscard]] virtual Result WriteReport(SimEndpointId id,
                                           std::span<const std::uint8_t> report) = 0;
  [[nodiscard]] virtual Result SetFeature(SimEndpointId id,
                                          std::span<const std::uint8_t> report) = 0;

  // The desktop. Setting the pointer speed outside 1..20 is refused with InvalidParameter.
  [[nodiscard]] virtual Result GetPointerSettings(SimPointerSettings& settings) = 0;
  [[nodiscard]] virtual Result SetPointerSetting(SimPointerSetting which, std::uint32_t value) = 0;
  virtual std::optional<std::string> ForegroundPath() = 0;

  // Installs the split variant of the filter drivers and replugs the mouse (when it is plugged).
  // Ok, or GeneralFailure when a setup fault waited; the replug happens either way. Blocks while
  // the mouse goes and comes back.
  [[nodiscard]] virtual Result InstallSplitDrivers() = 0;
};

}  // namespace vexlo
