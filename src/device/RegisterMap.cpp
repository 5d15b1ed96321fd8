#include "device/RegisterMap.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "profiles/ProfileData.h"

namespace vexlo {
namespace {

constexpr std::uint16_t kLowestDpi = 200;
constexpr std::uint16_t kDpiPerStep = 200;
constexpr std::uint8_t kStepLowBits = 0x0F;
constexpr std::uint8_t kStepHighBit = 0x10;
constexpr std::uint8_t kLevelColourShift = 4;
constexpr std::uint8_t kLightEffectShift = 5;
constexpr std::uint8_t kLightEffectMask = 0xE0;

constexpr std::array<std::uint8_t, kLightModeCount> kLightEffects = {0x0, 0x1, 0x3, 0x4, 0x5, 0x7};

// Buttons 3, 4, 5, 6.
constexpr std::array<std::uint8_t, 4> kReportToHostFunctions = {0x0C, 0x10, 0x12, 0x13};

struct MouseAssignment {
  std::uint8_t code;
  std::uint8_t function;
};
// Assignment codes 41 sensitivity up, 42 down, 43 cycle.
constexpr std::array<MouseAssignment, 3> kMouseAssignments = {{
    {41, kFunctionSensitivityUp},
    {42, kFunctionSensitivityDown},
    {43, kFunctionSensitivityCycle},
}};

constexpr std::array<PaletteColour, kColourCount> kPalette = {{
    {255, 0, 0},
    {255, 128, 0},
    {255, 255, 0},
    {128, 255, 0},
    {0, 255, 0},
    {0, 255, 128},
    {0, 255, 255},
    {0, 128, 255},
    {0, 0, 255},
    {128, 0, 255},
    {255, 0, 255},
    {255, 0, 128},
    {255, 128, 128},
    {128, 255, 128},
    {128, 128, 255},
    {255, 255, 255},
}};

// `byte` with the bits of `mask` replaced by those of `bits`.
std::uint8_t WithBits(std::uint8_t byte, std::uint8_t mask, std::uint8_t bits) {
  return static_cast<std::uint8_t>((byte & ~mask) | (bits & mask));
}

}  // namespace

std::uint8_t DpiStep(std::uint16_t dpi) {
  return static_cast<std::uint8_t>((ClampDpi(dpi) - kLowestDpi) / kDpiPerStep);
}

std::uint8_t LevelRegister(int level) {
  return static_cast<std::uint8_t>(kFirstLevelRegister + level);
}

void SetLevelStep(RegisterBank& image, int level, std::uint8_t step) {
  const auto highBit = static_cast<std::uint8_t>(0x20 >> level);
  image[kLevelHighBitsRegister] =
      WithBits(image[kLevelHighBitsRegister], highBit, (step & kStepHighBit) ? highBit : 0);
  std::uint8_t& levelByte = image[LevelRegister(level)];
  levelByte = WithBits(levelByte, kStepLowBits, step);
}

void SetLevelColour(RegisterBank& image, int level, std::uint8_t colour) {
  std::uint8_t& levelByte = image[LevelRegister(level)];
  levelByte = WithBits(levelByte, static_cast<std::uint8_t>(~kStepLowBits),
                       static_cast<std::uint8_t>(colour << kLevelColourShift));
}

std::uint8_t LightEffectCode(std::uint8_t mode) {
  return kLightEffects[std::min<std::size_t>(mode, kLightModeCount - 1)];
}

void SetLightEffect(RegisterBank& image, std::uint8_t mode) {
  image[kLightEffectRegister] =
      WithBits(image[kLightEffectRegister], kLightEffectMask,
               static_cast<std::uint8_t>(LightEffectCode(mode) << kLightEffectShift));
}

void SetButtonFunction(RegisterBank& image, std::uint8_t reg, std::uint8_t function) {
  image[reg] = WithBits(image[reg], kButtonFunctionMask, function);
}

std::uint8_t SensitivityFunction(std::uint8_t code) {
  for (const MouseAssignment& assignment : kMouseAssignments) {
    if (assignment.code == code) return assignment.function;
  }
  return 0;
}

std::uint8_t ReportToHostFunction(int button) {
  return kReportToHostFunctions.at(static_cast<std::size_t>(button - kFirstRegisterButton));
}

bool MousePerformsCode(int button, std::uint8_t code) {
  if (button < 0 || button >= kButtonCount) return false;
  if (code == DefaultKeyCode(button)) return true;
  return button >= kFirstRegisterButton && SensitivityFunction(code) != 0;
}

std::uint8_t ButtonHardwareFunction(int button, std::uint8_t code, std::uint8_t factory) {
  if (code == DefaultKeyCode(button)) return factory;
  if (const std::uint8_t sensitivity = SensitivityFunction(code)) return sensitivity;
  return ReportToHostFunction(button);
}

PaletteColour CpiColour(std::uint8_t index) {
  return kPalette[std::min<std::size_t>(index, kColourCount - 1)];
}

}  // namespace vexlo
