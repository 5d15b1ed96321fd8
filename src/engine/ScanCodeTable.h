#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The keys a button or a macro step can send. A key is identified by its index into
// ScanCodeTable(): its set-1 scan code, plus 0x80 for keys sent with the E0 prefix. Each entry
// carries a one-byte key code, which is the HID keyboard usage of the key except for a few codes
// that stand for system-control and consumer usages (KeyCodeToUsage).
namespace vexlo {

inline constexpr std::size_t kScanCodeCount = 256;

inline constexpr std::uint16_t kUsagePageGenericDesktop = 0x01;  // system control: power, sleep
inline constexpr std::uint16_t kUsagePageKeyboard = 0x07;
inline constexpr std::uint16_t kUsagePageConsumer = 0x0C;

struct ScanCodeEntry {
  std::uint8_t keyCode = 0;  // 0 for an empty entry
  std::string_view name;     // empty for an empty entry
};

// A HID usage with its page.
struct HidUsage {
  std::uint16_t page = 0;
  std::uint16_t usage = 0;

  // The form the input injector takes: usage in the high half, page in the low half.
  constexpr std::uint32_t Packed() const { return static_cast<std::uint32_t>(usage) << 16 | page; }
  bool operator==(const HidUsage&) const = default;
};

// All 256 entries, indexed by scan index.
const std::array<ScanCodeEntry, kScanCodeCount>& ScanCodeTable();

// The name shown for a key: the entry's name, "ScnKey: %02X" of the index for an empty entry, and
// the empty text for index 0 (no key).
std::string ScanKeyName(std::uint8_t index);

// The usage a key code sends: 0x66, 0xBE and 0xBF are power, sleep and wake of the
// system-control page; 0xC0 to 0xD1 are the 18 consumer keys; every other code is the keyboard
// usage of the same value (0 included, which is "no key").
HidUsage KeyCodeToUsage(std::uint8_t keyCode);

// The inverse of KeyCodeToUsage: the key code of a usage, 0 for a usage no key code stands for.
std::uint8_t UsageToKeyCode(std::uint16_t page, std::uint16_t usage);

// The scan index of the key that sends `keyCode`, for naming the key of a macro step: the lowest
// index whose entry has the code, leaving out the indexes that input never yields (see
// CanonicalScanIndex); 0 when no key sends the code.
std::uint8_t ScanIndexOfKeyCode(std::uint8_t keyCode);

// Keyboards report a few keys under a second scan code: Break as the extended Scroll Lock (0xC6),
// Print Screen as SysRq (0x54), right Shift without its extended flag (0x36). This gives the index
// the program uses for them (0x45, 0xB7, 0xB6) and leaves every other index as it is.
std::uint8_t CanonicalScanIndex(std::uint8_t index);

}  // namespace vexlo
