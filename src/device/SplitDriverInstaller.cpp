#include "device/SplitDriverInstaller.h"

namespace vexlo {

bool SplitDriverInstaller::Start(DriverSetup& setup, DoneCallback done) {
  {
    std::scoped_lock lock(mutex_);
    if (running_) return false;
    running_ = true;
  }
  if (worker_.joinable()) worker_.join();  // it has finished: running_ was false
  worker_ = std::jthread([this, &setup, done = std::move(done)](std::stop_token stop) {
    // The setup itself cannot be interrupted; a stop only drops the report of its end.
    const Result result = setup.InstallSplitDrivers();
    if (!stop.stop_requested() && done) done(result);
    std::scoped_lock lock(mutex_);
    running_ = false;
  });
  return true;
}

bool SplitDriverInstaller::Running() const {
  std::scoped_lock lock(mutex_);
  return running_;
}

void SplitDriverInstaller::Stop() {
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();
}

}  // namespace vexlo
