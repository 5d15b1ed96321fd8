#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/ports/Platform.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProtocol.h"

// The machines the device benchmarks run against: the simulated machine in-process, and a running
// vexlo-sim (the real program, started for the run).
namespace vexlo::bench {

// A vexlo-sim of its own in a private runtime folder, for the whole run.
class VexloSimProcess {
 public:
  VexloSimProcess() {
    char folder[] = "/tmp/vexlo-bench-XXXXXX";
    if (!::mkdtemp(folder)) return;
    folder_ = folder;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    running_ = std::system((std::string(VEXLO_SIM_PROGRAM) + " start >/dev/null").c_str()) == 0;
  }
  ~VexloSimProcess() {
    if (running_) (void)!std::system((std::string(VEXLO_SIM_PROGRAM) + " stop >/dev/null").c_str());
    std::error_code error;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
  }
  VexloSimProcess(const VexloSimProcess&) = delete;
  VexloSimProcess& operator=(const VexloSimProcess&) = delete;

  bool Running() const { return running_; }

 private:
  std::string folder_;
  bool running_ = false;
};

inline VexloSimProcess& SharedVexloSim() {
  static VexloSimProcess process;
  return process;
}

// The ports of the machine the link talks to.
inline Platform MachinePorts(bool throughVexloSim) {
  Platform platform;
  if (throughVexloSim) {
    (void)SharedVexloSim();  // started first: it decides the runtime folder
    AddSimPorts(platform, std::make_shared<SimClient>(SimSocketPath()));
  } else {
    AddSimPorts(platform, std::make_shared<SimEnvironment>());
  }
  return platform;
}

}  // namespace vexlo::bench
