#include "device/VendorTransfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexlo {
namespace {

struct PacketCase {
  const char* name;
  SetupPacket packet;
  std::array<std::uint8_t, 8> bytes;
};

TEST(VendorTransferTest, PacketsCarryTheirBytes) {
  const PacketCase cases[] = {
      {"read 0x10", ReadRegisterPacket(0x10), {0xC0, 0x01, 0x00, 0x01, 0x10, 0x00, 0x01, 0x00}},
      {"read 0x1F", ReadRegisterPacket(0x1F), {0xC0, 0x01, 0x00, 0x01, 0x1F, 0x00, 0x01, 0x00}},
      {"write 0x09=0x5A",
       WriteRegisterPacket(0x09, 0x5A),
       {0x40, 0x01, 0x00, 0x01, 0x09, 0x5A, 0x00, 0x00}},
      {"write 0x7F=0x01",
       WriteRegisterPacket(0x7F, 0x01),
       {0x40, 0x01, 0x00, 0x01, 0x7F, 0x01, 0x00, 0x00}},
      {"wake", kWakePacket, {0x40, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"release", kReleasePacket, {0x40, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  };
  for (const PacketCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.packet, c.bytes);
  }
  EXPECT_TRUE(IsDeviceToHost(ReadRegisterPacket(3)));
  EXPECT_FALSE(IsDeviceToHost(WriteRegisterPacket(3, 1)));
  EXPECT_EQ(SetupLength(ReadRegisterPacket(3)), 1u);
  EXPECT_EQ(SetupLength(kWakePacket), 0u);
}

TEST(VendorTransferTest, RequestHoldsTheKeyInUtf16ThenThePacket) {
  const std::string key = R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)";
  const TransferRequest request = EncodeTransferRequest(key, ReadRegisterPacket(0x05));
  ASSERT_EQ(request.size(), 528u);
  // "{7" in UTF-16LE, then the last character '2' and the terminator.
  EXPECT_EQ(request[0], '{');
  EXPECT_EQ(request[1], 0x00);
  EXPECT_EQ(request[2], '7');
  EXPECT_EQ(request[3], 0x00);
  EXPECT_EQ(request[2 * 42], '2');
  EXPECT_EQ(request[2 * 43], 0x00);
  EXPECT_EQ(request[2 * 43 + 1], 0x00);
  for (std::size_t i = 0; i < key.size(); ++i) {
    EXPECT_EQ(request[2 * i], static_cast<std::uint8_t>(key[i])) << i;
    EXPECT_EQ(request[2 * i + 1], 0x00) << i;
  }
  for (std::size_t i = 2 * key.size(); i < 520; ++i) EXPECT_EQ(request[i], 0x00) << i;
  const std::vector<std::uint8_t> setup(request.begin() + 520, request.end());
  EXPECT_EQ(setup, (std::vector<std::uint8_t>{0xC0, 0x01, 0x00, 0x01, 0x05, 0x00, 0x01, 0x00}));
}

TEST(VendorTransferTest, KeyOutsideAsciiBecomesUtf16Units) {
  // U+00E9, U+20AC and U+1F600 (a surrogate pair).
  const TransferRequest request =
      EncodeTransferRequest("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", kWakePacket);
  const std::vector<std::uint8_t> head(request.begin(), request.begin() + 10);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{0xE9, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE, 0x00,
                                             0x00}));
}

TEST(VendorTransferTest, LongKeyIsCutTo259UnitsAndStaysTerminated) {
  const TransferRequest request = EncodeTransferRequest(std::string(300, 'k'), kReleasePacket);
  EXPECT_EQ(request[2 * 258], 'k');
  EXPECT_EQ(request[518], 0x00);
  EXPECT_EQ(request[519], 0x00);
  EXPECT_EQ(request[520], 0x40);
  EXPECT_EQ(request[521], 0x06);
}

}  // namespace
}  // namespace vexlo
