#pragma once

#include <cstdint>
#include <span>

// Which Linux input event code stands for a HID usage: the keys of the keyboard page, the media and
// browser keys of the consumer page, and the injection device's mouse buttons.
namespace vexlo {

// The key code (KEY_...) of a keyboard-page usage; 0 for a usage without a key.
std::uint16_t KeyboardUsageKey(std::uint8_t usage);

// The key code of a consumer-page usage; 0 for a usage without a key.
std::uint16_t ConsumerUsageKey(std::uint16_t usage);

// The button code (BTN_...) of one mouse-button bit of the injection device (0x01 left, 0x02
// right, 0x04 middle, 0x08 back, 0x10 forward); 0 for any other value.
std::uint16_t MouseButtonKey(std::uint8_t bit);

// Every key and button code the three functions can give, for a device that must be able to send
// them all.
std::span<const std::uint16_t> AllInjectableKeys();

}  // namespace vexlo
