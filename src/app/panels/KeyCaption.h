#pragma once

#include <string>

#include "engine/KeyAssignment.h"

namespace vexlo {

class LanguageTable;
class MacroStore;

// What a key button of the assignment page shows for its assignment.
struct KeyCaption {
  std::string caption;
  std::string toolTip;  // empty: the button has none

  bool operator==(const KeyCaption&) const = default;
};

// The caption and tool tip of `assignment`, from the language file's texts. A choice that can no
// longer act (a program file that is missing, a macro number whose slot holds no macro) reads as
// a disabled button, though the assignment keeps its code; a code outside the table (a damaged
// file) reads as an unknown function. Choosing and refreshing both ask this one function, so a
// button shows the same whichever way it got its assignment.
KeyCaption KeyCaptionOf(const KeyAssignment& assignment, const LanguageTable& language,
                        const MacroStore& macros);

// Whether the file a program assignment names is there to be started.
bool ProgramFileExists(const std::string& path);

}  // namespace vexlo
