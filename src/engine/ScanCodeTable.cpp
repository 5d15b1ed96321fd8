#include "engine/ScanCodeTable.h"

#include <algorithm>
#include <cstdio>

namespace vexlo {
namespace {

struct NamedKey {
  std::uint8_t index;
  std::uint8_t keyCode;
  std::string_view name;
};

// Every key the program knows, by scan index; indexes not listed are empty.
constexpr NamedKey kNamedKeys[] = {
    {0x01, 0x29, "Esc"},
    {0x02, 0x1E, "1"},
    {0x03, 0x1F, "2"},
    {0x04, 0x20, "3"},
    {0x05, 0x21, "4"},
    {0x06, 0x22, "5"},
    {0x07, 0x23, "6"},
    {0x08, 0x24, "7"},
    {0x09, 0x25, "8"},
    {0x0A, 0x26, "9"},
    {0x0B, 0x27, "0"},
    {0x0C, 0x2D, "-"},
    {0x0D, 0x2E, "="},
    {0x0E, 0x2A, "Backspace"},
    {0x0F, 0x2B, "Tab"},
    {0x10, 0x14, "Q"},
    {0x11, 0x1A, "W"},
    {0x12, 0x08, "E"},
    {0x13, 0x15, "R"},
    {0x14, 0x17, "T"},
    {0x15, 0x1C, "Y"},
    {0x16, 0x18, "U"},
    {0x17, 0x0C, "I"},
    {0x18, 0x12, "O"},
    {0x19, 0x13, "P"},
    {0x1A, 0x2F, "["},
    {0x1B, 0x30, "]"},
    {0x1C, 0x28, "Enter"},
    {0x1D, 0xE0, "Ctrl"},
    {0x1E, 0x04, "A"},
    {0x1F, 0x16, "S"},
    {0x20, 0x07, "D"},
    {0x21, 0x09, "F"},
    {0x22, 0x0A, "G"},
    {0x23, 0x0B, "H"},
    {0x24, 0x0D, "J"},
    {0x25, 0x0E, "K"},
    {0x26, 0x0F, "L"},
    {0x27, 0x33, ";"},
    {0x28, 0x34, "'"},
    {0x29, 0x35, "`"},
    {0x2A, 0xE1, "Shift"},
    {0x2B, 0x31, "\\"},
    {0x2C, 0x1D, "Z"},
    {0x2D, 0x1B, "X"},
    {0x2E, 0x06, "C"},
    {0x2F, 0x19, "V"},
    {0x30, 0x05, "B"},
    {0x31, 0x11, "N"},
    {0x32, 0x10, "M"},
    {0x33, 0x36, ","},
    {0x34, 0x37, "."},
    {0x35, 0x38, "/"},
    {0x37, 0x55, "Keypad *"},
    {0x38, 0xE2, "Alt"},
    {0x39, 0x2C, "Space"},
    {0x3A, 0x39, "Caps Lock"},
    {0x3B, 0x3A, "F1"},
    {0x3C, 0x3B, "F2"},
    {0x3D, 0x3C, "F3"},
    {0x3E, 0x3D, "F4"},
    {0x3F, 0x3E, "F5"},
    {0x40, 0x3F, "F6"},
    {0x41, 0x40, "F7"},
    {0x42, 0x41, "F8"},
    {0x43, 0x42, "F9"},
    {0x44, 0x43, "F10"},
    {0x45, 0x48, "Pause"},
    {0x46, 0x47, "Scroll Lock"},
    {0x47, 0x5F, "Keypad 7"},
    {0x48, 0x60, "Keypad 8"},
    {0x49, 0x61, "Keypad 9"},
    {0x4A, 0x56, "Keypad -"},
    {0x4B, 0x5C, "Keypad 4"},
    {0x4C, 0x5D, "Keypad 5"},
    {0x4D, 0x5E, "Keypad 6"},
    {0x4E, 0x57, "Keypad +"},
    {0x4F, 0x59, "Keypad 1"},
    {0x50, 0x5A, "Keypad 2"},
    {0x51, 0x5B, "Keypad 3"},
    {0x52, 0x62, "Keypad 0"},
    {0x53, 0x63, "Keypad ."},
    {0x54, 0x46, "Part Snapshot"},
    {0x56, 0x64, "\\(Intl.)"},
    {0x57, 0x44, "F11"},
    {0x58, 0x45, "F12"},
    {0x59, 0x67, "Keypad ="},
    {0x64, 0x68, "F13"},
    {0x65, 0x69, "F14"},
    {0x66, 0x6A, "F15"},
    {0x67, 0x6B, "F16"},
    {0x68, 0x6C, "F17"},
    {0x69, 0x6D, "F18"},
    {0x6A, 0x6E, "F19"},
    {0x6B, 0x6F, "F20"},
    {0x6C, 0x70, "F21"},
    {0x6D, 0x71, "F22"},
    {0x6E, 0x72, "F23"},
    {0x70, 0x88, "ROMA"},
    {0x71, 0x91, "KL"},
    {0x72, 0x90, "KR"},
    {0x73, 0x87, "K56"},
    {0x76, 0x73, "F24"},
    {0x79, 0x8A, "CHG"},
    {0x7B, 0x8B, "N-CHG"},
    {0x7D, 0x89, "K14"},
    {0x7E, 0x85, "Keypad ,"},
    {0x90, 0xC1, "Prev Track"},
    {0x99, 0xC0, "Next Track"},
    {0x9C, 0x58, "Keypad Enter"},
    {0x9D, 0xE4, "Right Ctrl"},
    {0xA0, 0xC4, "Volume Mute"},
    {0xA1, 0xC9, "Calculator"},
    {0xA2, 0xC3, "Play/Pause"},
    {0xA4, 0xC2, "Stop Play"},
    {0xAE, 0xC6, "Volume -"},
    {0xB0, 0xC5, "Volume +"},
    {0xB2, 0xCC, "Browser Home"},
    {0xB5, 0x54, "Keypad /"},
    {0xB6, 0xE5, "Right Shift"},
    {0xB7, 0x46, "Print Screen"},
    {0xB8, 0xE6, "Right Alt"},
    {0xC5, 0x53, "Num Lock"},
    {0xC6, 0x48, "Break"},
    {0xC7, 0x4A, "Home"},
    {0xC8, 0x52, "↑"},
    {0xC9, 0x4B, "Page Up"},
    {0xCB, 0x50, "←"},
    {0xCD, 0x4F, "→"},
    {0xCF, 0x4D, "End"},
    {0xD0, 0x51, "↓"},
    {0xD1, 0x4E, "Page Down"},
    {0xD2, 0x49, "Insert"},
    {0xD3, 0x4C, "Delete"},
    {0xDB, 0xE3, "Win"},
    {0xDC, 0xE7, "Right Win"},
    {0xDD, 0x65, "Context Menu"},
    {0xDE, 0x66, "Power"},
    {0xDF, 0xBE, "Sleep"},
    {0xE0, 0x32, "#(Intl.)"},
    {0xE3, 0xBF, "Wake"},
    {0xE5, 0xCB, "Search"},
    {0xE6, 0xD1, "Browser Fav"},
    {0xE7, 0xD0, "Refresh"},
    {0xE8, 0xCF, "Stop"},
    {0xE9, 0xCE, "Forward"},
    {0xEA, 0xCD, "Back"},
    {0xEB, 0xCA, "My Computer"},
    {0xEC, 0xC8, "Mail"},
    {0xED, 0xC7, "Media Player"},
};

constexpr std::array<ScanCodeEntry, kScanCodeCount> BuildScanCodeTable() {
  std::array<ScanCodeEntry, kScanCodeCount> table{};
  for (const NamedKey& key : kNamedKeys) table[key.index] = {key.keyCode, key.name};
  return table;
}

constexpr std::array<ScanCodeEntry, kScanCodeCount> kScanCodeTable = BuildScanCodeTable();

// The system-control keys, in the order of their usages 0x81, 0x82, 0x83.
constexpr std::array<std::uint8_t, 3> kSystemKeyCodes = {0x66, 0xBE, 0xBF};
constexpr std::uint16_t kFirstSystemUsage = 0x81;

// The consumer keys: key code 0xC0 + position.
constexpr std::uint8_t kFirstConsumerKeyCode = 0xC0;
constexpr std::array<std::uint16_t, 18> kConsumerUsages = {
    0x0B5, 0x0B6, 0x0B7, 0x0CD, 0x0E2, 0x0E9, 0x0EA, 0x183, 0x18A,
    0x192, 0x194, 0x221, 0x223, 0x224, 0x225, 0x226, 0x227, 0x22A,
};

}  // namespace

const std::array<ScanCodeEntry, kScanCodeCount>& ScanCodeTable() {
  return kScanCodeTable;
}

std::string ScanKeyName(std::uint8_t index) {
  const ScanCodeEntry& entry = kScanCodeTable[index];
  if (!entry.name.empty() || index == 0) return std::string(entry.name);
  char name[16];
  std::snprintf(name, sizeof name, "ScnKey: %02X", static_cast<unsigned>(index));
  return name;
}

HidUsage KeyCodeToUsage(std::uint8_t keyCode) {
  const auto system = std::find(kSystemKeyCodes.begin(), kSystemKeyCodes.end(), keyCode);
  if (system != kSystemKeyCodes.end()) {
    return {kUsagePageGenericDesktop,
            static_cast<std::uint16_t>(kFirstSystemUsage + (system - kSystemKeyCodes.begin()))};
  }
  const std::size_t consumer = static_cast<std::size_t>(keyCode - kFirstConsumerKeyCode);
  if (keyCode >= kFirstConsumerKeyCode && consumer < kConsumerUsages.size()) {
    return {kUsagePageConsumer, kConsumerUsages[consumer]};
  }
  return {kUsagePageKeyboard, keyCode};
}

std::uint8_t UsageToKeyCode(std::uint16_t page, std::uint16_t usage) {
  switch (page) {
    case kUsagePageKeyboard:
      return static_cast<std::uint8_t>(usage & 0xFF);
    case kUsagePageGenericDesktop:
      if (usage >= kFirstSystemUsage && usage - kFirstSystemUsage < 3) {
        return kSystemKeyCodes[static_cast<std::size_t>(usage - kFirstSystemUsage)];
      }
      return 0;
    case kUsagePageConsumer: {
      const auto found = std::find(kConsumerUsages.begin(), kConsumerUsages.end(), usage);
      if (found == kConsumerUsages.end()) return 0;
      return static_cast<std::uint8_t>(kFirstConsumerKeyCode + (found - kConsumerUsages.begin()));
    }
    default:
      return 0;
  }
}

std::uint8_t ScanIndexOfKeyCode(std::uint8_t keyCode) {
  if (keyCode == 0) return 0;
  for (std::size_t index = 1; index < kScanCodeCount; ++index) {
    const auto scan = static_cast<std::uint8_t>(index);
    if (kScanCodeTable[index].keyCode == keyCode && CanonicalScanIndex(scan) == scan) return scan;
  }
  return 0;
}

std::uint8_t CanonicalScanIndex(std::uint8_t index) {
  switch (index) {
    case 0xC6:
      return 0x45;
    case 0x54:
      return 0xB7;
    case 0x36:
      return 0xB6;
    default:
      return index;
  }
}

}  // namespace vexlo
