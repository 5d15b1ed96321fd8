#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ports/DeviceEventSet.h"

namespace vexlo {

// The events that a backend's drivers signal, and the values that name them to the drivers: a
// driver that is handed a value signals the event behind it through Signal, and a value that names
// no live event is ignored. One registry per DeviceIo; any thread.
// Lock order: the registry's lock is taken before a set's own lock.
class DriverEventRegistry : public std::enable_shared_from_this<DriverEventRegistry> {
 public:
  class Set;

  // A new set of `count` auto-reset events, all clear, registered until it is destroyed.
  std::unique_ptr<DeviceEventSet> CreateSet(std::size_t count);

  // Signals the event that `value` names; nothing when no live event has that value.
  void Signal(std::int64_t value);

 private:
  std::int64_t Register(Set* set, std::size_t index);
  void Unregister(const Set* set);

  // Handle-like values: distinct, never 0, and never a small number that looks like a flag.
  static constexpr std::int64_t kFirstValue = 0x1000;
  static constexpr std::int64_t kValueStep = 4;
  struct Entry {
    Set* set;
    std::size_t index;
  };

  std::mutex mutex_;  // guards everything below
  std::map<std::int64_t, Entry> entries_;
  std::int64_t nextValue_ = kFirstValue;
};

}  // namespace vexlo
