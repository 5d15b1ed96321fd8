#pragma once

#include <filesystem>

namespace vexlo::skin {

// "MacroSteps.png": the six 16 x 16 pictures of the macro editor's step list side by side:
// mouse, keyboard, pause, press, release, milliseconds.
void WriteMacroStepIcons(const std::filesystem::path& folder);

}  // namespace vexlo::skin
