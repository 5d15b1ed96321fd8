// The link's threads: transfers from several threads, and the report reader fed by a device that
// sends reports of any length.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <thread>

#include "DeviceTestSupport.h"
#include "device/DeviceLink.h"
#include "device/DriverInterface.h"

namespace vexlo {
namespace {

using test::ButtonEvent;
using test::Inbox;
using test::SimMachine;

// Passes everything on to the simulated machine's DeviceIo, and watches it: how many driver
// requests run at the same time, and reports of its own that the HID collections deliver before
// the machine's.
class WatchingDeviceIo final : public DeviceIo {
 public:
  explicit WatchingDeviceIo(DeviceIo& inner) : inner_(inner) {}

  Result OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) override {
    std::unique_ptr<DriverEndpoint> opened;
    const Result r = inner_.OpenDriver(name, opened);
    if (r == Result::Ok) endpoint = std::make_unique<WatchedEndpoint>(*this, std::move(opened));
    return r;
  }

  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override {
    std::unique_ptr<HidDevice> opened;
    const Result r = inner_.OpenHid(path, options, opened);
    if (r == Result::Ok) device = std::make_unique<ScriptedDevice>(*this, std::move(opened));
    return r;
  }

  Result CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) override {
    return inner_.CreateEventSet(count, events);
  }

  // Reports that the next reads return, before any of the device's own.
  void Script(std::vector<std::vector<std::uint8_t>> reports) {
    std::scoped_lock lock(mutex_);
    script_.assign(reports.begin(), reports.end());
  }

  // The input report length that HID collections opened from now on claim.
  void ClaimInputLength(std::uint16_t length) { inputLength_ = length; }

  int MostAtOnce() const { return mostAtOnce_.load(); }

 private:
  class WatchedEndpoint final : public DriverEndpoint {
   public:
    WatchedEndpoint(WatchingDeviceIo& io, std::unique_ptr<DriverEndpoint> inner)
        : io_(io), inner_(std::move(inner)) {}
    Result IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                     std::span<std::uint8_t> output, std::size_t& returned) override {
      const int now = ++io_.atOnce_;
      int most = io_.mostAtOnce_.load();
      while (now > most && !io_.mostAtOnce_.compare_exchange_weak(most, now)) {
      }
      std::this_thread::yield();  // gives another request the chance to overlap
      const Result r = inner_->IoControl(code, input, output, returned);
      --io_.atOnce_;
      return r;
    }

   private:
    WatchingDeviceIo& io_;
    std::unique_ptr<DriverEndpoint> inner_;
  };

  class ScriptedDevice final : public HidDevice {
   public:
    ScriptedDevice(WatchingDeviceIo& io, std::unique_ptr<HidDevice> inner)
        : io_(io), inner_(std::move(inner)), capabilities_(inner_->Capabilities()) {
      if (io.inputLength_ != 0) capabilities_.inputReportLength = io.inputLength_;
    }
    const HidAttributes& Attributes() const override { return inner_->Attributes(); }
    const HidCapabilities& Capabilities() const override { return capabilities_; }
    Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) override {
      {
        std::scoped_lock lock(io_.mutex_);
        if (!io_.script_.empty()) {
          const std::vector<std::uint8_t> report = std::move(io_.script_.front());
          io_.script_.pop_front();
          got = std::min(out.size(), report.size());
          std::copy_n(report.begin(), got, out.begin());
          return Result::Ok;
        }
      }
      return inner_->ReadInputReport(out, got);
    }
    void StopReads() override { inner_->StopReads(); }
    Result WriteOutputReport(std::span<const std::uint8_t> report) override {
      return inner_->WriteOutputReport(report);
    }
    Result SetFeature(std::span<const std::uint8_t> report) override {
      return inner_->SetFeature(report);
    }
    Result FlushQueue() override { return inner_->FlushQueue(); }

   private:
    WatchingDeviceIo& io_;
    std::unique_ptr<HidDevice> inner_;
    HidCapabilities capabilities_;
  };

  DeviceIo& inner_;
  std::uint16_t inputLength_ = 0;
  std::atomic<int> atOnce_{0};
  std::atomic<int> mostAtOnce_{0};
  std::mutex mutex_;  // guards script_
  std::deque<std::vector<std::uint8_t>> script_;
};

TEST(DeviceLinkThreadsTest, TransfersFromTwoThreadsNeverOverlap) {
  SimMachine machine;
  WatchingDeviceIo io(*machine.platform.devices);
  DeviceLink link(io, *machine.platform.hid);
  ASSERT_EQ(link.Open(), Result::Ok);
  const std::uint64_t before = machine.sim->State().hidFilter.transfers;

  constexpr int kReadsPerThread = 200;
  std::atomic<int> failures{0};
  const auto reader = [&](std::uint8_t reg, std::uint8_t expected) {
    for (int i = 0; i < kReadsPerThread; ++i) {
      std::uint8_t value = 0;
      if (link.ReadRegister(reg, value) != Result::Ok || value != expected) ++failures;
    }
  };
  {
    std::jthread first(reader, 0x02, 0x03);
    std::jthread second(reader, 0x03, 0x84);
  }
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(io.MostAtOnce(), 1);
  EXPECT_EQ(machine.sim->State().hidFilter.transfers, before + 2 * kReadsPerThread);
}

TEST(DeviceLinkThreadsTest, ReportsOfAnotherLengthAreIgnored) {
  SimMachine machine;
  WatchingDeviceIo io(*machine.platform.devices);
  io.ClaimInputLength(4);  // a collection with longer reports
  io.Script({{0x03, 0x15, 0x00, 0x00}, {0x03, 0x16}, {0x03, 0x17, 0x00}});
  Inbox<ButtonEvent> events;
  DeviceLink link(io, *machine.platform.hid);
  link.SetEventCallback(test::RecordInto(events));
  ASSERT_EQ(link.Open(), Result::Ok);
  EXPECT_EQ(events.WaitFor(1), (std::vector<ButtonEvent>{{1, 0x17}}));
  (void)link.Close();
  EXPECT_EQ(events.Items(), (std::vector<ButtonEvent>{{1, 0x17}, {0, 0x00}}));
}

TEST(DeviceLinkThreadsTest, AnEventCallbackReplacedWhileEventsArriveIsNeverCalledAgain) {
  SimMachine machine;
  Inbox<ButtonEvent> events;
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  ASSERT_EQ(link.Open(), Result::Ok);
  const std::uint8_t reg = link.ButtonRegisters()[4];
  ASSERT_EQ(link.WriteRegister(reg, (link.RegisterCache()[reg] & 0xE0) | 0x10), Result::Ok);

  std::atomic<bool> replaced{false};
  std::atomic<int> lateCalls{0};
  link.SetEventCallback([&](int, std::uint16_t) {
    if (replaced.load()) ++lateCalls;
  });
  std::jthread clicker([&](std::stop_token stop) {
    while (!stop.stop_requested()) (void)machine.sim->Click(4);
  });
  link.SetEventCallback(test::RecordInto(events));
  replaced.store(true);
  EXPECT_FALSE(events.WaitFor(2).empty());
  clicker.request_stop();
  clicker.join();
  EXPECT_EQ(lateCalls.load(), 0);
}

// A connection closed while its presses are still on their way delivers them, and nothing of it
// (its stop request included) reaches the next connection.
TEST(DeviceLinkThreadsTest, EveryConnectionDeliversEveryPressSignalledBeforeItCloses) {
  SimMachine machine;
  Inbox<ButtonEvent> events;
  DeviceLink link(*machine.platform.devices, *machine.platform.hid);
  link.SetEventCallback(test::RecordInto(events));
  constexpr int kCycles = 200;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    ASSERT_EQ(link.Open(), Result::Ok);
    ASSERT_EQ(link.MouseFilterControl(kIoctlButtonInterception,
                                      test::InterceptionTable(link, {0, 1})),
              Result::Ok);
    ASSERT_EQ(machine.sim->Press(0), Result::Ok);
    ASSERT_EQ(machine.sim->Release(0), Result::Ok);
    (void)link.Close();  // always Ok
  }
  const std::vector<ButtonEvent> delivered = events.Items();
  EXPECT_EQ(std::count(delivered.begin(), delivered.end(), ButtonEvent{1, 0x11}), kCycles);
}

}  // namespace
}  // namespace vexlo
