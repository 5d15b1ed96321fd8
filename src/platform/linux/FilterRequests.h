#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/Result.h"

// The requests that the program sends to the filter drivers, as a driver receives them: the control
// codes, and each input buffer decoded after its length has been checked. Every backend that plays
// the drivers decodes them here.
namespace vexlo::filter {

inline constexpr std::uint32_t kVendorTransfer = 0x222010;      // HID filter
inline constexpr std::uint32_t kButtonInterception = 0x222114;  // mouse filter
inline constexpr std::uint32_t kTranslationTable = 0x222118;    // HID filter
inline constexpr std::uint32_t kReportRate = 0x222294;          // mouse filter

// The mouse the filters are attached to, and the driver names under which they are opened.
inline constexpr std::uint16_t kMouseVendorId = 0x093A;
inline constexpr std::uint16_t kMouseProductId = 0x2533;
inline constexpr std::string_view kHidFilterName = "hidfiltr_QN5K8W";
inline constexpr std::string_view kMouseFilterName = "moufiltr_QN5K8W";

// 0x222010: which device (the driver key of its HID collection's parent) and the setup packet.
struct VendorTransfer {
  std::string targetKey;  // UTF-8
  std::array<std::uint8_t, 8> setup{};

  bool IsDeviceToHost() const { return (setup[0] & 0x80) != 0; }
  std::uint8_t RequestType() const { return setup[0]; }
  std::uint8_t Request() const { return setup[1]; }
  std::uint16_t Value() const { return static_cast<std::uint16_t>(setup[2] | setup[3] << 8); }
  std::uint16_t Index() const { return static_cast<std::uint16_t>(setup[4] | setup[5] << 8); }
  std::uint16_t Length() const { return static_cast<std::uint16_t>(setup[6] | setup[7] << 8); }
};
// InvalidParameter unless the request is 528 bytes.
[[nodiscard]] Result DecodeVendorTransfer(std::span<const std::uint8_t> input,
                                          VendorTransfer& request);

// 0x222114: six records (left down, left up, right down, right up, middle down, middle up).
struct InterceptRecord {
  bool enabled = false;
  std::uint8_t action = 0;       // 2: signal the event instead of passing the click on
  std::uint16_t buttonFlag = 0;  // the mouse-class button flag the record is for
  std::int64_t eventValue = 0;   // the event to signal, as the program named it

  bool operator==(const InterceptRecord&) const = default;
};
inline constexpr std::size_t kInterceptRecordCount = 6;
using InterceptTable = std::array<InterceptRecord, kInterceptRecordCount>;
// InvalidParameter unless the table is 144 bytes.
[[nodiscard]] Result DecodeInterceptTable(std::span<const std::uint8_t> input, InterceptTable& table);

// 0x222294: the share of the mouse's 1000 reports a second that reach the system. InvalidParameter
// unless the record is 16 bytes and the factor lies in (0, 1].
[[nodiscard]] Result DecodeReportRate(std::span<const std::uint8_t> input, double& factor);

// 0x222118: the consumer usage that each host-reported button sends, and the event code the HID
// filter reports in its place. Group g of the table (entries 5g to 5g+4) holds the usage in byte 5
// of entries 5g+1 (low) and 5g+2 (high), and the event code in byte 5 of entries 5g+3 and 5g+4.
struct UsageTranslation {
  std::uint16_t usage = 0;
  std::uint16_t code = 0;

  bool operator==(const UsageTranslation&) const = default;
};
inline constexpr std::size_t kTranslationGroups = 4;
using TranslationGroups = std::array<UsageTranslation, kTranslationGroups>;
// InvalidParameter unless the table is 640 bytes.
[[nodiscard]] Result DecodeTranslationTable(std::span<const std::uint8_t> input,
                                            TranslationGroups& groups);

}  // namespace vexlo::filter
