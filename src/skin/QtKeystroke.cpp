#include "skin/QtKeystroke.h"

#include <QKeyEvent>

#include <array>

namespace vexlo {
namespace {

constexpr std::uint16_t kE0 = 0x100;

struct EvdevScan {
  std::uint16_t evdev;
  std::uint16_t scan;
};

// The keys whose evdev code is not their set-1 scan code (codes 1 to 83 are the same in both, but
// for Num Lock, which the hooks report with the extended flag that tells it from Pause).
constexpr EvdevScan kEvdevScanCodes[] = {
    {69, kE0 | 0x45},                                                     // Num Lock
    {86, 0x56},        {87, 0x57},        {88, 0x58},        {89, 0x73},  // 102nd, F11, F12, Ro
    {90, 0x78},        {91, 0x77},        {92, 0x79},        {93, 0x70},  // Japanese keys
    {94, 0x7B},        {95, 0x5C},                                        // Muhenkan, JP comma
    {96, kE0 | 0x1C},  {97, kE0 | 0x1D},  {98, kE0 | 0x35},  // keypad Enter, right Ctrl, keypad /
    {99, kE0 | 0x37},  {100, kE0 | 0x38},                    // Print Screen, right Alt
    {102, kE0 | 0x47}, {103, kE0 | 0x48}, {104, kE0 | 0x49}, {105, kE0 | 0x4B},  // navigation
    {106, kE0 | 0x4D}, {107, kE0 | 0x4F}, {108, kE0 | 0x50}, {109, kE0 | 0x51},
    {110, kE0 | 0x52}, {111, kE0 | 0x53}, {113, kE0 | 0x20}, {114, kE0 | 0x2E},
    {115, kE0 | 0x30}, {116, kE0 | 0x5E},                     // volume, power
    {117, 0x59},       {119, 0x45},       {121, 0x7E},        // keypad =, Pause, keypad comma
    {122, 0x72},       {123, 0x71},       {124, 0x7D},        // Hangul, Hanja, Yen
    {125, kE0 | 0x5B}, {126, kE0 | 0x5C}, {127, kE0 | 0x5D},  // Windows keys, menu key
    {128, kE0 | 0x68}, {140, kE0 | 0x21}, {142, kE0 | 0x5F}, {143, kE0 | 0x63},  // stop .. wake
    {155, kE0 | 0x6C}, {156, kE0 | 0x66}, {157, kE0 | 0x6B}, {158, kE0 | 0x6A},  // mail .. back
    {159, kE0 | 0x69}, {163, kE0 | 0x19}, {164, kE0 | 0x22}, {165, kE0 | 0x10},  // media
    {166, kE0 | 0x24}, {172, kE0 | 0x32}, {173, kE0 | 0x67},  // stop, home page, refresh
    {183, 0x64},       {184, 0x65},       {185, 0x66},       {186, 0x67},  // F13 .. F24
    {187, 0x68},       {188, 0x69},       {189, 0x6A},       {190, 0x6B},
    {191, 0x6C},       {192, 0x6D},       {193, 0x6E},       {194, 0x76},
    {217, kE0 | 0x65}, {226, kE0 | 0x6D},  // search, media player
};

constexpr std::uint32_t kHighestEvdevCode = 255;
constexpr std::uint32_t kLastSameCode = 83;  // keypad '.'
constexpr std::uint32_t kXkbKeycodeOffset = 8;

constexpr std::array<std::uint16_t, kHighestEvdevCode + 1> BuildEvdevTable() {
  std::array<std::uint16_t, kHighestEvdevCode + 1> table{};
  for (std::uint16_t code = 1; code <= kLastSameCode; ++code) table[code] = code;
  for (const EvdevScan& key : kEvdevScanCodes) table[key.evdev] = key.scan;
  return table;
}

constexpr std::array<std::uint16_t, kHighestEvdevCode + 1> kEvdevTable = BuildEvdevTable();

struct QtVirtualKey {
  int key;
  std::uint8_t vk;
};

// Keys of the main block, navigation and system keys.
constexpr QtVirtualKey kQtVirtualKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0xA5},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Back, 0xA6},
    {Qt::Key_Forward, 0xA7},
    {Qt::Key_Refresh, 0xA8},
    {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA},
    {Qt::Key_Favorites, 0xAB},
    {Qt::Key_HomePage, 0xAC},
    {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE},
    {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_LaunchMail, 0xB4},
    {Qt::Key_LaunchMedia, 0xB5},
    {Qt::Key_Launch0, 0xB6},
    {Qt::Key_Calculator, 0xB7},
    // The symbol keys of a US keyboard, shifted or not.
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_ParenRight, 0x30},
};

// Keys of the keypad, told apart by the keypad modifier.
constexpr QtVirtualKey kQtKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E},    {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x0D},
};

constexpr std::uint8_t kVirtualKeyF1 = 0x70;
constexpr std::uint8_t kVirtualKeyNumpad0 = 0x60;

}  // namespace

std::uint16_t ScanCodeOfEvdevKey(std::uint32_t evdevCode) {
  return evdevCode <= kHighestEvdevCode ? kEvdevTable[evdevCode] : 0;
}

std::uint8_t VirtualKeyOfQtKey(int key, bool keypad) {
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
      return static_cast<std::uint8_t>(kVirtualKeyNumpad0 + (key - Qt::Key_0));
    }
    for (const QtVirtualKey& entry : kQtKeypadKeys) {
      if (entry.key == key) return entry.vk;
    }
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return static_cast<std::uint8_t>(key);  // letters and digits share their codes
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
    return static_cast<std::uint8_t>(kVirtualKeyF1 + (key - Qt::Key_F1));
  }
  for (const QtVirtualKey& entry : kQtVirtualKeys) {
    if (entry.key == key) return entry.vk;
  }
  return 0;
}

HookKeystroke KeystrokeOfKeyEvent(const QKeyEvent& event) {
  const bool release = event.type() == QEvent::KeyRelease;
  HookKeystroke keystroke;
  keystroke.virtualKey =
      VirtualKeyOfQtKey(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
  keystroke.flags = kKeystrokeRepeatOne;
  const std::uint32_t native = event.nativeScanCode();
  if (native > kXkbKeycodeOffset) {
    const std::uint16_t scan = ScanCodeOfEvdevKey(native - kXkbKeycodeOffset);
    keystroke.flags |= static_cast<std::uint32_t>(scan & 0xFF) << kKeystrokeScanShift;
    if (scan & kE0) keystroke.flags |= kKeystrokeExtended;
  }
  if (release || event.isAutoRepeat()) keystroke.flags |= kKeystrokePreviouslyDown;
  if (release) keystroke.flags |= kKeystrokeRelease;
  return keystroke;
}

}  // namespace vexlo
