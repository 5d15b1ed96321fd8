#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "Inbox.h"
#include "device/VendorTransfer.h"
#include "platform/sim/SimService.h"

namespace vexlo::test {

inline constexpr const char* kMouseDriverKey = R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)";
inline constexpr const char* kButtonCollection =
    R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#7&1f2e3d4c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})";
inline constexpr const char* kVendorCollection =
    R"(\\?\hid#vid_093a&pid_2533&mi_01&col03#7&1f2e3d4c&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030})";
inline constexpr const char* kInjectionDevice =
    R"(\\?\hid#vid_1bcf&pid_05e3#7&3a9c21e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

// Keeps what the environment says about an endpoint; any thread.
class RecordingListener final : public SimEndpointListener {
 public:
  void OnInputReport(std::span<const std::uint8_t> report) override {
    reports.Add(std::vector<std::uint8_t>(report.begin(), report.end()));
  }
  void OnEventSignalled(std::int64_t value) override { signals.Add(value); }
  void OnGone() override { gone.Add(true); }

  Inbox<std::vector<std::uint8_t>> reports;
  Inbox<std::int64_t> signals;
  Inbox<bool> gone;
};

// A 30-byte output report of the injection device that starts with `head`.
inline std::vector<std::uint8_t> InjectionReport(std::initializer_list<std::uint8_t> head) {
  std::vector<std::uint8_t> report(head);
  report.resize(30, 0x00);
  return report;
}

// The HID filter's request for a transfer to the mouse.
inline std::vector<std::uint8_t> MouseRequest(const SetupPacket& packet,
                                              const char* key = kMouseDriverKey) {
  const TransferRequest request = EncodeTransferRequest(key, packet);
  return std::vector<std::uint8_t>(request.begin(), request.end());
}

}  // namespace vexlo::test
