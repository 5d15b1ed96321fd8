#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/ports/Platform.h"

namespace vexlo {

// The pointer settings of the desktop named by `currentDesktop` ($XDG_CURRENT_DESKTOP, a
// colon-separated list): KDE Plasma's configuration files under `configFolder` (as its Wayland
// session keeps them when `waylandSession`), GSettings for GNOME and its relatives, else on an X11
// session the X server's pointer acceleration, else none (every call answers NotSupported).
std::unique_ptr<SystemMouseSettings> MakeDesktopMouseSettings(
    std::string_view currentDesktop, bool waylandSession,
    const std::filesystem::path& configFolder);

// Whether this session's desktop replaces the virtual one: VEXLO_DESKTOP=linux or sim says so;
// without it, the real mouse brings the real desktop with it.
bool WantsLinuxDesktop(bool realMouse);

// Puts this session's desktop into the bundle, after its device ports are in: its pointer settings,
// its foreground program (X11 and XWayland windows; "unknown" on a Wayland session without X11),
// and, when /dev/uinput cannot be opened on an X11 session, the XTest injection device among the
// HID devices already there. Without /dev/uinput it says on standard error how keys and clicks
// are typed, if at all.
void AddLinuxDesktopPorts(Platform& platform);

}  // namespace vexlo
