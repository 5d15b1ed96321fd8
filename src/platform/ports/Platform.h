#pragma once

#include <memory>

#include "platform/ports/DeviceIo.h"
#include "platform/ports/DeviceNotifications.h"
#include "platform/ports/DriverSetup.h"
#include "platform/ports/ForegroundProcess.h"
#include "platform/ports/HidEnumerator.h"
#include "platform/ports/InstanceRegistry.h"
#include "platform/ports/ProcessLauncher.h"
#include "platform/ports/SystemFolders.h"
#include "platform/ports/SystemInfo.h"
#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

// The services of the outside world that the program uses, one backend object per port. Start-up
// picks the backends (the real desktop, the virtual mouse); tests put in fakes.
struct Platform {
  std::unique_ptr<SystemFolders> folders;
  std::unique_ptr<InstanceRegistry> instances;
  std::unique_ptr<SystemInfo> system;
  std::unique_ptr<SystemMouseSettings> mouseSettings;
  std::unique_ptr<ForegroundProcess> foreground;
  std::unique_ptr<ProcessLauncher> launcher;
  std::unique_ptr<HidEnumerator> hid;
  std::unique_ptr<DeviceIo> devices;
  std::unique_ptr<DeviceNotifications> notifications;
  std::unique_ptr<DriverSetup> driverSetup;  // none: the mouse needs no setup here
};

}  // namespace vexlo
