#pragma once

#include <cstdint>

#include "device/RegisterSetup.h"

// What the host writes into the mouse's registers: the sensitivity step and colour of each of the
// four levels, the light effect, and the hardware function of each side and sensitivity button.
// Every setter changes only its own bits of the register image; the caller writes the byte.
namespace vexlo {

// Registers 0x02..0x05: level 0..3, bits 3..0 the low four bits of its step, bits 7..4 its colour.
inline constexpr std::uint8_t kFirstLevelRegister = 0x02;
// Bits 5, 4, 3, 2: bit 4 of the step of level 0, 1, 2, 3.
inline constexpr std::uint8_t kLevelHighBitsRegister = 0x08;
// Bits 7..5: the light effect. Bits 4..0 belong to a button on some models.
inline constexpr std::uint8_t kLightEffectRegister = 0x0A;

inline constexpr int kColourCount = 16;
// Buttons 3..6 (forward, back and the two sensitivity buttons) have a register each; the left,
// right and middle buttons (0..2) are intercepted by the mouse filter instead.
inline constexpr int kFirstRegisterButton = 3;
inline constexpr int kLightModeCount = 6;

// The sensitivity step 0..20 of a counts-per-inch value (200 + 200 × step), taken within
// 200..4200.
std::uint8_t DpiStep(std::uint16_t dpi);

// The register of level 0..3.
std::uint8_t LevelRegister(int level);

// Level 0..3 runs at `step` (0..20) in colour 0..15.
void SetLevelStep(RegisterBank& image, int level, std::uint8_t step);
void SetLevelColour(RegisterBank& image, int level, std::uint8_t colour);

// Light mode 0..5 (steady, breathing, 6-colour cycle, 12-colour cycle, colour cycle, off) and the
// effect code the mouse knows it by.
std::uint8_t LightEffectCode(std::uint8_t mode);
void SetLightEffect(RegisterBank& image, std::uint8_t mode);

// Bits 4..0 of a button register (0x09..0x11).
void SetButtonFunction(RegisterBank& image, std::uint8_t reg, std::uint8_t function);

// Hardware functions the host gives a side or sensitivity button.
inline constexpr std::uint8_t kFunctionSensitivityCycle = 0x08;
inline constexpr std::uint8_t kFunctionSensitivityUp = 0x09;
inline constexpr std::uint8_t kFunctionSensitivityDown = 0x0A;

// The hardware function by which the mouse performs assignment code `code` itself: sensitivity
// up (41), down (42) and cycle (43); 0 for every other code, which the mouse cannot perform.
std::uint8_t SensitivityFunction(std::uint8_t code);

// The function that makes button 3..6 report its presses to the host (event codes 0x14..0x17).
std::uint8_t ReportToHostFunction(int button);

// Whether the mouse performs assignment `code` of button 0..6 itself: every button its own
// assignment, the side and sensitivity buttons (3..6) also the three sensitivity functions.
// Otherwise the host does: the left, right and middle buttons are intercepted, the others report
// to the host. False for a button out of range.
bool MousePerformsCode(int button, std::uint8_t code);

// The hardware function of button 3..6 for assignment `code`: `factory` (the button's own
// function) for its own assignment, the sensitivity function for codes 41..43, else the function
// that reports to the host.
std::uint8_t ButtonHardwareFunction(int button, std::uint8_t code, std::uint8_t factory);

// The colour a level shows for colour index 0..15 (an index beyond shows white, the last entry).
struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  bool operator==(const PaletteColour&) const = default;
};
PaletteColour CpiColour(std::uint8_t index);

}  // namespace vexlo
