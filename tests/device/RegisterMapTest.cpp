#include "device/RegisterMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlo {
namespace {

TEST(RegisterMapTest, SensitivitySteps) {
  const struct {
    std::uint16_t dpi;
    std::uint8_t step;
  } cases[] = {{0, 0},     {150, 0},   {200, 0},   {399, 0},   {400, 1},   {800, 3},   {3200, 15},
               {3399, 15}, {3400, 16}, {3600, 17}, {4000, 19}, {4200, 20}, {4201, 20}, {65535, 20}};
  for (const auto& c : cases) EXPECT_EQ(DpiStep(c.dpi), c.step) << c.dpi;
}

// Registers 0x02..0x05 and 0x08 before and after one level's step is set.
TEST(RegisterMapTest, ALevelsStepSplitsIntoItsRegisterAndItsHighBit) {
  const struct {
    int level;
    std::uint8_t step;
    std::uint8_t levelBefore, highBefore;
    std::uint8_t levelAfter, highAfter;
  } cases[] = {
      {0, 0, 0x03, 0x00, 0x00, 0x00},  {0, 20, 0x03, 0x00, 0x04, 0x20},
      {1, 16, 0x84, 0x00, 0x80, 0x10}, {2, 17, 0x47, 0x00, 0x41, 0x08},
      {3, 20, 0x2F, 0x00, 0x24, 0x04}, {3, 15, 0x24, 0x3C, 0x2F, 0x38},
      {1, 4, 0xF0, 0xFF, 0xF4, 0xEF},
  };
  for (const auto& c : cases) {
    RegisterBank image{};
    image[0x02 + c.level] = c.levelBefore;
    image[0x08] = c.highBefore;
    SetLevelStep(image, c.level, c.step);
    RegisterBank expected{};
    expected[0x02 + c.level] = c.levelAfter;
    expected[0x08] = c.highAfter;
    EXPECT_EQ(image, expected) << "level " << c.level << " step " << int{c.step};
  }
}

TEST(RegisterMapTest, ALevelsColourTakesTheHighNibble) {
  RegisterBank image{};
  image[0x03] = 0x84;
  image[0x08] = 0xFF;
  SetLevelColour(image, 1, 15);
  EXPECT_EQ(image[0x03], 0xF4);
  SetLevelColour(image, 1, 0);
  EXPECT_EQ(image[0x03], 0x04);
  EXPECT_EQ(image[0x08], 0xFF);
}

TEST(RegisterMapTest, LightEffectsTakeBits7To5OfRegister0A) {
  const std::uint8_t effects[] = {0x0, 0x1, 0x3, 0x4, 0x5, 0x7};
  const std::uint8_t withButtonBits[] = {0x0C, 0x2C, 0x6C, 0x8C, 0xAC, 0xEC};
  for (std::uint8_t mode = 0; mode < 6; ++mode) {
    EXPECT_EQ(LightEffectCode(mode), effects[mode]) << int{mode};
    RegisterBank image{};
    image[0x0A] = 0xEC;
    SetLightEffect(image, mode);
    EXPECT_EQ(image[0x0A], withButtonBits[mode]) << int{mode};
  }
}

TEST(RegisterMapTest, AButtonFunctionKeepsBits7To5) {
  RegisterBank image{};
  image[0x0B] = 0xE9;
  SetButtonFunction(image, 0x0B, 0x12);
  EXPECT_EQ(image[0x0B], 0xF2);
  SetButtonFunction(image, 0x0B, 0x08);
  EXPECT_EQ(image[0x0B], 0xE8);
}

TEST(RegisterMapTest, OnlyTheSensitivityCodesHaveAMouseFunction) {
  for (int code = 0; code < 256; ++code) {
    const std::uint8_t expected = code == 41 ? 0x09 : code == 42 ? 0x0A : code == 43 ? 0x08 : 0x00;
    EXPECT_EQ(SensitivityFunction(static_cast<std::uint8_t>(code)), expected) << code;
  }
}

TEST(RegisterMapTest, HardwareFunctionsOfTheSideAndSensitivityButtons) {
  const struct {
    int button;
    std::uint8_t code;
    std::uint8_t factory;
    std::uint8_t function;
  } cases[] = {
      {3, 3, 0x01, 0x01},  {3, 4, 0x01, 0x0C},  {3, 0, 0x01, 0x0C},  {3, 41, 0x01, 0x09},
      {3, 43, 0x01, 0x08}, {4, 4, 0x00, 0x00},  {4, 3, 0x00, 0x10},  {4, 42, 0x00, 0x0A},
      {5, 41, 0x09, 0x09}, {5, 42, 0x09, 0x0A}, {5, 43, 0x09, 0x08}, {5, 0, 0x09, 0x12},
      {5, 5, 0x09, 0x12},  {6, 42, 0x0A, 0x0A}, {6, 41, 0x0A, 0x09}, {6, 37, 0x0A, 0x13},
      {6, 40, 0x0A, 0x13}, {6, 6, 0x0A, 0x13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonHardwareFunction(c.button, c.code, c.factory), c.function)
        << c.button << "/" << int{c.code};
  }
  EXPECT_EQ(ReportToHostFunction(3), 0x0C);
  EXPECT_EQ(ReportToHostFunction(4), 0x10);
  EXPECT_EQ(ReportToHostFunction(5), 0x12);
  EXPECT_EQ(ReportToHostFunction(6), 0x13);
}

TEST(RegisterMapTest, ThePaletteOfTheLevelColours) {
  const std::vector<PaletteColour> expected = {
      {255, 0, 0},     {255, 128, 0},   {255, 255, 0},   {128, 255, 0},
      {0, 255, 0},     {0, 255, 128},   {0, 255, 255},   {0, 128, 255},
      {0, 0, 255},     {128, 0, 255},   {255, 0, 255},   {255, 0, 128},
      {255, 128, 128}, {128, 255, 128}, {128, 128, 255}, {255, 255, 255},
  };
  for (std::uint8_t index = 0; index < 16; ++index) {
    EXPECT_EQ(CpiColour(index), expected[index]) << int{index};
  }
  EXPECT_EQ(CpiColour(20), (PaletteColour{255, 255, 255}));
}

}  // namespace
}  // namespace vexlo
