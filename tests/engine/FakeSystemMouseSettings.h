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
    return Read(doubleClickTime, milliseconds);
  }
  Result SetDoubleClickTime(std::uint32_t milliseconds) override {
    return Write(doubleClickTime, milliseconds);
  }
  Result GetPointerSpeed(std::uint32_t& speed) override { return Read(pointerSpeed, speed); }
  Result SetPointerSpeed(std::uint32_t speed) override { return Write(pointerSpeed, speed); }
  Result GetWheelScrollLines(std::uint32_t& lines) override {
    return Read(wheelScrollLines, lines);
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
  Result Read(std::uint32_t setting, std::uint32_t& out) const {
    if (failure == Result::Ok) out = setting;
    return failure;
  }
  Result Write(std::uint32_t& setting, std::uint32_t value) const {
    if (failure == Result::Ok) setting = value;
    return failure;
  }

  mutable std::mutex mutex_;  // guards wheelCalls_ and held_
  std::condition_variable changed_;
  std::vector<std::uint32_t> wheelCalls_;
  bool held_ = false;
};

}  // namespace vexlo::test
