#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace vexlo {

class ForegroundProcess;
class MessageTarget;
class ProfileStore;

// A profile linked to a program.
struct LinkEntry {
  std::string profilePath;  // the profile file, at most 259 units
  std::string programPath;  // the linked program, at most 259 units

  bool operator==(const LinkEntry&) const = default;
};

// Watches which program is in the foreground and, when it changes to a linked one, posts
// UM_LINKED_PROFILE to the target window with three texts, by value: the chosen link's profile
// file, its program, and the foreground program's path. The window then makes that profile
// current.
//
// One worker, started by the first StartMonitor and stopped and joined by Stop (or the
// destructor), polls while the monitor is started: at once when the desktop tells of a change,
// else each interval. Among the links to the foreground program the first in profile order is
// chosen, replaced by a later one only when that one's profile file was written more recently. A
// program that stays in the foreground switches once; one that comes back switches again.
class ForegroundMonitor {
 public:
  static constexpr std::chrono::milliseconds kPollInterval{1000};

  // `foreground` must outlive the monitor. Tests pass a shorter interval.
  explicit ForegroundMonitor(ForegroundProcess& foreground,
                             std::chrono::milliseconds pollInterval = kPollInterval);
  ~ForegroundMonitor();  // Stop
  ForegroundMonitor(const ForegroundMonitor&) = delete;
  ForegroundMonitor& operator=(const ForegroundMonitor&) = delete;

  // The window that receives UM_LINKED_PROFILE, or none. When this returns, the target that it
  // replaced is not being posted to and will not be again. User-interface thread.
  void SetTarget(MessageTarget* target);

  // Rebuilds the link table from the profile files, in the store's order, as the profile reader
  // reads them: a profile whose bLinkProgram is set and whose szLinkPath names an existing file is
  // linked to it. Takes the store's list lock, then the table lock. User-interface thread.
  void RebuildLinkTable(const ProfileStore& profiles);
  std::vector<LinkEntry> LinkTable() const;

  // Starts polling, forgetting the last program seen, so the program in the foreground switches
  // again. Nothing happens while polling runs. User-interface thread.
  void StartMonitor();
  // Stops polling; a poll under way finishes. Never waits for the worker. Any thread.
  void StopMonitor();
  bool IsMonitoring() const;

  // Stops polling and ends the worker, waiting until it has (a poll under way finishes first).
  // A later StartMonitor starts a new worker. User-interface thread.
  void Stop();

 private:
  void Run(std::stop_token stop);
  void Poll();
  // The link chosen for the program among `matches`; none when empty.
  static std::optional<LinkEntry> ChooseLink(const std::vector<LinkEntry>& matches);

  ForegroundProcess& foreground_;
  const std::chrono::milliseconds poll_interval_;
  mutable std::mutex mutex_;  // guards the members below. Lock order: after the ProfileStore lock.
  std::condition_variable_any wake_;
  std::vector<LinkEntry> table_;
  MessageTarget* target_ = nullptr;
  bool monitoring_ = false;
  bool changed_ = false;      // the desktop told of a change since the last poll
  std::string last_program_;  // the last foreground program a poll looked at
  std::jthread worker_;       // last member: it stops and joins before the others go
};

}  // namespace vexlo
