#pragma once

#include <cstdint>

class QKeyEvent;

namespace vexlo {

// A keystroke as the keyboard hooks of the original platform deliver it, which is what the
// program's key handling consumes (engine/VirtualKeyScanIndex.h).
struct HookKeystroke {
  std::uint8_t virtualKey = 0;  // 0 for a key without a virtual-key code
  std::uint32_t flags = 0;
};

// Keystroke flags.
inline constexpr std::uint32_t kKeystrokeRepeatOne = 1;              // repeat count, bits 0..15
inline constexpr int kKeystrokeScanShift = 16;                       // scan code, bits 16..23
inline constexpr std::uint32_t kKeystrokeExtended = 1u << 24;        // the E0 prefix
inline constexpr std::uint32_t kKeystrokePreviouslyDown = 1u << 30;  // repeat, or a release
inline constexpr std::uint32_t kKeystrokeRelease = 1u << 31;

// The set-1 scan code of a key from its evdev code: the code in the low byte, 0x100 for keys sent
// with the E0 prefix; 0 for a key without one.
std::uint16_t ScanCodeOfEvdevKey(std::uint32_t evdevCode);

// The virtual-key code of a Qt key, with the keypad modifier telling the keypad's digits and
// operators from the main block's. Symbols that need Shift on a US keyboard give the code of their
// key. 0 for a key the platform has no code for.
std::uint8_t VirtualKeyOfQtKey(int key, bool keypad);

// The hook's view of a key press or release. Linux reports keys by their XKB keycode (evdev code
// + 8) in the native scan code; where that is 0 (offscreen, synthetic events) the keystroke
// carries no scan code and the virtual key alone names the key.
HookKeystroke KeystrokeOfKeyEvent(const QKeyEvent& event);

}  // namespace vexlo
