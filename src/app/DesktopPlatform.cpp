#include "app/DesktopPlatform.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "platform/linux/DeviceAccessCheck.h"
#include "platform/linux/LinuxDesktopPorts.h"
#include "platform/linux/LinuxDeviceIo.h"
#include "platform/linux/LinuxDeviceNotifications.h"
#include "platform/linux/LinuxHidEnumerator.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxSystemFolders.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/RuntimeFolder.h"
#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimDeviceNotifications.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {
namespace {

// VEXLO_BACKEND=sim or linux; without it, the virtual mouse while a vexlo-sim runs, else the real
// one.
bool UseRealMouse() {
  const char* chosen = std::getenv("VEXLO_BACKEND");
  if (chosen && std::string_view(chosen) == "linux") return true;
  if (chosen && std::string_view(chosen) == "sim") return false;
  UniqueFd connection;
  return ConnectTo(SimSocketPath(), connection) != Result::Ok;
}

}  // namespace

Platform MakeDesktopPlatform() {
  Platform platform;
  platform.folders = std::make_unique<LinuxSystemFolders>();
  platform.instances = std::make_unique<LinuxInstanceRegistry>(RuntimeFolder());
  platform.system = std::make_unique<LinuxSystemInfo>();
  platform.launcher = std::make_unique<LinuxProcessLauncher>();
  // The pointer settings and the foreground program are those of a running vexlo-sim; without
  // one, the desktop values stay in this process.
  AddSimPorts(platform, std::make_shared<SimClient>(SimSocketPath()));
  const bool realMouse = UseRealMouse();
  if (realMouse) {
    const DeviceAccessRoots roots;
    platform.hid = std::make_unique<LinuxHidEnumerator>(roots.UinputNode());
    platform.devices =
        std::make_unique<LinuxDeviceIo>(roots, std::make_shared<KernelNodeAccess>());
    platform.notifications = std::make_unique<LinuxDeviceNotifications>();
    platform.driverSetup.reset();  // here the setup is the access check when the mouse opens
    std::clog << "vexlo: device backend linux (the real mouse)\n";
  } else {
    platform.notifications = std::make_unique<SimSocketNotifications>(SimSocketPath());
    std::clog << "vexlo: device backend sim (the virtual mouse of vexlo-sim)\n";
  }
  if (WantsLinuxDesktop(realMouse)) AddLinuxDesktopPorts(platform);
  return platform;
}

}  // namespace vexlo
