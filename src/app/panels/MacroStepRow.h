#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "profiles/MacroData.h"

// How the macro editor's list shows one step, and how it reads a pause typed into it.
namespace vexlo {

class LanguageTable;

// The list's six pictures, by index.
enum StepImage : int {
  kImageMouse = 0,
  kImageKey = 1,
  kImagePause = 2,
  kImagePress = 3,
  kImageRelease = 4,
  kImageMilliseconds = 5,
  kImageNone = -1,
};

struct StepRow {
  std::string action;  // column 1
  int actionImage = kImageNone;
  std::string type;  // column 2
  int typeImage = kImageNone;

  bool operator==(const StepRow&) const = default;
};

// The text shown for what a damaged step cannot name.
inline constexpr std::string_view kUnknownStepText = "?";

// The row of `step`. A step of an unknown kind, or a mouse step with no button bit or several,
// shows the neutral text.
StepRow StepRowOf(const MacroAction& step, const LanguageTable& language);

// A pause typed by the user: its number clamped to 0..65535, or `previous` when the text is not
// a number (white space around it is allowed).
std::uint16_t ParsePause(std::string_view text, std::uint16_t previous);

}  // namespace vexlo
