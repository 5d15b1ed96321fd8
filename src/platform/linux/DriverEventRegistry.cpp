#include "platform/linux/DriverEventRegistry.h"

#include <algorithm>

namespace vexlo {

class DriverEventRegistry::Set final : public DeviceEventSet {
 public:
  Set(std::shared_ptr<DriverEventRegistry> registry, std::size_t count)
      : registry_(std::move(registry)), signalled_(count, false) {
    for (std::size_t i = 0; i < count; ++i) values_.push_back(registry_->Register(this, i));
  }
  ~Set() override { registry_->Unregister(this); }

  std::size_t Count() const override { return values_.size(); }
  std::int64_t DriverValue(std::size_t index) const override {
    return index < values_.size() ? values_[index] : 0;
  }

  void Signal(std::size_t index) override {
    if (index >= signalled_.size()) return;
    {
      std::scoped_lock lock(mutex_);
      signalled_[index] = true;
    }
    changed_.notify_all();
  }

  Result WaitAny(std::size_t& index) override {
    std::unique_lock lock(mutex_);
    auto first = signalled_.end();
    changed_.wait(lock, [&] {
      first = std::find(signalled_.begin(), signalled_.end(), true);
      return first != signalled_.end();
    });
    *first = false;
    index = static_cast<std::size_t>(first - signalled_.begin());
    return Result::Ok;
  }

 private:
  std::shared_ptr<DriverEventRegistry> registry_;
  std::vector<std::int64_t> values_;
  std::mutex mutex_;  // guards signalled_
  std::condition_variable changed_;
  std::vector<bool> signalled_;
};

std::unique_ptr<DeviceEventSet> DriverEventRegistry::CreateSet(std::size_t count) {
  return std::make_unique<Set>(shared_from_this(), count);
}

std::int64_t DriverEventRegistry::Register(Set* set, std::size_t index) {
  std::scoped_lock lock(mutex_);
  const std::int64_t value = nextValue_;
  nextValue_ += kValueStep;
  entries_.emplace(value, Entry{set, index});
  return value;
}

void DriverEventRegistry::Unregister(const Set* set) {
  std::scoped_lock lock(mutex_);
  std::erase_if(entries_, [set](const auto& entry) { return entry.second.set == set; });
}

void DriverEventRegistry::Signal(std::int64_t value) {
  std::scoped_lock lock(mutex_);
  const auto it = entries_.find(value);
  if (it != entries_.end()) it->second.set->Signal(it->second.index);
}

}  // namespace vexlo
