#include "app/panels/MacroStepRow.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/panels/MacroKeyboardCommands.h"
#include "common/LanguageTable.h"

namespace vexlo {
namespace {

// The 114 keyboard commands and their usages, typed from the command list of the step menus.
std::map<int, int> TypedCommands() {
  std::map<int, int> typed;
  typed[33014] = 4;                                                    // A
  for (int i = 0; i < 25; ++i) typed[33016 + i] = 5 + i;               // B..Z
  for (int i = 0; i < 10; ++i) typed[33041 + i] = 30 + i;              // 1..9, 0
  const int symbols[][2] = {{33051, 45}, {33052, 46}, {33116, 47}, {33117, 48},
                            {33129, 49}, {33057, 56}, {33126, 51}, {33127, 52},
                            {33060, 54}, {33130, 55}, {33128, 53}};
  for (const auto& [command, usage] : symbols) typed[command] = usage;
  const int editing[] = {40, 41, 42, 76, 43, 44, 57, 71, 83, 73};     // 33063..33072
  for (int i = 0; i < 10; ++i) typed[33063 + i] = editing[i];
  for (int i = 0; i < 12; ++i) typed[33073 + i] = 58 + i;              // F1..F12
  const int system[] = {70, 72, 101, 74, 77, 75, 78, 82, 81, 80, 79};  // 33085..33095
  for (int i = 0; i < 11; ++i) typed[33085 + i] = system[i];
  const int keypad[][2] = {{33099, 84}, {33101, 85}, {33131, 86}, {33103, 87}, {33104, 88},
                           {33132, 99}};
  for (const auto& [command, usage] : keypad) typed[command] = usage;
  for (int i = 0; i < 10; ++i) typed[33105 + i] = 89 + i;              // keypad 1..9, 0
  for (int i = 0; i < 8; ++i) typed[33118 + i] = 224 + i;              // modifiers
  const int international[] = {50, 100, 133, 135, 136, 137, 138, 139, 144, 145};
  for (int i = 0; i < 10; ++i) typed[33189 + i] = international[i];
  return typed;
}

TEST(MacroKeyboardCommandsTest, EveryCommandGivesItsUsageInTwelveGroups) {
  const std::map<int, int> typed = TypedCommands();
  ASSERT_EQ(typed.size(), 114u);
  std::set<int> inMenus;
  for (const KeyboardGroup& group : KeyboardGroups()) {
    for (const KeyboardCommand& command : group.commands) {
      inMenus.insert(command.commandId);
      EXPECT_EQ(command.usage, typed.at(command.commandId)) << command.commandId;
    }
  }
  EXPECT_EQ(KeyboardGroups().size(), 12u);
  EXPECT_EQ(inMenus.size(), 114u);
  for (const auto& [command, usage] : typed) {
    EXPECT_EQ(UsageOfKeyboardCommand(command), usage) << command;
  }
  EXPECT_EQ(UsageOfKeyboardCommand(33011), std::nullopt);  // a mouse command
}

TEST(MacroStepRowTest, ShowsEachKindAndANeutralTextForDamagedSteps) {
  LanguageTable language;  // keys read as themselves
  const StepRow unknown{"?", kImageNone, "?", kImageNone};
  const struct {
    MacroAction step;
    StepRow row;
  } cases[] = {
      {{0x81, 0x04, 0}, {"INFO_KEY_MOU_TYPE_MIDDLE", kImageMouse, "INFO_MACRO_ACTION_DOWN",
                         kImagePress}},
      {{0x01, 0x10, 0}, {"INFO_KEY_MOU_TYPE_FORWARD", kImageMouse, "INFO_MACRO_ACTION_UP",
                         kImageRelease}},
      {{0x84, 0x04, 0}, {"A", kImageKey, "INFO_MACRO_ACTION_DOWN", kImagePress}},
      {MacroAction::Pause(300), {"300", kImagePause, "INFO_MACRO_ACTION_DELAY_UNIT",
                                 kImageMilliseconds}},
      {{0x81, 0x00, 0}, {"?", kImageMouse, "INFO_MACRO_ACTION_DOWN", kImagePress}},  // no bit
      {{0x81, 0x05, 0}, {"?", kImageMouse, "INFO_MACRO_ACTION_DOWN", kImagePress}},  // two
      {{0x07, 0x04, 0}, unknown},
      {{0x00, 0x00, 0}, unknown},
      {{0x8F, 0xFF, 0xFF}, unknown},
  };
  for (const auto& [step, row] : cases) {
    EXPECT_EQ(StepRowOf(step, language), row) << int(step.type) << " " << int(step.data1);
  }
  EXPECT_EQ(StepRowOf({0x85, 0xE9, 0x00}, language).actionImage, kImageKey);  // volume up
}

TEST(MacroStepRowTest, APauseTypedIsClampedAndANonNumberKeepsTheOldOne) {
  const struct {
    const char* text;
    std::uint16_t expected;
  } cases[] = {{"250", 250},   {" 7 ", 7},          {"70000", 65535},
               {"-3", 0},      {"99999999999999999999", 65535},
               {"", 42},       {"abc", 42},         {"12ms", 42}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParsePause(text, 42), expected) << text;
}

}  // namespace
}  // namespace vexlo
