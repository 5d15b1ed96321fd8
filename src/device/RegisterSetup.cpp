#include "device/RegisterSetup.h"

namespace vexlo {
namespace {

constexpr std::size_t kButtonRegisterCount = kLastButtonRegister - kFirstButtonRegister + 1;
using FactoryRow = std::array<std::uint8_t, kButtonRegisterCount>;

// Registers 0x09 to 0x11.
constexpr FactoryRow kFactoryVariant1 = {0x01, 0x00, 0x0A, 0x05, 0x04, 0x09, 0x03, 0x0B, 0x07};
constexpr FactoryRow kFactoryOther = {0x00, 0x01, 0x09, 0x05, 0x04, 0x02, 0x03, 0x0A, 0x07};

constexpr std::uint8_t kModelRegisterHigh = 0x16;
constexpr std::uint8_t kModelRegisterLow = 0x17;

}  // namespace

int IdentifyModelVariant(const RegisterBank& registers, int current) {
  const std::uint8_t high = registers[kModelRegisterHigh];
  const std::uint8_t low = registers[kModelRegisterLow];
  if (high == 0x0D && low == 0x4A) return 1;
  if (high == 0x1E && low == 0xB7) return 2;
  return current;
}

std::uint8_t FactoryButtonFunction(int variant, std::uint8_t reg) {
  const FactoryRow& row = variant == 1 ? kFactoryVariant1 : kFactoryOther;
  return row[reg - kFirstButtonRegister];
}

std::uint8_t ButtonOfFunction(std::uint8_t function) {
  switch (function) {
    case 0x00:
      return 4;
    case 0x01:
      return 3;
    case 0x09:
      return 5;
    case 0x0A:
      return 6;
    default:
      return 0;
  }
}

void NormaliseButtonRegisters(RegisterBank& registers, int variant) {
  for (std::uint8_t reg = kFirstButtonRegister; reg <= kLastButtonRegister; ++reg) {
    registers[reg] = static_cast<std::uint8_t>((registers[reg] & ~kButtonFunctionMask) |
                                               FactoryButtonFunction(variant, reg));
  }
}

ButtonRegisterMap MapButtonRegisters(const RegisterBank& registers) {
  ButtonRegisterMap map{};
  for (std::uint8_t reg = kFirstButtonRegister; reg <= kLastButtonRegister; ++reg) {
    map[ButtonOfFunction(registers[reg] & kButtonFunctionMask)] = reg;
  }
  return map;
}

}  // namespace vexlo
