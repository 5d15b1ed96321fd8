#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "platform/linux/UniqueFd.h"

namespace vexlo {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, kill) into a call on the user-interface
// thread, so that they end the program by its one exit path instead of ending the process on the
// spot. The handlers only write a byte to a pipe that the event loop watches. One at a time; the
// previous handlers come back when it goes.
class ExitSignals final : public QObject {
 public:
  explicit ExitSignals(std::function<void()> onSignal);
  ~ExitSignals() override;

 private:
  void Drain();

  std::function<void()> onSignal_;
  UniqueFd read_;
  UniqueFd write_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vexlo
