#include "platform/linux/LinuxInjectionDevice.h"

#include <algorithm>

#include "platform/linux/HidUsageKeys.h"

namespace vexlo {
namespace {

constexpr std::size_t kReportLength = 30;
constexpr std::uint8_t kReportId = 0x06;
constexpr std::uint8_t kKindMouseButtons = 0x03;
constexpr std::uint8_t kKindKeyboard = 0x04;
constexpr std::uint8_t kKindConsumer = 0x05;
constexpr std::size_t kFirstDataByte = 2;

bool Contains(std::span<const std::uint8_t> list, std::uint8_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

Result LinuxInjectionDevice::Open(const std::string& uinputNode, std::unique_ptr<HidDevice>& device) {
  const auto keys = AllInjectableKeys();
  const UinputSetup setup{.name = "Vexlo input injection",
                          .vendorId = 0x1BCF,
                          .productId = 0x05E3,
                          .keys = std::vector<std::uint16_t>(keys.begin(), keys.end()),
                          .relativeAxes = {},
                          .miscellaneous = {}};
  std::unique_ptr<UinputDevice> uinput;
  if (const Result r = UinputDevice::Create(uinputNode, setup, uinput); r != Result::Ok) return r;
  device.reset(new LinuxInjectionDevice(std::move(uinput)));
  return Result::Ok;
}

LinuxInjectionDevice::~LinuxInjectionDevice() {
  std::scoped_lock lock(mutex_);
  std::vector<input_event> events;
  for (const std::uint16_t key : held_) events.push_back(InputEvent(EV_KEY, key, 0));
  if (events.empty()) return;
  events.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
  (void)device_->Emit(events);  // the kernel releases them with the device if this fails
}

Result LinuxInjectionDevice::ReadInputReport(std::span<std::uint8_t>, std::size_t& got) {
  got = 0;
  return Result::InvalidFunction;
}

Result LinuxInjectionDevice::SetFeature(std::span<const std::uint8_t> report) {
  // The liveness probe finds the device present; it has no feature reports.
  return report.empty() ? Result::Ok : Result::InvalidFunction;
}

void LinuxInjectionDevice::Change(std::vector<input_event>& events, std::uint16_t key, bool down) {
  if (key == 0) return;
  const auto found = std::find(held_.begin(), held_.end(), key);
  if (down == (found != held_.end())) return;
  if (down) {
    held_.push_back(key);
  } else {
    held_.erase(found);
  }
  events.push_back(InputEvent(EV_KEY, key, down ? 1 : 0));
}

void LinuxInjectionDevice::TakeKeyboard(std::span<const std::uint8_t> usages,
                                        std::vector<input_event>& events) {
  std::vector<std::uint8_t> now;
  for (const std::uint8_t usage : usages) {
    if (usage != 0 && !Contains(now, usage)) now.push_back(usage);
  }
  for (const std::uint8_t usage : keyboardUsages_) {
    if (!Contains(now, usage)) Change(events, KeyboardUsageKey(usage), false);
  }
  for (const std::uint8_t usage : now) {
    if (!Contains(keyboardUsages_, usage)) Change(events, KeyboardUsageKey(usage), true);
  }
  keyboardUsages_ = std::move(now);
}

void LinuxInjectionDevice::TakeConsumer(std::uint16_t usage, std::vector<input_event>& events) {
  const std::uint16_t key = ConsumerUsageKey(usage);
  if (key == consumerKey_) return;
  Change(events, consumerKey_, false);
  Change(events, key, true);
  consumerKey_ = key;
}

void LinuxInjectionDevice::TakeButtons(std::uint8_t buttons, std::vector<input_event>& events) {
  for (int bit = 0; bit < 8; ++bit) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    if ((buttons_ ^ buttons) & mask) Change(events, MouseButtonKey(mask), (buttons & mask) != 0);
  }
  buttons_ = buttons;
}

Result LinuxInjectionDevice::WriteOutputReport(std::span<const std::uint8_t> report) {
  if (report.size() != kReportLength) return Result::InvalidParameter;
  std::scoped_lock lock(mutex_);
  std::vector<input_event> events;
  if (report[0] == kReportId) {
    switch (report[1]) {
      case kKindKeyboard:
        TakeKeyboard(report.subspan(kFirstDataByte), events);
        break;
      case kKindConsumer:
        TakeConsumer(static_cast<std::uint16_t>(report[2] | report[3] << 8), events);
        break;
      case kKindMouseButtons:
        TakeButtons(report[2], events);
        break;
      default:
        break;
    }
  }
  if (events.empty()) return Result::Ok;
  events.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
  return device_->Emit(events);
}

}  // namespace vexlo
