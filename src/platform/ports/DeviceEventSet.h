#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Result.h"

namespace vexlo {

// A fixed number of auto-reset events that drivers and the program signal and one thread waits
// on (DeviceIo::CreateEventSet). Each event is named to a driver by a 64-bit value (a handle
// widened to a signed 64-bit integer), which the driver signals on its own.
class DeviceEventSet {
 public:
  virtual ~DeviceEventSet() = default;

  // How many events the set holds.
  virtual std::size_t Count() const = 0;

  // The value that names event `index` to a driver; distinct for every event of every set of the
  // same DeviceIo. Never blocks; any thread.
  virtual std::int64_t DriverValue(std::size_t index) const = 0;

  // Signals event `index`; it stays signalled until a wait takes it. Never blocks; any thread.
  virtual void Signal(std::size_t index) = 0;

  // Blocks until at least one event is signalled, resets the lowest signalled one and gives its
  // index. Ok, or the platform's error when it cannot wait (the caller waits a while and tries
  // again). One waiting thread at a time.
  [[nodiscard]] virtual Result WaitAny(std::size_t& index) = 0;
};

}  // namespace vexlo
