// Prints the 32 configuration registers of the real mouse, read through the Linux backend's
// vendor channel, in the layout of "vexlo-sim registers", so that the two can be compared after
// the same profile was applied. Writes nothing but the host's session registers.
#include <cstdio>
#include <vector>

#include "device/VendorTransfer.h"
#include "platform/linux/DeviceAccessCheck.h"
#include "platform/linux/UsbControlChannel.h"
#include "platform/sim/SimCommands.h"

namespace {

using vexlo::Result;

Result Send(vexlo::UsbControlChannel& usb, const vexlo::SetupPacket& packet,
            std::span<std::uint8_t> output = {}) {
  vexlo::filter::VendorTransfer transfer;
  transfer.setup = packet;
  std::size_t returned = 0;
  return usb.Transfer(transfer, output, returned);
}

Result Read(vexlo::UsbControlChannel& usb, std::uint8_t reg, std::uint8_t& value) {
  return Send(usb, vexlo::ReadRegisterPacket(reg), std::span(&value, 1));
}

}  // namespace

int main() {
  const std::vector<vexlo::MouseNodes> mice = vexlo::FindMice({});
  if (mice.empty()) {
    std::fprintf(stderr, "No mouse (USB 093a:2533) is plugged in.\n");
    return 1;
  }
  std::unique_ptr<vexlo::UsbControlChannel> usb;
  if (const Result r = vexlo::UsbControlChannel::Open(mice.front().usb, usb); r != Result::Ok) {
    std::fprintf(stderr, "Cannot open %s (error %u): install the access rule with ./dev udev.\n",
                 mice.front().usb.c_str(), vexlo::ToNumber(r));
    return 1;
  }
  // The session that opens the configuration registers, as the program opens it.
  std::uint8_t ignored = 0;
  (void)Send(*usb, vexlo::kWakePacket);
  (void)Send(*usb, vexlo::WriteRegisterPacket(0x7F, 0x00));
  (void)Send(*usb, vexlo::WriteRegisterPacket(0x09, 0x5A));
  (void)Read(*usb, 0x10, ignored);
  (void)Read(*usb, 0x11, ignored);
  (void)Send(*usb, vexlo::WriteRegisterPacket(0x7F, 0x01));
  vexlo::SimRegisters registers{};
  int failed = 0;
  for (std::uint8_t reg = 0; reg < registers.size(); ++reg) {
    if (Read(*usb, reg, registers[reg]) != Result::Ok) ++failed;
  }
  (void)Send(*usb, vexlo::WriteRegisterPacket(0x7F, 0x00));
  (void)Send(*usb, vexlo::WriteRegisterPacket(0x09, 0x00));
  (void)Send(*usb, vexlo::kReleasePacket);
  std::fputs(vexlo::DescribeRegisters(registers).c_str(), stdout);
  if (failed) std::fprintf(stderr, "%d registers could not be read.\n", failed);
  return failed ? 1 : 0;
}
