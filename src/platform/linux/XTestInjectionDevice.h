#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "platform/linux/InjectionReportDecoder.h"
#include "platform/linux/X11Display.h"
#include "platform/ports/HidDevice.h"

namespace vexlo {

// The injection device played through the X server's XTest extension, for an X11 session where
// uinput cannot be used: each output report becomes the key and button events of what it changed,
// on the key table of the kernel's HID driver (an X key code is the Linux code plus 8). A key or
// button that the server cannot take is reported on standard error, once for each, and the rest
// of the report still goes through. Destroying the device releases everything it holds down.
class XTestInjectionDevice final : public HidDevice {
 public:
  // The device on the X server that $DISPLAY names; none without one or without XTest.
  static std::unique_ptr<XTestInjectionDevice> Open();
  ~XTestInjectionDevice() override;
  XTestInjectionDevice(const XTestInjectionDevice&) = delete;
  XTestInjectionDevice& operator=(const XTestInjectionDevice&) = delete;

  const HidAttributes& Attributes() const override { return attributes_; }
  const HidCapabilities& Capabilities() const override { return capabilities_; }
  // The device has no input or feature reports: InvalidFunction, which also tells the liveness
  // probe that it is present.
  Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) override;
  void StopReads() override {}
  // Ok when the server has taken the events; InvalidParameter for a report of another length.
  Result WriteOutputReport(std::span<const std::uint8_t> report) override;
  Result SetFeature(std::span<const std::uint8_t> report) override;
  Result FlushQueue() override { return Result::Ok; }

 private:
  explicit XTestInjectionDevice(X11Display display);
  // Sends one change; false when the server has no key or button for it.
  bool Send(const InputChange& change);

  const HidAttributes attributes_;
  const HidCapabilities capabilities_;
  std::mutex mutex_;  // guards everything below
  X11Display display_;
  int min_keycode_ = 0;
  int max_keycode_ = 0;
  InjectedInput held_;
  std::set<std::pair<InputChange::Source, std::uint16_t>> reported_;  // told once already
};

}  // namespace vexlo
