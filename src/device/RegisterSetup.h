#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// How the host reads the mouse's 32 configuration registers when the link opens: which model it
// is, which register holds which button's function, and the button functions it starts from.
namespace vexlo {

inline constexpr std::size_t kRegisterCount = 32;
using RegisterBank = std::array<std::uint8_t, kRegisterCount>;

// Index: button 0..6; value: the register that holds the button's hardware function. Only
// buttons 3..6 have one; entry 0 collects the registers of every other function and means nothing.
using ButtonRegisterMap = std::array<std::uint8_t, 7>;

inline constexpr std::uint8_t kFirstButtonRegister = 0x09;
inline constexpr std::uint8_t kLastButtonRegister = 0x11;
inline constexpr std::uint8_t kButtonFunctionMask = 0x1F;  // bits 7..5 are not button data
inline constexpr std::uint8_t kHostSetupRegister = 0x0F;
inline constexpr std::uint8_t kHostSetupBit = 0x20;

// Model variant: 0 not identified, 1 or 2.
inline constexpr int kVariantUnknown = 0;

// The variant that identification registers 0x16 and 0x17 name; `current` when they name none.
int IdentifyModelVariant(const RegisterBank& registers, int current);

// The factory hardware function of a button register (0x09..0x11) for the variant; variant 1 has
// its own row, variant 2 and an unidentified mouse share the other.
std::uint8_t FactoryButtonFunction(int variant, std::uint8_t reg);

// The button that a factory hardware function belongs to (3..6), or 0 for any other function.
std::uint8_t ButtonOfFunction(std::uint8_t function);

// Replaces bits 4..0 of every button register by the variant's factory function, keeping bits
// 7..5 as read.
void NormaliseButtonRegisters(RegisterBank& registers, int variant);

// For registers 0x09 up to 0x11, records each under the button its function belongs to (entry 0
// for other functions); a later register wins.
ButtonRegisterMap MapButtonRegisters(const RegisterBank& registers);

}  // namespace vexlo
