#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ports/DeviceIo.h"
#include "platform/ports/HidEnumerator.h"

namespace vexlo::test {

// HID interfaces described by the test, whose output reports are kept byte for byte. Only what
// the input injector uses works: listing, opening a collection and writing to it.
class FakeInjectionDevice final : public HidEnumerator, public DeviceIo {
 public:
  struct Interface {
    std::string path;
    HidAttributes attributes;
    HidCapabilities capabilities;
  };

  // The injection device as the platform shows it.
  static Interface Injection() {
    return {R"(\\?\hid#vid_1bcf&pid_05e3#7&3a9c21e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
            {0x1BCF, 0x05E3, 0x0100},
            {0x01, 0xFF00, 0, 30, 0}};
  }

  explicit FakeInjectionDevice(std::vector<Interface> interfaces = {Injection()})
      : interfaces_(std::move(interfaces)) {}

  Result listFailure = Result::Ok;   // answer of ListInterfacePaths when not Ok
  Result writeFailure = Result::Ok;  // answer of every write when not Ok (the report is kept)

  // The devices opened so far are gone (the process behind them restarted): their writes fail
  // with DeviceNotConnected, and a device opened from now on works.
  void MarkOpenDevicesGone() {
    std::scoped_lock lock(mutex_);
    goneBefore_ = opened_.size();
  }

  // Every report written, in order, with the path of the interface it went to.
  std::vector<std::vector<std::uint8_t>> Reports() const {
    std::scoped_lock lock(mutex_);
    return reports_;
  }
  std::vector<std::string> WrittenTo() const {
    std::scoped_lock lock(mutex_);
    return writtenTo_;
  }
  std::vector<HidOpenOptions> Opened() const {
    std::scoped_lock lock(mutex_);
    return opened_;
  }

  Result ListInterfacePaths(std::vector<std::string>& paths) override {
    paths.clear();
    if (listFailure != Result::Ok) return listFailure;
    for (const Interface& hid : interfaces_) paths.push_back(hid.path);
    return Result::Ok;
  }
  Result InterfaceNode(std::string_view, DeviceNode&) override { return Result::NotFound; }
  Result ParentNode(DeviceNode, DeviceNode&) override { return Result::NotFound; }
  Result NodeInstanceId(DeviceNode, std::string&) override { return Result::NotFound; }
  Result NodeDriverKey(DeviceNode, std::string&) override { return Result::NotFound; }

  Result OpenDriver(std::string_view, std::unique_ptr<DriverEndpoint>&) override {
    return Result::FileNotFound;
  }
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override {
    for (const Interface& hid : interfaces_) {
      if (hid.path != path) continue;
      std::size_t number = 0;
      {
        std::scoped_lock lock(mutex_);
        number = opened_.size();
        opened_.push_back(options);
      }
      device = std::make_unique<Device>(*this, hid, number);
      return Result::Ok;
    }
    return Result::FileNotFound;
  }
  Result CreateEventSet(std::size_t, std::unique_ptr<DeviceEventSet>&) override {
    return Result::NotEnoughMemory;
  }

 private:
  class Device final : public HidDevice {
   public:
    Device(FakeInjectionDevice& owner, Interface hid, std::size_t number)
        : owner_(owner), hid_(std::move(hid)), number_(number) {}
    const HidAttributes& Attributes() const override { return hid_.attributes; }
    const HidCapabilities& Capabilities() const override { return hid_.capabilities; }
    Result ReadInputReport(std::span<std::uint8_t>, std::size_t&) override {
      return Result::OperationAborted;
    }
    void StopReads() override {}
    Result WriteOutputReport(std::span<const std::uint8_t> report) override {
      std::scoped_lock lock(owner_.mutex_);
      if (number_ < owner_.goneBefore_) return Result::DeviceNotConnected;
      owner_.reports_.emplace_back(report.begin(), report.end());
      owner_.writtenTo_.push_back(hid_.path);
      return owner_.writeFailure;
    }
    Result SetFeature(std::span<const std::uint8_t>) override { return Result::Ok; }
    Result FlushQueue() override { return Result::Ok; }

   private:
    FakeInjectionDevice& owner_;
    Interface hid_;
    std::size_t number_;  // in the order of opening
  };

  std::vector<Interface> interfaces_;
  mutable std::mutex mutex_;  // guards the members below
  std::vector<std::vector<std::uint8_t>> reports_;
  std::vector<std::string> writtenTo_;
  std::vector<HidOpenOptions> opened_;
  std::size_t goneBefore_ = 0;  // devices opened before this number are gone
};

}  // namespace vexlo::test
