#pragma once

#include <linux/input.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/Result.h"
#include "platform/linux/UniqueFd.h"

namespace vexlo {

// What a virtual input device is and which events it can send.
struct UinputSetup {
  std::string name;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::vector<std::uint16_t> keys;           // EV_KEY codes (keys and buttons)
  std::vector<std::uint16_t> relativeAxes;   // EV_REL codes
  std::vector<std::uint16_t> miscellaneous;  // EV_MSC codes
};

// A virtual input device made through the uinput node. The kernel removes it when this object is
// destroyed, and also when the process ends in any way, which releases whatever it held down.
class UinputDevice {
 public:
  // Ok; FileNotFound without a uinput node; AccessDenied when this user may not open it; else the
  // platform's error.
  [[nodiscard]] static Result Create(const std::string& uinputNode, const UinputSetup& setup,
                                     std::unique_ptr<UinputDevice>& device);
  ~UinputDevice();
  UinputDevice(const UinputDevice&) = delete;
  UinputDevice& operator=(const UinputDevice&) = delete;

  // Sends the events as they are (end a frame with SYN_REPORT). Blocks only briefly. Ok, or the
  // platform's error. One thread at a time.
  [[nodiscard]] Result Emit(std::span<const input_event> events);

 private:
  explicit UinputDevice(UniqueFd node) : node_(std::move(node)) {}
  UniqueFd node_;
};

// One input event, with the time left for the kernel to fill in.
constexpr input_event InputEvent(std::uint16_t type, std::uint16_t code, std::int32_t value) {
  return input_event{.time = {}, .type = type, .code = code, .value = value};
}

}  // namespace vexlo
