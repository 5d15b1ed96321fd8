#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/CMenuEx.h"

namespace vexlo {

class LanguageTable;

// The popups of the macro editor page, built, converted and styled, ready to track. Each is
// owned by the caller; `owner` is the control whose font draws the items.

// The macros in list order, command IDs 30000 upward; items as wide as the owner plus 22 pixels.
std::unique_ptr<CMenuEx> MakeMacroListMenu(QWidget& owner, const std::vector<std::string>& names);

// Copy, import and export; copy and export only while there is a current macro.
std::unique_ptr<CMenuEx> MakeMoreMenu(QWidget& owner, const LanguageTable& language,
                                      bool current);

// The menus of a step's cells.
enum class StepMenu { Keyboard, Mouse, PressRelease };
std::unique_ptr<CMenuEx> MakeStepMenu(QWidget& owner, StepMenu kind, const LanguageTable& language);

// Sets the border colours the page's popups share (they are process-wide).
void SetMacroMenuBorder();

}  // namespace vexlo
