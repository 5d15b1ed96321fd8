#include "app/panels/LightingPanelValues.h"

#include <algorithm>
#include <string>

namespace vexlo {
namespace {

constexpr std::uint16_t kLevelBase = 200;
constexpr std::uint16_t kLevelStep = 200;
constexpr std::uint8_t kLightModeOff = 5;
constexpr std::uint8_t kLightBrightnessMax = 4;
constexpr std::uint8_t kLightSpeedMax = 4;

}  // namespace

const std::array<LightMode, kLightModeCount>& LightModes() {
  static const std::array<LightMode, kLightModeCount> modes = {{
      {32795, "INFO_LIGHT_MODE_CPI_STATIC"},
      {32791, "INFO_LIGHT_MODE_CPI_BREATHE"},
      {32792, "INFO_LIGHT_MODE_IDLE_6COLORS"},
      {32793, "INFO_LIGHT_MODE_IDLE_12COLORS"},
      {32790, "INFO_LIGHT_MODE_IDLE_768COLORS"},
      {32794, "INFO_LIGHT_MODE_CLOSE"},
  }};
  return modes;
}

int LightModeOfCommand(int commandId) {
  const auto& modes = LightModes();
  const auto found = std::find_if(modes.begin(), modes.end(), [commandId](const LightMode& mode) {
    return mode.commandId == commandId;
  });
  return found == modes.end() ? -1 : static_cast<int>(found - modes.begin());
}

int LevelPosition(std::uint16_t dpi) {
  return (ClampDpi(dpi) - kLevelBase) / kLevelStep;
}

std::uint16_t LevelValueAt(int position) {
  const int p = std::clamp(position, 0, kLevelPositions);
  return static_cast<std::uint16_t>(kLevelBase + kLevelStep * p);
}

std::uint32_t LevelColour(std::uint8_t index) {
  const PaletteColour colour = CpiColour(index);
  return static_cast<std::uint32_t>(colour.red | (colour.green << 8) | (colour.blue << 16));
}

std::string LevelColourItem(std::uint8_t index) {
  const PaletteColour colour = CpiColour(index);
  return "#RGB(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
         std::to_string(colour.blue) + ")";
}

bool LevelColoursShown(std::uint32_t devModel, std::uint8_t lightMode) {
  return devModel != 0 && lightMode < kLightModeOff;
}

void ClampLightingFields(DeviceSettings& device) {
  for (auto& dpi : device.pwDpi) dpi = ClampDpi(dpi);
  device.byLightMode = std::min(device.byLightMode, kLightModeOff);
  device.byLightBrightness = std::min(device.byLightBrightness, kLightBrightnessMax);
  device.byLightSpeed = std::min(device.byLightSpeed, kLightSpeedMax);
  for (auto& index : device.pbyCpiColorIdx) {
    index = std::min(index, static_cast<std::uint8_t>(kColourCount - 1));
  }
}

}  // namespace vexlo
