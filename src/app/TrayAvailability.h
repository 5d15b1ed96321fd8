#pragma once

#include <QTimer>

#include <functional>

namespace vexlo {

// Follows whether the desktop has a notification area. It may come after the program (started
// with the session, before the panel) and go and come back (a restarted panel), so it is looked
// for again every second and the owner hears of each change. User-interface thread only.
class TrayAvailability {
 public:
  using Probe = std::function<bool()>;

  // `probe` says whether there is a notification area now; `changed` hears the new answer.
  TrayAvailability(Probe probe, std::function<void(bool available)> changed);

  bool Available() const { return available_; }
  // Asks the probe now (the timer does this every second).
  void Check();

  static bool DesktopHasTray();

 private:
  Probe probe_;
  std::function<void(bool)> changed_;
  bool available_;
  QTimer poll_;
};

}  // namespace vexlo
