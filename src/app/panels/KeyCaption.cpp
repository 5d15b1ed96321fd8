#include "app/panels/KeyCaption.h"

#include <filesystem>
#include <system_error>

#include "common/LanguageTable.h"
#include "engine/AssignmentCodes.h"
#include "profiles/MacroStore.h"

namespace vexlo {
namespace {

constexpr std::string_view kUnknownKey = "INFO_KEY_SET_UNKNOWN";

// The macro a macro assignment plays: its slot, or -1 when the number names no stored macro.
int PlayedMacroSlot(const std::string& extension, const MacroStore& macros) {
  const std::uint32_t value = ParseExtensionNumber(extension);
  const int slot = UnpackMacro(value).slot;
  if (value == 0 || slot >= kMacroSlotCount || !macros.Slot(slot).IsUsed()) return -1;
  return slot;
}

// "<label>: <interval label><interval> <count label><count>".
std::string FireKeyToolTip(const std::string& extension, const LanguageTable& language) {
  const FireKeyNumber fire = DecodeFireKey(extension);
  return language.LookupText("INFO_KEY_SET_FIRE") + ": " +
         language.LookupText("INFO_FIRE_KEY_INTVL0") + "<" + std::to_string(fire.interval) + "> " +
         language.LookupText("INFO_FIRE_KEY_COUNT0") + "<" + std::to_string(fire.clicks) + ">";
}

}  // namespace

bool ProgramFileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(std::filesystem::path(path), error);
}

KeyCaption KeyCaptionOf(const KeyAssignment& assignment, const LanguageTable& language,
                        const MacroStore& macros) {
  const std::string disabled = language.LookupText("INFO_KEY_SET_CLOSE");
  switch (assignment.code) {
    case kCodeSingleKey:
      return {language.LookupText("PREFIX_KEY_SET_KBD") +
                  ScanKeyName(static_cast<std::uint8_t>(assignment.parameter & 0xFF)),
              {}};
    case kCodeLaunchProgram:
      if (!ProgramFileExists(assignment.extension)) return {disabled, {}};
      return {language.LookupText("INFO_KEY_SET_START_PROGRAM"), assignment.extension};
    case kCodeFireKey:
      return {language.LookupText("INFO_KEY_SET_FIRE"),
              FireKeyToolTip(assignment.extension, language)};
    case kCodeMacro: {
      const int slot = PlayedMacroSlot(assignment.extension, macros);
      if (slot < 0) return {disabled, {}};
      std::string text = language.LookupText("PREFIX_KEY_SET_MACRO") + macros.Slot(slot).szName;
      return {text, text};
    }
    default:
      break;
  }
  const AssignmentCodeInfo* info = FindAssignmentCode(assignment.code);
  return {language.LookupText(info ? info->textKey : kUnknownKey), {}};
}

}  // namespace vexlo
