#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/CMenuEx.h"

namespace vexlo {

class CImageBtn;
class LanguageTable;

// The two menus of the profile panel, each owned by the button that opens it and styled in the
// skin's colours. Their command IDs are those the panel carries out.
inline constexpr int kFirstProfileCommand = 31000;  // + the profile's index in the list
inline constexpr int kLastProfileCommand = 31999;
inline constexpr int kCommandCopyProfile = 32863;
inline constexpr int kCommandImportProfile = 32864;
inline constexpr int kCommandExportProfile = 32865;

// One item per name, in the given order, at least as wide as the button and a little more.
std::unique_ptr<CMenuEx> MakeProfileListMenu(CImageBtn& button,
                                             const std::vector<std::string>& names);
// Copy, import and export, owned by the More button `button` and drawn in the font of the list
// button `list` (More shows a picture, no caption).
std::unique_ptr<CMenuEx> MakeProfileMoreMenu(CImageBtn& button, CImageBtn& list,
                                             const LanguageTable& language);

// Where each menu opens, in screen coordinates: the list just below the button's left edge,
// the More menu at its bottom-left corner.
QPoint ProfileListMenuPosition(const CImageBtn& button);
QPoint ProfileMoreMenuPosition(const CImageBtn& button);

}  // namespace vexlo
