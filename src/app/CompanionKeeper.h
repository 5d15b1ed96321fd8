#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vexlo {

class InstanceRegistry;
class ProcessLauncher;

// Keeps the companion program running beside the main window: starts it with the window's
// handle when its file exists, learns its window when it announces itself (UM_DAEMON_WINDOW),
// starts it again when that window has gone, and asks it to close at exit.
class CompanionKeeper {
 public:
  using Clock = std::chrono::steady_clock;

  CompanionKeeper(ProcessLauncher& launcher, InstanceRegistry& registry, std::string program,
                  std::string workingFolder);

  // Starts the companion when its program file exists. True when it does, and the watchdog
  // (Check once a second) is to run.
  bool Start(const std::string& windowHandle, Clock::time_point now = Clock::now());

  // A process announced itself as the companion (UM_DAEMON_WINDOW, with its process id as the
  // system vouches for it): taken only from the process that the last Start started.
  void OnAnnounced(std::uint32_t companionProcess);

  // The watchdog: starts the companion again when its window no longer exists. A companion just
  // started gets a few seconds to announce itself before another is started.
  void Check(Clock::time_point now = Clock::now());

  // Asks the companion's window to close, when it exists.
  void Close();

  std::uint32_t CompanionWindow() const { return window_; }

 private:
  bool CompanionAlive();

  ProcessLauncher& launcher_;
  InstanceRegistry& registry_;
  std::string program_;
  std::string workingFolder_;
  std::string windowHandle_;
  std::uint32_t started_ = 0;  // the process the last start made, 0 when it failed
  std::uint32_t window_ = 0;   // the companion's window (its process), 0 before it announced
  Clock::time_point lastStart_{};
};

}  // namespace vexlo
