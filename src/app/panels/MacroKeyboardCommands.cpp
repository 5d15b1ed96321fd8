#include "app/panels/MacroKeyboardCommands.h"

namespace vexlo {
namespace {

std::vector<KeyboardCommand> Letters() {
  static constexpr std::string_view kNames[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                                  "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                                  "S", "T", "U", "V", "W", "X", "Y", "Z"};
  std::vector<KeyboardCommand> letters;
  for (int i = 0; i < 26; ++i) {
    // A has a command of its own; B to Z follow one another from 33016.
    letters.push_back({i == 0 ? 33014 : 33015 + i, static_cast<std::uint8_t>(4 + i), kNames[i]});
  }
  return letters;
}

std::vector<KeyboardGroup> MakeGroups() {
  return {
      {"INFO_KEY_KBD_TYPE_CHAR", Letters()},
      {"INFO_KEY_KBD_TYPE_NUM",
       {{33041, 30, "1"}, {33042, 31, "2"}, {33043, 32, "3"}, {33044, 33, "4"}, {33045, 34, "5"},
        {33046, 35, "6"}, {33047, 36, "7"}, {33048, 37, "8"}, {33049, 38, "9"}, {33050, 39, "0"}}},
      {"INFO_KEY_KBD_TYPE_SYM",
       {{33051, 45, "-"}, {33052, 46, "="}, {33116, 47, "["}, {33117, 48, "]"}, {33129, 49, "\\"},
        {33057, 56, "/"}, {33126, 51, ";"}, {33127, 52, "'"}, {33060, 54, ","}, {33130, 55, "."},
        {33128, 53, "`"}}},
      {"INFO_KEY_KBD_TYPE_EDIT",
       {{33063, 40, "Enter"}, {33064, 41, "Esc"}, {33065, 42, "Backspace"}, {33066, 76, "Delete"},
        {33067, 43, "Tab"}, {33068, 44, "Space"}}},
      {"INFO_KEY_KBD_TYPE_TYP",
       {{33069, 57, "Caps Lock"}, {33070, 71, "Scroll Lock"}, {33071, 83, "Num Lock"},
        {33072, 73, "Insert"}}},
      {"INFO_KEY_KBD_TYPE_FUNC",
       {{33073, 58, "F1"}, {33074, 59, "F2"}, {33075, 60, "F3"}, {33076, 61, "F4"},
        {33077, 62, "F5"}, {33078, 63, "F6"}, {33079, 64, "F7"}, {33080, 65, "F8"},
        {33081, 66, "F9"}, {33082, 67, "F10"}, {33083, 68, "F11"}, {33084, 69, "F12"}}},
      {"INFO_KEY_KBD_TYPE_CMD",
       {{33085, 70, "Print Screen"}, {33086, 72, "Pause/Break"}, {33087, 101, "Context Menu"}}},
      {"INFO_KEY_KBD_TYPE_NAV",
       {{33088, 74, "Home"}, {33089, 77, "End"}, {33090, 75, "Page Up"},
        {33091, 78, "Page Down"}}},
      {"INFO_KEY_KBD_TYPE_DIRECT",
       {{33092, 82, "Up"}, {33093, 81, "Down"}, {33094, 80, "Left"}, {33095, 79, "Right"}}},
      {"INFO_KEY_KBD_TYPE_NUMPAD",
       {{33071, 83, "Num Lock"},     {33099, 84, "Keypad /"},     {33101, 85, "Keypad *"},
        {33131, 86, "Keypad -"},     {33103, 87, "Keypad +"},     {33104, 88, "Keypad Enter"},
        {33105, 89, "Keypad 1"},     {33106, 90, "Keypad 2"},     {33107, 91, "Keypad 3"},
        {33108, 92, "Keypad 4"},     {33109, 93, "Keypad 5"},     {33110, 94, "Keypad 6"},
        {33111, 95, "Keypad 7"},     {33112, 96, "Keypad 8"},     {33113, 97, "Keypad 9"},
        {33114, 98, "Keypad 0"},     {33132, 99, "Keypad ."}}},
      {"INFO_KEY_KBD_TYPE_MOD",
       {{33118, 224, "Ctrl"}, {33119, 225, "Shift"}, {33120, 226, "Alt"}, {33121, 227, "Win"},
        {33122, 228, "Right Ctrl"}, {33123, 229, "Right Shift"}, {33124, 230, "Right Alt"},
        {33125, 231, "Right Win"}}},
      {"INFO_KEY_KBD_TYPE_LANG",
       {{33189, 50, "#(Intl.)"}, {33190, 100, "\\(Intl.)"}, {33191, 133, "Keypad ,"},
        {33192, 135, "K56"}, {33193, 136, "ROMA"}, {33194, 137, "K14"}, {33195, 138, "CHG"},
        {33196, 139, "N-CHG"}, {33197, 144, "KR"}, {33198, 145, "KL"}}},
  };
}

}  // namespace

const std::vector<KeyboardGroup>& KeyboardGroups() {
  static const std::vector<KeyboardGroup> groups = MakeGroups();
  return groups;
}

std::optional<std::uint8_t> UsageOfKeyboardCommand(int commandId) {
  for (const KeyboardGroup& group : KeyboardGroups()) {
    for (const KeyboardCommand& command : group.commands) {
      if (command.commandId == commandId) return command.usage;
    }
  }
  return std::nullopt;
}

}  // namespace vexlo
