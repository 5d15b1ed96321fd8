#pragma once

#include <filesystem>

namespace vexlo::skin {

// Writes the skins of the main window: Main.ini (frame, button page, profile panel), the four
// device-model overlays, and the pages Adv, Light, LineCor and Macro, with their pictures.
void WriteMainWindowSkins(const std::filesystem::path& folder);

}  // namespace vexlo::skin
