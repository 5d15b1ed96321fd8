#pragma once

#include <QImage>

#include <filesystem>
#include <string>

namespace vexlo::skin {

// The program's icon, `size` pixels square: the window's, the notification area's and the
// desktop's.
QImage ProgramIcon(int size);

// Writes the icon in the sizes desktops ask for (the build's list) as FOLDER/Icon<size>.png, for
// the program's window and its tray icon.
void WriteSkinIcons(const std::filesystem::path& folder);

// Writes the icon in the same sizes for a desktop's icon theme, as
// FOLDER/<size>x<size>/apps/NAME.png.
void WriteThemeIcons(const std::filesystem::path& folder, const std::string& name);

}  // namespace vexlo::skin
