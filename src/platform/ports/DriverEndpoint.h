#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/Result.h"

namespace vexlo {

// An opened control endpoint of a driver (DeviceIo::OpenDriver). Destroying it closes it.
class DriverEndpoint {
 public:
  virtual ~DriverEndpoint() = default;

  // Sends the I/O control request `code` with exactly the bytes of `input` and, when the request
  // answers, lets the driver fill at most `output.size()` bytes of `output`; `returned` is how
  // many it filled (0 on failure). Blocks until the driver has answered. Any thread; requests from
  // several threads may run at once, so callers that need an order serialise them.
  // Ok, or the driver's Windows error number: InvalidFunction for an unknown code,
  // InvalidParameter for an input of the wrong size, InsufficientBuffer when `output` is too small,
  // DeviceNotConnected when the device the request is for has gone, and others the driver chooses.
  [[nodiscard]] virtual Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                         std::span<std::uint8_t> output, std::size_t& returned) = 0;
};

}  // namespace vexlo
