#pragma once

#include <memory>
#include <string>

#include "FakeUserMessages.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/ApplyAll.h"
#include "engine/WheelLinesWorker.h"
#include "platform/linux/LinuxDeviceIo.h"
#include "platform/linux/LinuxHidEnumerator.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "profiles/ProfileData.h"

namespace vexlo::test {

// CI runs as root, where every node may be opened; access has its own tests.
class EveryNode final : public NodeAccess {
 public:
  bool CanReadWrite(const std::string&) const override { return true; }
};

inline Platform PlatformOf(bool linux, const std::shared_ptr<SimEnvironment>& sim,
                           std::shared_ptr<const NodeAccess> access) {
  Platform platform;
  AddSimPorts(platform, sim);
  if (linux) {
    platform.hid = std::make_unique<LinuxHidEnumerator>("/dev/uinput");
    platform.devices =
        std::make_unique<LinuxDeviceIo>(DeviceAccessRoots{}, std::move(access));
  }
  return platform;
}

inline SimState WithMouse(const SimMouse& mouse) {
  SimState state;
  state.mouse = mouse;
  return state;
}

// The program's device objects on a backend: the virtual mouse in-process, or the Linux backend
// (the desktop's pointer settings stay simulated in both).
struct Program {
  explicit Program(bool linux, SimMouse mouse = SimMouse::FactoryNew(2),
                   std::shared_ptr<const NodeAccess> access = std::make_shared<EveryNode>())
      : sim(std::make_shared<SimEnvironment>(WithMouse(mouse))),
        platform(PlatformOf(linux, sim, std::move(access))) {
    FillDefaults(profile);
  }

  Result Apply() {
    WheelLinesWorker wheelLines(*platform.mouseSettings);
    return ApplyAll(commands, *platform.mouseSettings, wheelLines, profile.windows);
  }

  std::shared_ptr<SimEnvironment> sim;
  Platform platform;
  test::FakeUserMessages messages;
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession session{link, messages};
  ProfileData profile;
  DeviceCommands commands{session, profile.device};
};

}  // namespace vexlo::test
