#pragma once

#include <cstdint>

namespace vexlo {

class MessageTarget;

// The program-wide watch over popup menus. It gives every menu window of the program the border
// of MenuBorder.h (CMenuEx menus draw it themselves; other menus, the tray menu's for one, get it
// painted over their own frame) and tells the receiver when a menu window appears and goes:
// UM_MENU_WINDOW with wParam = one of the window messages below and lParam = the menu window
// (its QMenu pointer). User-interface thread only.
inline constexpr std::uintptr_t kMenuWindowDestroyed = 0x0002;  // the menu window went away
inline constexpr std::uintptr_t kMenuWindowSized = 0x01E2;      // sized and about to show

// Installs the watch once; a second call does nothing.
void InstallMenuHook();
// Removes the watch and forgets the receiver; does nothing when it is not installed.
void RemoveMenuHook();
bool IsMenuHookInstalled();

// The window that hears of menu windows (the main window); none stops the reports.
void SetMenuHookReceiver(MessageTarget* receiver);

}  // namespace vexlo
