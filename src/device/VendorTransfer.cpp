#include "device/VendorTransfer.h"

#include <algorithm>

#include "common/Text.h"

namespace vexlo {

static_assert(kTransferKeyUnits * 2 == kTransferSetupOffset);
static_assert(kTransferSetupOffset + std::tuple_size_v<SetupPacket> == kTransferRequestSize);

TransferRequest EncodeTransferRequest(std::string_view driverKey, const SetupPacket& packet) {
  TransferRequest request{};
  const std::u16string key = ToUtf16(TruncateUtf16(driverKey, kTransferKeyUnits - 1));
  for (std::size_t i = 0; i < key.size(); ++i) {
    request[2 * i] = static_cast<std::uint8_t>(key[i] & 0xFF);
    request[2 * i + 1] = static_cast<std::uint8_t>(key[i] >> 8);
  }
  std::copy(packet.begin(), packet.end(), request.begin() + kTransferSetupOffset);
  return request;
}

}  // namespace vexlo
