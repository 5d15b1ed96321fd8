#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Inbox.h"
#include "device/DeviceLink.h"
#include "platform/ports/MessageTarget.h"
#include "platform/ports/Platform.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"

namespace vexlo::test {

// The simulated machine in-process, with its ports.
struct SimMachine {
  explicit SimMachine(SimState state = {})
      : sim(std::make_shared<SimEnvironment>(std::move(state))) {
    AddSimPorts(platform, sim);
  }

  std::shared_ptr<SimEnvironment> sim;
  Platform platform;
};

using ButtonEvent = std::pair<int, std::uint16_t>;  // pressed flag, event code

inline DeviceLink::EventCallback RecordInto(Inbox<ButtonEvent>& inbox) {
  return [&inbox](int pressed, std::uint16_t code) { inbox.Add({pressed, code}); };
}

// A window that keeps what is posted to it.
class RecordingTarget final : public MessageTarget {
 public:
  struct Message {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Message&) const = default;
  };

  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.Add({message, wParam, lParam});
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }

  Inbox<Message> posted;
};

// Bytes of the mouse filter's button interception table: the records named in `enabled` (0..5)
// carry the event values of the link.
inline std::vector<std::uint8_t> InterceptionTable(const DeviceLink& link,
                                                   std::initializer_list<std::size_t> enabled) {
  std::vector<std::uint8_t> table(144, 0);
  for (std::size_t record = 0; record < 6; ++record) {
    std::uint8_t* bytes = &table[record * 24];
    bytes[4] = static_cast<std::uint8_t>(1u << record);  // button flag, little-endian
    if (std::find(enabled.begin(), enabled.end(), record) == enabled.end()) continue;
    bytes[0] = 1;
    bytes[1] = 2;
    const auto value = static_cast<std::uint64_t>(link.EventDriverValue(record));
    for (std::size_t i = 0; i < 8; ++i) bytes[16 + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return table;
}

}  // namespace vexlo::test
