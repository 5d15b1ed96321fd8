#pragma once

#include <cstdint>

// Keystrokes as the keyboard hooks deliver them: a virtual-key code and the keystroke flags
// (scan code in bits 16 to 23, extended-key flag bit 24, previous-state bit 30, transition bit
// 31). The single-key dialog and the macro recorder turn them into ScanCodeTable indexes here.
namespace vexlo {

// The ScanCodeTable index of a virtual key: its set-1 scan code, plus 0x80 for keys sent with the
// E0 prefix; 0 for a virtual key without a key. Used when a keystroke arrives without a scan code
// (injected input).
std::uint8_t VirtualKeyScanIndex(std::uint8_t virtualKey);

struct Keystroke {
  std::uint8_t scanIndex = 0;  // after CanonicalScanIndex; 0 when the key is unknown
  bool release = false;        // the key went up
  bool repeat = false;         // a press that auto-repeats a key already down
};

// Decodes a hook's keystroke: the index from the scan code and the extended flag, or from the
// virtual key when no scan code came with it, then brought to the index the program uses for the
// key (CanonicalScanIndex).
Keystroke DecodeKeystroke(std::uint8_t virtualKey, std::uint32_t keystrokeFlags);

// Print Screen and the two Korean keys (0xB7, 0x71, 0x72) are reported only when they are
// released, so their release has to stand for a press too.
bool IsReleaseOnlyKey(std::uint8_t scanIndex);

}  // namespace vexlo
