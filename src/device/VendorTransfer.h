#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The USB vendor control transfers through which the mouse's registers are read and written.
namespace vexlo {

// The 8 setup bytes of a control transfer: bmRequestType, bRequest, then wValue, wIndex and
// wLength, each little-endian.
using SetupPacket = std::array<std::uint8_t, 8>;

// Reads register `reg`: one byte comes back.
constexpr SetupPacket ReadRegisterPacket(std::uint8_t reg) {
  return {0xC0, 0x01, 0x00, 0x01, reg, 0x00, 0x01, 0x00};
}

// Writes `value` into register `reg`; nothing comes back.
constexpr SetupPacket WriteRegisterPacket(std::uint8_t reg, std::uint8_t value) {
  return {0x40, 0x01, 0x00, 0x01, reg, value, 0x00, 0x00};
}

// Opens and ends the host's session with the mouse.
inline constexpr SetupPacket kWakePacket = {0x40, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
inline constexpr SetupPacket kReleasePacket = {0x40, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// True for a transfer from the device to the host (bit 7 of bmRequestType).
constexpr bool IsDeviceToHost(const SetupPacket& packet) {
  return (packet[0] & 0x80) != 0;
}

// wLength of the packet: how many bytes an IN transfer returns.
constexpr std::size_t SetupLength(const SetupPacket& packet) {
  return static_cast<std::size_t>(packet[6] | packet[7] << 8);
}

// The HID filter's transfer request: the driver key of the device as 260 UTF-16 units
// (little-endian, NUL-terminated, at most 259 characters) in bytes 0..519, the setup packet in
// bytes 520..527.
inline constexpr std::size_t kTransferKeyUnits = 260;
inline constexpr std::size_t kTransferSetupOffset = 520;
inline constexpr std::size_t kTransferRequestSize = 528;
using TransferRequest = std::array<std::uint8_t, kTransferRequestSize>;

// Builds the request for the device whose driver key is `driverKey` (UTF-8).
TransferRequest EncodeTransferRequest(std::string_view driverKey, const SetupPacket& packet);

}  // namespace vexlo
