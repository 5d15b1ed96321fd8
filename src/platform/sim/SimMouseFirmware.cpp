#include "platform/sim/SimMouseFirmware.h"

#include <algorithm>
#include <array>

namespace vexlo {
namespace {

constexpr std::uint8_t kPageRegister = 0x7F;
constexpr std::uint8_t kSessionRegister = 0x09;
constexpr std::uint8_t kSessionKey = 0x5A;
constexpr std::uint8_t kChipIdHigh = 0x10;
constexpr std::uint8_t kChipIdLow = 0x11;
constexpr std::uint8_t kConfigurationPage = 1;
constexpr std::size_t kFirstLevelRegister = 0x02;     // 0x02..0x05: step and colour of a level
constexpr std::size_t kLevelHighBitsRegister = 0x08;  // bit 4 of each level's step
constexpr std::size_t kLightEffectRegister = 0x0A;    // bits 7..5
constexpr std::uint8_t kButtonFunctionMask = 0x1F;    // of a button register

constexpr std::uint8_t kRequestTypeVendorIn = 0xC0;
constexpr std::uint8_t kRequestTypeVendorOut = 0x40;
constexpr std::uint8_t kRequestRegister = 0x01;
constexpr std::uint8_t kRequestRelease = 0x06;
constexpr std::uint16_t kValueRegisterAccess = 0x0100;

// Buttons 3..6: the register that the circuit board wires each to.
constexpr std::array<std::uint8_t, 4> kWiringModel1 = {0x09, 0x0A, 0x0E, 0x0B};
constexpr std::array<std::uint8_t, 4> kWiringModel2 = {0x0A, 0x09, 0x0B, 0x10};

// Registers 0x09..0x11: the buttons' factory functions.
constexpr std::array<std::uint8_t, 9> kFactoryFunctionsModel1 = {0x01, 0x00, 0x0A, 0x05, 0x04,
                                                                 0x09, 0x03, 0x0B, 0x07};
constexpr std::array<std::uint8_t, 9> kFactoryFunctionsModel2 = {0x00, 0x01, 0x09, 0x05, 0x04,
                                                                 0x02, 0x03, 0x0A, 0x07};

std::uint16_t Word(std::span<const std::uint8_t, 8> setup, std::size_t at) {
  return static_cast<std::uint16_t>(setup[at] | setup[at + 1] << 8);
}

bool ConfigurationOpen(const SimMouse& mouse) {
  return mouse.page == kConfigurationPage && mouse.sessionKey == kSessionKey;
}

Result ReadRegister(const SimMouse& mouse, std::uint8_t reg, std::uint8_t& value) {
  if (reg == kPageRegister) {
    value = mouse.page;
    return Result::Ok;
  }
  if (mouse.page == 0) {
    switch (reg) {
      case kSessionRegister:
        value = mouse.sessionKey;
        return Result::Ok;
      case kChipIdHigh:
        value = 0x25;
        return Result::Ok;
      case kChipIdLow:
        value = 0x33;
        return Result::Ok;
      default:
        return Result::GeneralFailure;
    }
  }
  if (!ConfigurationOpen(mouse) || reg >= kSimRegisterCount) return Result::GeneralFailure;
  value = mouse.registers[reg];
  return Result::Ok;
}

Result WriteRegister(SimMouse& mouse, std::uint8_t reg, std::uint8_t value) {
  if (reg == kPageRegister) {
    if (value > kConfigurationPage) return Result::GeneralFailure;
    mouse.page = value;
    return Result::Ok;
  }
  if (mouse.page == 0) {
    if (reg != kSessionRegister) return Result::GeneralFailure;
    mouse.sessionKey = value;
    return Result::Ok;
  }
  if (!ConfigurationOpen(mouse) || reg >= kSimRegisterCount) return Result::GeneralFailure;
  mouse.registers[reg] = value;
  return Result::Ok;
}

}  // namespace

SimRegisters PowerOnRegisters(int model) {
  SimRegisters registers{};
  // Levels 800, 1000, 1600 and 3200 counts per inch (steps 3, 4, 7, 15) in colours 0, 8, 4, 2.
  registers[0x02] = 0x03;
  registers[0x03] = 0x84;
  registers[0x04] = 0x47;
  registers[0x05] = 0x2F;
  const auto& functions = model == 1 ? kFactoryFunctionsModel1 : kFactoryFunctionsModel2;
  std::copy(functions.begin(), functions.end(), registers.begin() + 0x09);
  registers[0x0A] |= 0x20;  // light effect: breathing in the level colour
  registers[0x16] = model == 1 ? 0x0D : 0x1E;
  registers[0x17] = model == 1 ? 0x4A : 0xB7;
  return registers;
}

SimMouse SimMouse::FactoryNew(int model) {
  SimMouse mouse;
  mouse.model = model;
  mouse.registers = PowerOnRegisters(model);
  return mouse;
}

Result AnswerControlTransfer(SimMouse& mouse, std::span<const std::uint8_t, 8> setup,
                             std::span<std::uint8_t> output, std::size_t& returned) {
  returned = 0;
  const std::uint8_t requestType = setup[0];
  const std::uint8_t request = setup[1];
  const std::uint16_t value = Word(setup, 2);
  const std::uint16_t index = Word(setup, 4);
  const std::uint16_t length = Word(setup, 6);
  const auto reg = static_cast<std::uint8_t>(index & 0xFF);

  if (requestType == kRequestTypeVendorIn && request == kRequestRegister &&
      value == kValueRegisterAccess && length == 1) {
    if (output.empty()) return Result::InsufficientBuffer;
    std::uint8_t answer = 0;
    if (const Result r = ReadRegister(mouse, reg, answer); r != Result::Ok) return r;
    output[0] = answer;
    returned = 1;
    return Result::Ok;
  }
  if (requestType != kRequestTypeVendorOut || length != 0) return Result::GeneralFailure;
  if (request == kRequestRegister && value == kValueRegisterAccess) {
    return WriteRegister(mouse, reg, static_cast<std::uint8_t>(index >> 8));
  }
  if (request == kRequestRegister && value == 0 && index == 0) {
    mouse.awake = true;
    return Result::Ok;
  }
  if (request == kRequestRelease && value == 0 && index == 0) {
    mouse.awake = false;
    return Result::Ok;
  }
  return Result::GeneralFailure;
}

std::uint8_t ButtonRegister(int model, int button) {
  const auto& wiring = model == 1 ? kWiringModel1 : kWiringModel2;
  return wiring[static_cast<std::size_t>(button - 3)];
}

std::uint8_t ButtonFunction(const SimMouse& mouse, int button) {
  return mouse.registers[ButtonRegister(mouse.model, button)] & kButtonFunctionMask;
}

SimButtonAction ButtonAction(std::uint8_t function) {
  switch (function) {
    case 0x0C:
      return {.reportCode = 0x14};
    case 0x10:
      return {.reportCode = 0x15};
    case 0x12:
      return {.reportCode = 0x16};
    case 0x13:
      return {.reportCode = 0x17};
    case 0x08:
      return {.cycleLevel = true};
    case 0x09:
      return {.levelChange = +1};
    case 0x0A:
      return {.levelChange = -1};
    default:
      return {};  // the button's own mouse function, which the host sees as plain input
  }
}

int NextLevel(int level, const SimButtonAction& action) {
  if (action.cycleLevel) return (level + 1) % kSimLevelCount;
  return std::clamp(level + action.levelChange, 0, kSimLevelCount - 1);
}

int LevelSensitivity(const SimRegisters& registers, int level) {
  const std::uint8_t levelByte = registers[kFirstLevelRegister + static_cast<std::size_t>(level)];
  const bool highBit = (registers[kLevelHighBitsRegister] & (0x20 >> level)) != 0;
  const int step = (levelByte & 0x0F) | (highBit ? 0x10 : 0);
  return 200 + 200 * step;
}

int LevelColour(const SimRegisters& registers, int level) {
  return registers[kFirstLevelRegister + static_cast<std::size_t>(level)] >> 4;
}

int LightEffect(const SimRegisters& registers) {
  return registers[kLightEffectRegister] >> 5;
}

}  // namespace vexlo
