#include "app/DesktopPlatform.h"

#include "platform/linux/LinuxInstanceRegistry.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxSystemFolders.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/RuntimeFolder.h"
#include "platform/sim/SimSystemMouseSettings.h"

namespace vexlo {

Platform MakeDesktopPlatform() {
  Platform platform;
  platform.folders = std::make_unique<LinuxSystemFolders>();
  platform.instances = std::make_unique<LinuxInstanceRegistry>(RuntimeFolder());
  platform.system = std::make_unique<LinuxSystemInfo>();
  platform.mouseSettings = std::make_unique<SimSystemMouseSettings>();
  platform.launcher = std::make_unique<LinuxProcessLauncher>();
  return platform;
}

}  // namespace vexlo
