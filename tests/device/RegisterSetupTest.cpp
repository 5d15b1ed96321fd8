#include "device/RegisterSetup.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

RegisterBank WithModelId(std::uint8_t high, std::uint8_t low) {
  RegisterBank registers{};
  registers[0x16] = high;
  registers[0x17] = low;
  return registers;
}

TEST(RegisterSetupTest, IdentifiesTheVariantOrKeepsTheCurrentOne) {
  EXPECT_EQ(IdentifyModelVariant(WithModelId(0x0D, 0x4A), 0), 1);
  EXPECT_EQ(IdentifyModelVariant(WithModelId(0x1E, 0xB7), 0), 2);
  EXPECT_EQ(IdentifyModelVariant(WithModelId(0x1E, 0xB7), 1), 2);
  EXPECT_EQ(IdentifyModelVariant(WithModelId(0x0D, 0xB7), 0), 0);
  EXPECT_EQ(IdentifyModelVariant(WithModelId(0x00, 0x00), 1), 1);
}

TEST(RegisterSetupTest, NormalisingKeepsBits7To5AndPutsTheFactoryFunctions) {
  RegisterBank registers{};
  for (std::size_t reg = 0x09; reg <= 0x11; ++reg) registers[reg] = 0xFF;  // every bit set
  NormaliseButtonRegisters(registers, 1);
  const std::uint8_t variant1[] = {0xE1, 0xE0, 0xEA, 0xE5, 0xE4, 0xE9, 0xE3, 0xEB, 0xE7};
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(registers[0x09 + i], variant1[i]) << i;
  EXPECT_EQ(registers[0x08], 0x00);
  EXPECT_EQ(registers[0x12], 0x00);

  for (std::size_t reg = 0x09; reg <= 0x11; ++reg) registers[reg] = 0x5F;  // bits 6 and 4..0
  NormaliseButtonRegisters(registers, 0);  // not identified: the second row
  const std::uint8_t other[] = {0x40, 0x41, 0x49, 0x45, 0x44, 0x42, 0x43, 0x4A, 0x47};
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(registers[0x09 + i], other[i]) << i;
}

TEST(RegisterSetupTest, ButtonRegisterMapOfTheFactoryFunctions) {
  RegisterBank registers{};
  NormaliseButtonRegisters(registers, 1);
  ButtonRegisterMap map = MapButtonRegisters(registers);
  EXPECT_EQ(map[3], 0x09);
  EXPECT_EQ(map[4], 0x0A);
  EXPECT_EQ(map[5], 0x0E);
  EXPECT_EQ(map[6], 0x0B);
  EXPECT_EQ(map[1], 0x00);
  EXPECT_EQ(map[2], 0x00);

  NormaliseButtonRegisters(registers, 2);
  map = MapButtonRegisters(registers);
  EXPECT_EQ(map[3], 0x0A);
  EXPECT_EQ(map[4], 0x09);
  EXPECT_EQ(map[5], 0x0B);
  EXPECT_EQ(map[6], 0x10);
}

TEST(RegisterSetupTest, SlotsOfTheHardwareFunctions) {
  for (unsigned function = 0; function < 32; ++function) {
    const std::uint8_t expected = function == 0x00   ? 4
                                  : function == 0x01 ? 3
                                  : function == 0x09 ? 5
                                  : function == 0x0A ? 6
                                                     : 0;
    EXPECT_EQ(ButtonOfFunction(static_cast<std::uint8_t>(function)), expected) << function;
  }
}

}  // namespace
}  // namespace vexlo
