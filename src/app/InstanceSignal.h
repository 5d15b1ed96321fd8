#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace vexlo {

class InstanceRegistry;
struct IncomingMessage;

enum class SignalMode {
  Show,  // bring the first running copy forward (UM_SHOW_MAIN 'Open')
  Exit,  // ask every running copy to exit (UM_EXIT_APP 'Kill'), about 100 ms apart
};

using PauseFunction = std::function<void(std::chrono::milliseconds)>;

// Finds the main windows ('MAIN') of running copies started from the same program file as
// `modulePath` (compared without regard to case) and posts them the mode's message. Show mode
// addresses only the first such window, and posts nothing when `startHidden`. Exit mode asks every
// copy, pausing 100 ms after each request. Returns the number of windows posted to.
int SignalRunningInstances(InstanceRegistry& registry, const std::string& modulePath,
                           SignalMode mode, bool startHidden,
                           const PauseFunction& pause = {});

// What the main window takes from other processes: a show request (UM_SHOW_MAIN 'Open'), an exit
// request (UM_EXIT_APP 'Kill') and a companion's announcement of itself (UM_DAEMON_WINDOW naming
// the sender's own process). Nothing else, so no value from outside becomes a button event, a
// profile switch or a pointer.
bool AdmitFromOtherProcess(const IncomingMessage& message);

}  // namespace vexlo
