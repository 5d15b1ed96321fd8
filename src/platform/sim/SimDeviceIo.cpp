#include "platform/sim/SimDeviceIo.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/linux/DriverEventRegistry.h"

namespace vexlo {

namespace {

class SimDriverEndpoint final : public DriverEndpoint, public SimEndpointListener {
 public:
  SimDriverEndpoint(std::shared_ptr<SimService> sim, std::shared_ptr<DriverEventRegistry> events)
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
  std::shared_ptr<DriverEventRegistry> events_;
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
    : sim_(std::move(sim)), events_(std::make_shared<DriverEventRegistry>()) {}

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
  events = events_->CreateSet(count);
  return Result::Ok;
}

}  // namespace vexlo
