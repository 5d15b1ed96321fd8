#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo::test {

// A desktop whose answers a test chooses: every call can be made to fail, and setting the wheel
// lines can be held until the test lets it go, to catch the worker in the middle of a change.
class FakeSystemMouseSettings final : public SystemMouseSettings {
 public:
  Result failure = Result::Ok;  // answer of every call but the wheel setter when not Ok
  std::uint32_t doubleClickTime = 500;
  std::uint32_t pointerSpeed = 10;
  std::uint32_t wheelScrollLines = 3;

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override {
    if (failure == Result::Ok) milliseconds = doubleClickTime;
    return failure;
  }
  Result SetDoubleClickTime(std::uint32_t milliseconds) override {
    if (failure == Result::Ok) doubleClickTime = milliseconds;
    return failure;
  }
  Result GetPointerSpeed(std::uint32_t& speed) override {
    if (failure == Result::Ok) speed = pointerSpeed;
    return failure;
  }
  Result SetPointerSpeed(std::uint32_t speed) override {
    if (failure == Result::Ok) pointerSpeed = speed;
    return failure;
  }
  Result GetWheelScrollLines(std::uint32_t& lines) override {
    if (failure == Result::Ok) lines = wheelScrollLines;
    return failure;
  }

  // Records the value; waits while the wheel setter is held.
  Result SetWheelScrollLines(std::uint32_t lines) override {
    std::unique_lock lock(mutex_);
    wheelCalls_.push_back(lines);
    changed_.notify_all();
    changed_.wait(lock, [this] { return !held_; });
    return Result::Ok;
  }

  void HoldWheelSetter() {
    std::scoped_lock lock(mutex_);
    held_ = true;
  }
  void ReleaseWheelSetter() {
    std::scoped_lock lock(mutex_);
    held_ = false;
    changed_.notify_all();
  }
  // Waits until `count` wheel changes have begun; false if they do not within a generous time
  // (a hung worker fails the test instead of hanging it).
  bool WaitForWheelCalls(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30),
                             [&] { return wheelCalls_.size() >= count; });
  }
  std::vector<std::uint32_t> WheelCalls() const {
    std::scoped_lock lock(mutex_);
    return wheelCalls_;
  }

 private:
  mutable std::mutex mutex_;  // guards wheelCalls_ and held_
  std::condition_variable changed_;
  std::vector<std::uint32_t> wheelCalls_;
  bool held_ = false;
};

}  // namespace vexlo::test
