#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/UinputDevice.h"
#include "platform/ports/HidDevice.h"

namespace vexlo {

// The input-injection device on Linux: a uinput keyboard, media-key and mouse-button device that
// takes the injection device's 30-byte output reports (report ID 0x06, then 0x03 mouse buttons,
// 0x04 keyboard or 0x05 consumer control) and sends the key and button changes each one makes.
// It is made when opened and removed when destroyed, after releasing every key and button it holds
// down; the kernel releases them too if the process ends without that.
class LinuxInjectionDevice final : public HidDevice {
 public:
  // Ok; FileNotFound without a uinput node; AccessDenied when this user may not open it.
  [[nodiscard]] static Result Open(const std::string& uinputNode, std::unique_ptr<HidDevice>& device);
  ~LinuxInjectionDevice() override;

  const HidAttributes& Attributes() const override { return attributes_; }
  const HidCapabilities& Capabilities() const override { return capabilities_; }
  // It has no input reports.
  Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) override;
  void StopReads() override {}
  // InvalidParameter for a report that is not 30 bytes; a report of an unknown kind, and a usage
  // without a Linux key, change nothing and are taken (Ok), as the device takes them.
  Result WriteOutputReport(std::span<const std::uint8_t> report) override;
  Result SetFeature(std::span<const std::uint8_t> report) override;
  Result FlushQueue() override { return Result::Ok; }

 private:
  explicit LinuxInjectionDevice(std::unique_ptr<UinputDevice> device) : device_(std::move(device)) {}
  void Change(std::vector<input_event>& events, std::uint16_t key, bool down);
  void TakeKeyboard(std::span<const std::uint8_t> usages, std::vector<input_event>& events);
  void TakeConsumer(std::uint16_t usage, std::vector<input_event>& events);
  void TakeButtons(std::uint8_t buttons, std::vector<input_event>& events);

  HidAttributes attributes_{.vendorId = 0x1BCF, .productId = 0x05E3};
  HidCapabilities capabilities_{.usage = 0x01, .usagePage = 0xFF00, .outputReportLength = 30};
  std::mutex mutex_;  // guards everything below
  std::unique_ptr<UinputDevice> device_;
  std::vector<std::uint16_t> held_;  // key and button codes held down
  std::vector<std::uint8_t> keyboardUsages_;
  std::uint16_t consumerKey_ = 0;
  std::uint8_t buttons_ = 0;
};

}  // namespace vexlo
