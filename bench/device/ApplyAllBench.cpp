// Sending a whole profile (ApplyAll): how long it takes and how many requests it makes of the
// drivers, against the simulated machine in-process and through a running vexlo-sim. Every
// register write is followed by the link's 1 ms pause, which paces the mouse and dominates.

#include <benchmark/benchmark.h>

#include <atomic>

#include "BenchMachine.h"
#include "SilentMessages.h"
#include "device/DeviceCommands.h"
#include "device/DriverInterface.h"
#include "engine/ApplyAll.h"
#include "engine/WheelLinesWorker.h"

namespace vexlo {
namespace {

struct RequestCounts {
  std::atomic<std::uint64_t> vendorTransfers{0};
  std::atomic<std::uint64_t> mouseFilterRequests{0};
};

// A driver endpoint that counts the requests it passes on.
class CountingEndpoint final : public DriverEndpoint {
 public:
  CountingEndpoint(std::unique_ptr<DriverEndpoint> inner, RequestCounts& counts)
      : inner_(std::move(inner)), counts_(counts) {}

  Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                   std::span<std::uint8_t> output, std::size_t& returned) override {
    if (code == kIoctlVendorTransfer) ++counts_.vendorTransfers;
    if (code == kIoctlButtonInterception || code == kIoctlReportRate) ++counts_.mouseFilterRequests;
    return inner_->IoControl(code, input, output, returned);
  }

 private:
  std::unique_ptr<DriverEndpoint> inner_;
  RequestCounts& counts_;
};

// The machine's device I/O, with every driver endpoint counted.
class CountingDeviceIo final : public DeviceIo {
 public:
  explicit CountingDeviceIo(DeviceIo& inner) : inner_(inner) {}

  Result OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) override {
    std::unique_ptr<DriverEndpoint> opened;
    const Result result = inner_.OpenDriver(name, opened);
    if (result == Result::Ok)
      endpoint = std::make_unique<CountingEndpoint>(std::move(opened), counts);
    return result;
  }
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override {
    return inner_.OpenHid(path, options, device);
  }
  Result CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) override {
    return inner_.CreateEventSet(count, events);
  }

  RequestCounts counts;

 private:
  DeviceIo& inner_;
};

// A profile that changes something in every part: reassigned buttons of both kinds, levels that
// need the high step bit, other colours, a lower report rate, another light effect.
ProfileData BusyProfile() {
  ProfileData profile;
  FillDefaults(profile);
  profile.device.pbyKeySet = {1, 0, 40, 6, 37, 43, 42};
  profile.device.pwDpi = {400, 1800, 3400, 4200};
  profile.device.pbyCpiColorIdx = {3, 6, 9, 12};
  profile.device.byReportRateIndex = 2;
  profile.device.byLightMode = 4;
  profile.windows = {450, 12, 5};
  return profile;
}

void ApplyWholeProfile(benchmark::State& state, bool throughVexloSim) {
  Platform platform = bench::MachinePorts(throughVexloSim);
  if (throughVexloSim && !bench::SharedVexloSim().Running()) {
    return state.SkipWithError("vexlo-sim could not be started");
  }
  CountingDeviceIo devices(*platform.devices);
  bench::SilentMessages messages;
  DeviceLink link(devices, *platform.hid);
  DeviceSession session(link, messages);
  if (session.Connect() != Result::Ok) return state.SkipWithError("the mouse does not connect");
  ProfileData profile = BusyProfile();
  DeviceCommands commands(session, profile.device);
  WheelLinesWorker wheelLines(*platform.mouseSettings);

  const std::uint64_t transfersBefore = devices.counts.vendorTransfers;
  const std::uint64_t filterBefore = devices.counts.mouseFilterRequests;
  for (auto _ : state) {
    if (ApplyAll(commands, *platform.mouseSettings, wheelLines, profile.windows) != Result::Ok) {
      return state.SkipWithError("ApplyAll failed");
    }
  }
  state.counters["vendor_transfers"] =
      benchmark::Counter(static_cast<double>(devices.counts.vendorTransfers - transfersBefore),
                         benchmark::Counter::kAvgIterations);
  state.counters["mouse_filter_requests"] =
      benchmark::Counter(static_cast<double>(devices.counts.mouseFilterRequests - filterBefore),
                         benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(ApplyWholeProfile, InProcess, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ApplyWholeProfile, ThroughVexloSim, true)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vexlo
