#pragma once

#include <QImage>

#include <filesystem>
#include <string>

namespace vexlo::skin {

// The program's icon, `size` pixels square: the window's, the notification area's and the
// desktop's.
QImage ProgramIcon(int size);

// Writes the icon in the sizes a desktop's icon theme looks for, as
// FOLDER/<size>x<size>/apps/NAME.png.
void WriteThemeIcons(const std::filesystem::path& folder, const std::string& name);

}  // namespace vexlo::skin
