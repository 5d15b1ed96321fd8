#pragma once

#include <memory>

#include "skin/CMenuEx.h"

namespace vexlo {

class LanguageTable;

// The menu of the 44 assignment codes that a key button opens: the items in code order, each
// carrying its code's command ID and language text ("..." after the four that open a dialog),
// the media, desktop and shortcut codes in three sub-menus at positions 7, 8 and 9. The left,
// right and middle buttons (keys 0 to 2) are not offered the three sensitivity codes, which only
// the side and sensitivity buttons perform. Drawn in the page's colours, each item as wide as
// the key button less 23 pixels; `owner` is the key button, whose font the items use.
std::unique_ptr<CMenuEx> MakeAssignmentMenu(QWidget& owner, int key, const LanguageTable& language);

// The menu's colours (COLORREF) and metrics.
MenuStyle AssignmentMenuStyle();

// Sets the menu border's colours for the assignment menu (they are process-wide).
void SetAssignmentMenuBorder();

}  // namespace vexlo
