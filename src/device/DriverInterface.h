#pragma once

#include <cstdint>
#include <string_view>

// The endpoints through which the program reaches the mouse, and the requests it sends them.
namespace vexlo {

// Control endpoints of the two filter drivers.
inline constexpr std::string_view kHidFilterName = "hidfiltr_QN5K8W";
inline constexpr std::string_view kMouseFilterName = "moufiltr_QN5K8W";

// I/O control codes: device type 0x22, any access, buffered.
inline constexpr std::uint32_t kIoctlVendorTransfer = 0x222010;      // HID filter, 528-byte request
inline constexpr std::uint32_t kIoctlButtonInterception = 0x222114;  // mouse filter, 144 bytes
inline constexpr std::uint32_t kIoctlTranslationTable = 0x222118;    // HID filter, 640 bytes
inline constexpr std::uint32_t kIoctlReportRate = 0x222294;          // mouse filter, 16 bytes

// The mouse's consumer-control collection, which carries the events of buttons 3 to 6.
inline constexpr std::uint16_t kMouseVendorId = 0x093A;
inline constexpr std::uint16_t kMouseProductId = 0x2533;
inline constexpr std::uint16_t kConsumerUsagePage = 0x0C;
inline constexpr std::uint16_t kConsumerControlUsage = 0x01;

// Its input reports: report ID, then the 16-bit event code, little-endian.
inline constexpr std::size_t kButtonReportLength = 3;

// The input-injection device.
inline constexpr std::uint16_t kInjectionVendorId = 0x1BCF;
inline constexpr std::uint16_t kInjectionProductId = 0x05E3;
inline constexpr std::uint16_t kInjectionUsagePage = 0xFF00;
inline constexpr std::uint16_t kInjectionUsage = 0x01;

}  // namespace vexlo
