#pragma once

#include <memory>

#include "platform/ports/DeviceIo.h"
#include "platform/sim/SimService.h"

namespace vexlo {

class DriverEventRegistry;

// The DeviceIo port over a simulated environment, in-process or in a running vexlo-sim. Input
// reports wait in a queue of each opened collection until they are read (the oldest are dropped
// beyond 32); the events the drivers signal are kept here and named to them by numbers of this
// object.
class SimDeviceIo final : public DeviceIo {
 public:
  explicit SimDeviceIo(std::shared_ptr<SimService> sim);
  ~SimDeviceIo() override;

  Result OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) override;
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override;
  Result CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) override;

 private:
  std::shared_ptr<SimService> sim_;
  std::shared_ptr<DriverEventRegistry> events_;
};

}  // namespace vexlo
