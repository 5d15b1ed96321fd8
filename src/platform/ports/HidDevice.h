#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/Result.h"

namespace vexlo {

// The identity of a HID device, as its descriptor gives it.
struct HidAttributes {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t versionNumber = 0;

  bool operator==(const HidAttributes&) const = default;
};

// What a HID top-level collection is and the sizes of its reports, each counting the report ID
// byte.
struct HidCapabilities {
  std::uint16_t usage = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t inputReportLength = 0;
  std::uint16_t outputReportLength = 0;
  std::uint16_t featureReportLength = 0;

  bool operator==(const HidCapabilities&) const = default;
};

// How a HID collection is opened.
struct HidOpenOptions {
  bool read = true;
  bool write = false;
  bool overlapped = true;  // reads can be stopped with StopReads
  bool exclusive = false;  // share for reading only, instead of reading and writing
};

// An opened HID collection (DeviceIo::OpenHid). Destroying it closes it; a read in progress must
// have returned first.
class HidDevice {
 public:
  virtual ~HidDevice() = default;

  // The attributes and capabilities, read when the collection was opened. Never block; any thread.
  virtual const HidAttributes& Attributes() const = 0;
  virtual const HidCapabilities& Capabilities() const = 0;

  // Waits for the next input report and copies it (at most out.size() bytes, which should be the
  // input report length) into `out`; `got` is its length. Blocks until a report arrives, StopReads
  // is called (before or during the wait: OperationAborted) or the device goes away
  // (DeviceNotConnected). One reader at a time; any thread. Needs read access and an overlapped
  // open to be stoppable.
  [[nodiscard]] virtual Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) = 0;

  // Makes a read in progress, and every later read on this object, return OperationAborted at
  // once. Never blocks; any thread.
  virtual void StopReads() = 0;

  // Writes one output report (the output report length, report ID first). Blocks until the device
  // has taken it. Ok, AccessDenied without write access, InvalidParameter for another length,
  // DeviceNotConnected when the device is gone, or the platform's error. Any thread.
  [[nodiscard]] virtual Result WriteOutputReport(std::span<const std::uint8_t> report) = 0;

  // Sends a feature report. With an empty report this is the liveness probe: it fails with
  // DeviceNotConnected exactly when the device is gone; any other answer (success or another error)
  // means it is present. Blocks briefly; any thread, also while a read waits.
  [[nodiscard]] virtual Result SetFeature(std::span<const std::uint8_t> report) = 0;

  // Drops the input reports that arrived and were not read yet. Ok, or DeviceNotConnected when the
  // device is gone. Never blocks for long; any thread.
  [[nodiscard]] virtual Result FlushQueue() = 0;
};

}  // namespace vexlo
