#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The commands of the macro editor's menus that change one step: the keyboard keys in twelve
// groups, the five mouse buttons, and press or release.
namespace vexlo {

struct KeyboardCommand {
  int commandId;
  std::uint8_t usage;     // HID keyboard usage (page 0x07)
  std::string_view name;  // the menu item's text
};

struct KeyboardGroup {
  std::string_view textKey;  // language key of the sub-menu's caption
  std::vector<KeyboardCommand> commands;
};

// The twelve groups in menu order. Num Lock stands in two groups with one command.
const std::vector<KeyboardGroup>& KeyboardGroups();

// The usage a keyboard command gives, or none for another command.
std::optional<std::uint8_t> UsageOfKeyboardCommand(int commandId);

// The mouse-button commands in the order of their button bits 0x01, 0x02, 0x04, 0x08, 0x10.
inline constexpr int kMouseButtonCommands[5] = {33011, 33012, 33013, 33234, 33235};
// The language keys of the five buttons, in the same order.
inline constexpr std::string_view kMouseButtonTextKeys[5] = {
    "INFO_KEY_MOU_TYPE_LEFT", "INFO_KEY_MOU_TYPE_RIGHT", "INFO_KEY_MOU_TYPE_MIDDLE",
    "INFO_KEY_MOU_TYPE_BACK", "INFO_KEY_MOU_TYPE_FORWARD"};

inline constexpr int kCommandPress = 33200;
inline constexpr int kCommandRelease = 33201;

}  // namespace vexlo
