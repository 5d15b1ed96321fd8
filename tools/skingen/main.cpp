#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "DialogSkins.h"
#include "MainWindowSkins.h"

// Draws the default skin: every picture and INI file of the Skins folder.
//   vexlo-skingen OUTPUT_FOLDER
int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vexlo-skingen OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "vexlo-skingen: cannot create %s\n", folder.c_str());
    return 1;
  }
  vexlo::skin::WriteMainWindowSkins(folder);
  vexlo::skin::WriteDialogSkins(folder);
  return 0;
}
