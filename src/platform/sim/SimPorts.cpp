#include "platform/sim/SimPorts.h"

#include "platform/sim/SimDeviceIo.h"
#include "platform/sim/SimDriverSetup.h"
#include "platform/sim/SimForegroundProcess.h"
#include "platform/sim/SimHidEnumerator.h"
#include "platform/sim/SimSystemMouseSettings.h"

namespace vexlo {

void AddSimPorts(Platform& platform, const std::shared_ptr<SimService>& sim) {
  platform.hid = std::make_unique<SimHidEnumerator>(sim);
  platform.devices = std::make_unique<SimDeviceIo>(sim);
  platform.mouseSettings = std::make_unique<SimSystemMouseSettings>(sim);
  platform.foreground = std::make_unique<SimForegroundProcess>(sim);
  platform.driverSetup = std::make_unique<SimDriverSetup>(sim);
}

}  // namespace vexlo
