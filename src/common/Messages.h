#pragma once

#include <cstdint>

// The main window's messages. Their numbers and parameters are fixed: other copies of the
// program, the companion program and the workers post them.
namespace vexlo {

// Four ASCII letters packed first-letter-high into 32 bits: 'Open' = 0x4F70656E.
constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(d));
}

inline constexpr std::uint32_t kTagOpen = FourCC('O', 'p', 'e', 'n');
inline constexpr std::uint32_t kTagKill = FourCC('K', 'i', 'l', 'l');
inline constexpr std::uint32_t kTagDeviceArrived = FourCC('D', 'e', 'v', '1');
inline constexpr std::uint32_t kTagDeviceRemoved = FourCC('D', 'e', 'v', '0');
inline constexpr std::uint32_t kTagMainWindow = FourCC('M', 'A', 'I', 'N');
inline constexpr std::uint32_t kTagDaemon = FourCC('D', 'm', 'o', 'n');

inline constexpr std::uint32_t UM_SHOW_MAIN = 0x5370;
inline constexpr std::uint32_t UM_EXIT_APP = 0x4F69;
inline constexpr std::uint32_t UM_DEVICE_STATE = 0x4865;
inline constexpr std::uint32_t UM_BUTTON_EVENT = 0x54EE;
inline constexpr std::uint32_t UM_LINKED_PROFILE = 0x54F8;
inline constexpr std::uint32_t UM_SLIDER_CHANGED = 0x5817;
inline constexpr std::uint32_t UM_MENU_WINDOW = 0x51F3;
inline constexpr std::uint32_t UM_TRAY_NOTIFY = 0x5849;
inline constexpr std::uint32_t UM_KEY_HOOK = 0x4F42;
inline constexpr std::uint32_t UM_MOUSE_HOOK = 0x5153;
inline constexpr std::uint32_t UM_DAEMON_WINDOW = 0x4854;
// The split drivers' setup has ended: wParam 1 when it succeeded, 0 when it failed.
inline constexpr std::uint32_t UM_DRIVER_SETUP = 0x4855;

static_assert(kTagOpen == 0x4F70656E && kTagKill == 0x4B696C6C && kTagMainWindow == 0x4D41494E);
static_assert(kTagDeviceArrived == 0x44657631 && kTagDeviceRemoved == 0x44657630);
static_assert(kTagDaemon == 0x446D6F6E);

}  // namespace vexlo
