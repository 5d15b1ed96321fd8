#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/linux/DriverEventRegistry.h"
#include "platform/linux/FilterRequests.h"
#include "platform/linux/PointerForwarder.h"
#include "platform/ports/DriverEndpoint.h"

namespace vexlo {

// The mouse filter's control endpoint in user space. The button interception table (0x222114) and
// the report-rate factor (0x222294) become the rules of a PointerForwarder on the mouse's event
// node, which runs only while something needs it: an intercepted left, right or middle button, or
// a rate below the full 1000 reports a second. Otherwise the desktop reads the mouse untouched.
// The forwarder signals the event that each enabled record names. Destroying the endpoint, as
// closing the link does, ends the grab.
class LinuxMouseFilter final : public DriverEndpoint {
 public:
  LinuxMouseFilter(std::shared_ptr<DriverEventRegistry> events, std::string uinputNode);
  ~LinuxMouseFilter() override;

  // Ok; InvalidParameter for a table or record of the wrong size or a factor outside (0, 1];
  // DeviceNotConnected when the rules need the mouse and it is not there; else the error that kept
  // the forwarder from starting (AccessDenied, Busy). Any other code: InvalidFunction.
  Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                   std::span<std::uint8_t> output, std::size_t& returned) override;

 private:
  Result Apply(const PointerRules& rules);
  void OnButton(std::size_t record);

  std::shared_ptr<DriverEventRegistry> events_;
  std::string uinputNode_;
  // Lock order: requestMutex_ before the forwarder's own locks; tableMutex_ is taken by the
  // forwarding thread and never held while the forwarder is made or destroyed.
  std::mutex requestMutex_;  // guards rules_ and forwarder_
  PointerRules rules_;
  std::unique_ptr<PointerForwarder> forwarder_;
  std::mutex tableMutex_;  // guards table_
  filter::InterceptTable table_{};
};

}  // namespace vexlo
