#pragma once

#include <filesystem>

namespace vexlo::skin {

// Writes the skins of the secondary dialogs (Msg, SngKbd, FireKey, MacroKey, About) and the
// slider thumbs.
void WriteDialogSkins(const std::filesystem::path& folder);

}  // namespace vexlo::skin
