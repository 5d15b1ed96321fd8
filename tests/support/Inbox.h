#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace vexlo::test {

// How long a test waits for something another thread does before it fails.
inline constexpr auto kPatience = std::chrono::seconds(10);

// Collects items that other threads hand over, and lets the test wait for them.
template <typename Item>
class Inbox {
 public:
  void Add(Item item) {
    {
      std::scoped_lock lock(mutex_);
      items_.push_back(std::move(item));
    }
    arrived_.notify_all();
  }

  // The items once there are at least `count`; what there is when the patience runs out.
  std::vector<Item> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, kPatience, [&] { return items_.size() >= count; });
    return items_;
  }

  std::vector<Item> Items() {
    std::scoped_lock lock(mutex_);
    return items_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Item> items_;
};

}  // namespace vexlo::test
