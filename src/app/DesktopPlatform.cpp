#include "app/DesktopPlatform.h"

#include "platform/linux/LinuxDesktopPorts.h"
#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxSystemFolders.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/RuntimeFolder.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimDeviceNotifications.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {

Platform MakeDesktopPlatform() {
  Platform platform;
  platform.folders = std::make_unique<LinuxSystemFolders>();
  platform.instances = std::make_unique<LinuxInstanceRegistry>(RuntimeFolder());
  platform.system = std::make_unique<LinuxSystemInfo>();
  platform.launcher = std::make_unique<LinuxProcessLauncher>();
  // The mouse, its drivers, the pointer settings and the foreground program are those of a running
  // vexlo-sim; without one, there is no mouse and the desktop values stay in this process.
  AddSimPorts(platform, std::make_shared<SimClient>(SimSocketPath()));
  platform.notifications = std::make_unique<SimSocketNotifications>(SimSocketPath());
  if (WantsLinuxDesktop(/*realMouse=*/false)) AddLinuxDesktopPorts(platform);
  return platform;
}

}  // namespace vexlo
