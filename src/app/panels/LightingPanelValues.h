#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "device/RegisterMap.h"
#include "profiles/ProfileData.h"

// What the lighting page shows for the profile's values and what its controls store.
namespace vexlo {

inline constexpr int kLevelPositions = 20;         // slider positions 0..20: 200..4200
inline constexpr int kFirstColourCommand = 33218;  // 33218 + colour index

struct LightMode {
  int commandId;
  std::string_view textKey;
};
// By mode, as the mode menu lists them.
const std::array<LightMode, kLightModeCount>& LightModes();

// The mode menu's command for `commandId`: the mode, or -1.
int LightModeOfCommand(int commandId);

// (value - 200) / 200 for a level already in 200..4200.
int LevelPosition(std::uint16_t dpi);
std::uint16_t LevelValueAt(int position);

// The colour (COLORREF) of colour index 0..15.
std::uint32_t LevelColour(std::uint8_t index);
// The colour menu's item text for index 0..15: "#RGB(r,g,b)".
std::string LevelColourItem(std::uint8_t index);

// Whether the level colour buttons show: in the lighting table, the level colours belong to the
// modes that light the level colour; a mouse of model 0 shows none.
bool LevelColoursShown(std::uint32_t devModel, std::uint8_t lightMode);

// Brings the fields the page shows and writes (levels, light mode, brightness, speed and level
// colours) into the ranges that the mouse is sent, as the device commands do.
void ClampLightingFields(DeviceSettings& device);

}  // namespace vexlo
