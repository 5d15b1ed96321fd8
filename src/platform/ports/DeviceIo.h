#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "platform/ports/DeviceEventSet.h"
#include "platform/ports/DriverEndpoint.h"
#include "platform/ports/HidDevice.h"

namespace vexlo {

// Opens the endpoints through which the program reaches the mouse: the filter drivers' control
// endpoints and HID collections, and makes the events that drivers signal. The objects it makes
// must be destroyed before it. May block briefly; any thread.
class DeviceIo {
 public:
  virtual ~DeviceIo() = default;

  // Opens the control endpoint of the driver `name` ("hidfiltr_QN5K8W") for reading and writing,
  // not shared, without overlapped I/O; the caller owns `endpoint`. Ok, FileNotFound when no such
  // driver is loaded, AccessDenied, or the platform's error.
  [[nodiscard]] virtual Result OpenDriver(std::string_view name,
                                          std::unique_ptr<DriverEndpoint>& endpoint) = 0;

  // Opens the HID collection at `path` (HidEnumerator) as `options` say and reads its attributes
  // and capabilities; the caller owns `device`. Ok, FileNotFound when no present collection has
  // that path, AccessDenied when the platform keeps the collection to itself (system mice and
  // keyboards), or the platform's error.
  [[nodiscard]] virtual Result OpenHid(std::string_view path, const HidOpenOptions& options,
                                       std::unique_ptr<HidDevice>& device) = 0;

  // Makes `count` auto-reset events, all clear; the caller owns `events`. Ok, or NotEnoughMemory.
  [[nodiscard]] virtual Result CreateEventSet(std::size_t count,
                                              std::unique_ptr<DeviceEventSet>& events) = 0;

  // After OpenDriver answered AccessDenied: the device nodes that this user may not use, separated
  // by commas, for the message that tells the user what to do; empty when the backend cannot name
  // them. Never blocks; the thread that opened.
  virtual std::string DeniedNodes() const { return {}; }
};

}  // namespace vexlo
