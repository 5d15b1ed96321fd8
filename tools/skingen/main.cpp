#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "DialogSkins.h"
#include "MacroStepIcons.h"
#include "MainWindowSkins.h"
#include "ProgramIcon.h"

// Draws the default skin: every picture and INI file of the Skins folder; or, with --icons, the
// program's icon for a desktop icon theme.
//   vexlo-skingen OUTPUT_FOLDER
//   vexlo-skingen --icons OUTPUT_FOLDER NAME
int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const bool icons = argc == 4 && std::string_view(argv[1]) == "--icons";
  if (argc != 2 && !icons) {
    std::fprintf(stderr, "usage: vexlo-skingen OUTPUT_FOLDER | --icons OUTPUT_FOLDER NAME\n");
    return 2;
  }
  const std::filesystem::path folder(argv[icons ? 2 : 1]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "vexlo-skingen: cannot create %s\n", folder.c_str());
    return 1;
  }
  if (icons) {
    vexlo::skin::WriteThemeIcons(folder, argv[3]);
    return 0;
  }
  vexlo::skin::WriteMainWindowSkins(folder);
  vexlo::skin::WriteDialogSkins(folder);
  vexlo::skin::WriteMacroStepIcons(folder);
  vexlo::skin::WriteSkinIcons(folder);
  return 0;
}
