#include "platform/sim/SimDeviceIo.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace vexlo {

// Which event of which set a driver value names.
// Lock order: taken while the environment delivers a signal, before the set's own lock.
class SimEventRegistry {
 public:
  class Set;

  std::int64_t Register(Set* set, std::size_t index) {
    std::scoped_lock lock(mutex_);
    const std::int64_t value = nextValue_;
    nextValue_ += kValueStep;
    entries_.emplace(value, Entry{set, index});
    return value;
  }

  void Unregister(const Set* set) {
    std::scoped_lock lock(mutex_);
    std::erase_if(entries_, [set](const auto& entry) { return entry.second.set == set; });
  }

  void Signal(std::int64_t value);

 private:
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

class SimEventRegistry::Set final : public DeviceEventSet {
 public:
  Set(std::shared_ptr<SimEventRegistry> registry, std::size_t count)
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
  std::shared_ptr<SimEventRegistry> registry_;
  std::vector<std::int64_t> values_;
  std::mutex mutex_;  // guards signalled_
  std::condition_variable changed_;
  std::vector<bool> signalled_;
};

void SimEventRegistry::Signal(std::int64_t value) {
  std::scoped_lock lock(mutex_);
  const auto it = entries_.find(value);
  if (it != entries_.end()) it->second.set->Signal(it->second.index);
}

namespace {

class SimDriverEndpoint final : public DriverEndpoint, public SimEndpointListener {
 public:
  SimDriverEndpoint(std::shared_ptr<SimService> sim, std::shared_ptr<SimEventRegistry> events)
      : sim_(std::move(sim)), events_(std::move(events)) {}
  ~SimDriverEndpoint() override {
    if (id_ != 0) sim_->CloseEndpoint(id_);
  }

  Result Open(std::string_view name) { return sim_->OpenDriver(name, *this, id_); }

  Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                   std::span<std::uint8_t> output, std::size_t& returned) override {
    return sim_->IoControl(id_, code, input, output, returned);
  }

  void OnInputReport(std::span<const std::uint8_t>) override {}
  void OnEventSignalled(std::int64_t value) override { events_->Signal(value); }
  void OnGone() override {}

 private:
  std::shared_ptr<SimService> sim_;
  std::shared_ptr<SimEventRegistry> events_;
  SimEndpointId id_ = 0;
};

class SimHidDevice final : public HidDevice, public SimEndpointListener {
 public:
  explicit SimHidDevice(std::shared_ptr<SimService> sim) : sim_(std::move(sim)) {}
  ~SimHidDevice() override {
    if (id_ != 0) sim_->CloseEndpoint(id_);
  }

  Result Open(std::string_view path, const HidOpenOptions& options) {
    options_ = options;
    return sim_->OpenHid(path, options, *this, id_, info_);
  }

  const HidAttributes& Attributes() const override { return info_.attributes; }
  const HidCapabilities& Capabilities() const override { return info_.capabilities; }

  Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) override {
    got = 0;
    if (!options_.read) return Result::AccessDenied;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || gone_ || !queue_.empty(); });
    if (stopped_) return Result::OperationAborted;
    if (gone_) return Result::DeviceNotConnected;
    const std::vector<std::uint8_t>& report = queue_.front();
    got = std::min(report.size(), out.size());
    std::copy_n(report.begin(), got, out.begin());
    queue_.pop_front();
    return Result::Ok;
  }

  void StopReads() override {
    {
      std::scoped_lock lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  Result WriteOutputReport(std::span<const std::uint8_t> report) override {
    return sim_->WriteReport(id_, report);
  }

  Result SetFeature(std::span<const std::uint8_t> report) override {
    return sim_->SetFeature(id_, report);
  }

  Result FlushQueue() override {
    std::scoped_lock lock(mutex_);
    queue_.clear();
    return gone_ ? Result::DeviceNotConnected : Result::Ok;
  }

  void OnInputReport(std::span<const std::uint8_t> report) override {
    {
      std::scoped_lock lock(mutex_);
      if (queue_.size() == kQueueLimit) queue_.pop_front();
      queue_.emplace_back(report.begin(), report.end());
    }
    changed_.notify_all();
  }

  void OnEventSignalled(std::int64_t) override {}

  void OnGone() override {
    {
      std::scoped_lock lock(mutex_);
      gone_ = true;
    }
    changed_.notify_all();
  }

 private:
  static constexpr std::size_t kQueueLimit = 32;

  std::shared_ptr<SimService> sim_;
  SimEndpointId id_ = 0;
  SimHidInfo info_;
  HidOpenOptions options_;
  // Guards the queue and the two flags. Lock order: taken inside the environment's lock when a
  // report arrives or the device goes.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<std::uint8_t>> queue_;
  bool stopped_ = false;
  bool gone_ = false;
};

}  // namespace

SimDeviceIo::SimDeviceIo(std::shared_ptr<SimService> sim)
    : sim_(std::move(sim)), events_(std::make_shared<SimEventRegistry>()) {}

SimDeviceIo::~SimDeviceIo() = default;

Result SimDeviceIo::OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) {
  auto opened = std::make_unique<SimDriverEndpoint>(sim_, events_);
  if (const Result r = opened->Open(name); r != Result::Ok) return r;
  endpoint = std::move(opened);
  return Result::Ok;
}

Result SimDeviceIo::OpenHid(std::string_view path, const HidOpenOptions& options,
                            std::unique_ptr<HidDevice>& device) {
  auto opened = std::make_unique<SimHidDevice>(sim_);
  if (const Result r = opened->Open(path, options); r != Result::Ok) return r;
  device = std::move(opened);
  return Result::Ok;
}

Result SimDeviceIo::CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) {
  events = std::make_unique<SimEventRegistry::Set>(events_, count);
  return Result::Ok;
}

}  // namespace vexlo
