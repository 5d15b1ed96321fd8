#pragma once

#include <cstdint>

// The Linux input codes (linux/input-event-codes.h) of the HID usages that the injection device
// takes, as the kernel's HID driver maps them; 0 (KEY_RESERVED) for a usage without one.
namespace vexlo {

// A keyboard-page usage (0x07), modifiers and the keyboard page's media keys included.
std::uint16_t LinuxKeyOfKeyboardUsage(std::uint8_t usage);

// A consumer-page usage (0x0C): the media, browser and application keys.
std::uint16_t LinuxKeyOfConsumerUsage(std::uint16_t usage);

// One mouse-button bit of the injection device's button report (0x01 left, 0x02 right, 0x04
// middle, 0x08 back, 0x10 forward): BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA.
std::uint16_t LinuxButtonOfMouseBit(std::uint8_t bit);

}  // namespace vexlo
