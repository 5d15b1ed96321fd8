#include "engine/InputInjector.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>

#include "device/DriverInterface.h"
#include "engine/InjectionReport.h"

namespace vexlo {

InputInjector::InputInjector(DeviceIo& io, HidEnumerator& enumerator)
    : enumerator_(enumerator), device_(io, enumerator) {}

Result InputInjector::OpenInjectionDevice() {
  std::scoped_lock lock(mutex_);
  // A device opened afresh holds nothing down: closing the old one released what it held.
  keys_.clear();
  buttons_ = 0;
  consumerHeld_ = false;
  return OpenLocked();
}

Result InputInjector::OpenLocked() {
  device_.Close();
  return OpenFirstCollection(
      enumerator_, {kInjectionVendorId, kInjectionProductId, kInjectionUsagePage, kInjectionUsage},
      /*write=*/true, /*overlapped=*/false, device_);
}

void InputInjector::CloseInjectionDevice() {
  std::scoped_lock lock(mutex_);
  device_.Close();
}

bool InputInjector::IsOpen() const {
  std::scoped_lock lock(mutex_);
  return device_.IsOpen();
}

std::uint64_t InputInjector::FailedWrites() const {
  std::scoped_lock lock(mutex_);
  return failedWrites_;
}

Result InputInjector::WriteLocked(std::span<const std::uint8_t> report) {
  Result result = device_.WriteOutputReport(report);
  if (result == Result::DeviceNotConnected && OpenLocked() == Result::Ok) {
    result = device_.WriteOutputReport(report);
  }
  if (result == Result::Ok) {
    failureReported_ = false;
    return result;
  }
  ++failedWrites_;
  if (!std::exchange(failureReported_, true)) {
    std::cerr << "vexlo: the injection device refused input (error " << ToNumber(result)
              << "); host functions send nothing until it takes input again\n";
  }
  return result;
}

Result InputInjector::SendKey(HidUsage usage, bool down) {
  std::scoped_lock lock(mutex_);
  return SendKeyLocked(usage, down);
}

Result InputInjector::SendKeyCode(std::uint8_t keyCode, bool down) {
  if (keyCode == 0) return Result::NothingToActOn;
  return SendKey(KeyCodeToUsage(keyCode), down);
}

Result InputInjector::SendKeyLocked(HidUsage usage, bool down) {
  if (!device_.IsOpen()) return Result::NotFound;
  if (usage.page == kUsagePageConsumer) {
    consumerHeld_ = down && usage.usage != 0;
    return WriteLocked(EncodeConsumer(down ? usage.usage : 0));
  }
  if (usage.page != kUsagePageKeyboard) return Result::NothingToActOn;
  const auto key = static_cast<std::uint8_t>(usage.usage & 0xFF);
  if (down) {
    // Usage 0 is no key: it would only take a place in the list.
    if (key != 0 && keys_.size() < kInjectionKeySlots &&
        std::find(keys_.begin(), keys_.end(), key) == keys_.end()) {
      keys_.push_back(key);
    }
  } else if (key == 0) {
    keys_.clear();
  } else {
    std::erase(keys_, key);
  }
  return WriteLocked(EncodeKeyboard(keys_));
}

Result InputInjector::SendMouseEvent(const MouseEvent& event) {
  if (event.kind != MouseEvent::kButton) return Result::NothingToActOn;
  std::scoped_lock lock(mutex_);
  return SendMouseButtonLocked(event.buttons, event.down);
}

Result InputInjector::SendMouseButton(std::uint8_t buttons, bool down) {
  return SendMouseEvent({MouseEvent::kButton, buttons, down});
}

Result InputInjector::SendMouseButtonLocked(std::uint8_t buttons, bool down) {
  if (!device_.IsOpen()) return Result::NotFound;
  buttons_ = static_cast<std::uint8_t>(down ? buttons_ | buttons : buttons_ & ~buttons);
  return WriteLocked(EncodeMouseButtons(buttons_));
}

void InputInjector::ReleaseAll() {
  std::scoped_lock lock(mutex_);
  // A failed write leaves the host as it is; nothing better can be done about it here.
  (void)SendKeyLocked({kUsagePageKeyboard, 0}, false);
  (void)SendMouseButtonLocked(kAllMouseButtons, false);
  if (consumerHeld_) (void)SendKeyLocked({kUsagePageConsumer, 0}, false);
}

}  // namespace vexlo
