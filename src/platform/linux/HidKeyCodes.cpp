#include "platform/linux/HidKeyCodes.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace vexlo {
namespace {

// The kernel's own table (drivers/hid/hid-input.c, hid_keyboard), indexed by usage.
constexpr std::array<std::uint8_t, 256> kKeyboard = {
    0,   0,   0,   0,   30,  48,  46,  32,  18,  33,  34,  35,  23,  36,  37,  38,   // 0x00
    50,  49,  24,  25,  16,  19,  31,  20,  22,  47,  17,  45,  21,  44,  2,   3,    // 0x10
    4,   5,   6,   7,   8,   9,   10,  11,  28,  1,   14,  15,  57,  12,  13,  26,   // 0x20
    27,  43,  43,  39,  40,  41,  51,  52,  53,  58,  59,  60,  61,  62,  63,  64,   // 0x30
    65,  66,  67,  68,  87,  88,  99,  70,  119, 110, 102, 104, 111, 107, 109, 106,  // 0x40
    105, 108, 103, 69,  98,  55,  74,  78,  96,  79,  80,  81,  75,  76,  77,  71,   // 0x50
    72,  73,  82,  83,  86,  127, 116, 117, 183, 184, 185, 186, 187, 188, 189, 190,  // 0x60
    191, 192, 193, 194, 134, 138, 130, 132, 128, 129, 131, 137, 133, 135, 136, 113,  // 0x70
    115, 114, 0,   0,   0,   121, 0,   89,  93,  124, 92,  94,  95,  0,   0,   0,    // 0x80
    122, 123, 90,  91,  85,  0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,    // 0x90
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // 0xA0
    0,   0,   0,   0,   0,   0,   179, 180, 0,   0,   0,   0,   0,   0,   0,   0,    // 0xB0
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // 0xC0
    0,   0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,   0,   0,   0,   0,    // 0xD0
    29,  42,  56,  125, 97,  54,  100, 126, 164, 166, 165, 163, 161, 115, 114, 113,  // 0xE0
    150, 158, 159, 128, 136, 177, 178, 176, 142, 152, 173, 140, 0,   0,   0,   0,    // 0xF0
};

constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 18> kConsumer = {{
    {0x0B5, KEY_NEXTSONG},
    {0x0B6, KEY_PREVIOUSSONG},
    {0x0B7, KEY_STOPCD},
    {0x0CD, KEY_PLAYPAUSE},
    {0x0E2, KEY_MUTE},
    {0x0E9, KEY_VOLUMEUP},
    {0x0EA, KEY_VOLUMEDOWN},
    {0x183, KEY_CONFIG},
    {0x18A, KEY_MAIL},
    {0x192, KEY_CALC},
    {0x194, KEY_FILE},
    {0x221, KEY_SEARCH},
    {0x223, KEY_HOMEPAGE},
    {0x224, KEY_BACK},
    {0x225, KEY_FORWARD},
    {0x226, KEY_STOP},
    {0x227, KEY_REFRESH},
    {0x22A, KEY_BOOKMARKS},
}};

}  // namespace

std::uint16_t LinuxKeyOfKeyboardUsage(std::uint8_t usage) {
  return kKeyboard[usage];
}

std::uint16_t LinuxKeyOfConsumerUsage(std::uint16_t usage) {
  for (const auto& [consumer, key] : kConsumer) {
    if (consumer == usage) return key;
  }
  return KEY_RESERVED;
}

std::uint16_t LinuxButtonOfMouseBit(std::uint8_t bit) {
  switch (bit) {
    case 0x01:
      return BTN_LEFT;
    case 0x02:
      return BTN_RIGHT;
    case 0x04:
      return BTN_MIDDLE;
    case 0x08:
      return BTN_SIDE;
    case 0x10:
      return BTN_EXTRA;
    default:
      return KEY_RESERVED;
  }
}

}  // namespace vexlo
