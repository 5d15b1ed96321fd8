#include "platform/linux/LinuxDesktopPorts.h"

#include <fcntl.h>

#include <cstdlib>
#include <iostream>

#include "platform/linux/GnomeMouseSettings.h"
#include "platform/linux/KdeMouseSettings.h"
#include "platform/linux/LinuxSystemFolders.h"
#include "platform/linux/UdevDevices.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/X11ForegroundProcess.h"
#include "platform/linux/X11PointerSettings.h"
#include "platform/linux/XTestInjectionDevice.h"
#include "platform/linux/XTestInjectionPorts.h"

namespace vexlo {
namespace {

// A desktop whose pointer settings the program cannot reach.
class NoMouseSettings final : public SystemMouseSettings {
 public:
  Result GetDoubleClickTime(std::uint32_t&) override { return Result::NotSupported; }
  Result SetDoubleClickTime(std::uint32_t) override { return Result::NotSupported; }
  Result GetPointerSpeed(std::uint32_t&) override { return Result::NotSupported; }
  Result SetPointerSpeed(std::uint32_t) override { return Result::NotSupported; }
  Result GetWheelScrollLines(std::uint32_t&) override { return Result::NotSupported; }
  Result SetWheelScrollLines(std::uint32_t) override { return Result::NotSupported; }
};

// A session without X11 windows to ask: the foreground program is unknown.
class UnknownForegroundProcess final : public ForegroundProcess {
 public:
  std::optional<std::string> ForegroundImagePath() override { return std::nullopt; }
  bool KnowsForeground() const override { return false; }
};

bool NamesDesktop(std::string_view list, std::initializer_list<std::string_view> names) {
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    for (const std::string_view name : names) {
      if (entry == name) return true;
    }
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return false;
}

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool UinputUsable() {
  return UniqueFd(::open("/dev/uinput", O_WRONLY | O_CLOEXEC)).valid();
}

}  // namespace

std::unique_ptr<SystemMouseSettings> MakeDesktopMouseSettings(
    std::string_view currentDesktop, bool waylandSession,
    const std::filesystem::path& configFolder) {
  if (NamesDesktop(currentDesktop, {"KDE"})) {
    if (waylandSession) return std::make_unique<KdeMouseSettings>(configFolder, &ListMice);
    return std::make_unique<KdeMouseSettings>(configFolder);
  }
  if (NamesDesktop(currentDesktop,
                   {"GNOME", "GNOME-Classic", "GNOME-Flashback", "Unity", "Budgie", "Pantheon"})) {
    if (auto gnome = GnomeMouseSettings::Open()) return gnome;
  }
  // Under XWayland the X server's acceleration moves no pointer of the session's own.
  if (X11Display display; !waylandSession && (display = OpenX11Display())) {
    return std::make_unique<X11PointerSettings>(std::move(display));
  }
  return std::make_unique<NoMouseSettings>();
}

bool WantsLinuxDesktop(bool realMouse) {
  const std::string_view desktop = Environment("VEXLO_DESKTOP");
  return desktop.empty() ? realMouse : desktop == "linux";
}

void AddLinuxDesktopPorts(Platform& platform) {
  const bool wayland =
      Environment("XDG_SESSION_TYPE") == "wayland" || !Environment("WAYLAND_DISPLAY").empty();
  platform.mouseSettings = MakeDesktopMouseSettings(Environment("XDG_CURRENT_DESKTOP"), wayland,
                                                    LinuxSystemFolders().RoamingDataFolder());
  if (auto x11 = X11ForegroundProcess::Connect()) {
    platform.foreground = std::move(x11);
  } else {
    platform.foreground = std::make_unique<UnknownForegroundProcess>();
  }
  if (!platform.hid || !platform.devices || UinputUsable()) return;
  if (XTestInjectionDevice::Open()) {
    platform.hid = std::make_unique<XTestInjectionEnumerator>(std::move(platform.hid));
    platform.devices = std::make_unique<XTestInjectionDeviceIo>(std::move(platform.devices));
    std::clog << "vexlo: without access to /dev/uinput, which would cover Wayland sessions too "
                 "(./dev udev), keys and clicks go through XTest to X11 windows only\n";
  } else {
    std::clog << "vexlo: without access to /dev/uinput, which covers X11 and Wayland sessions "
                 "alike (./dev udev), and without XTest, the real mouse's keys and clicks cannot "
                 "be typed\n";
  }
}

}  // namespace vexlo
