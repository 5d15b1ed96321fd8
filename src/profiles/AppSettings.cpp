#include "profiles/AppSettings.h"

#include <filesystem>

#include "common/FileIo.h"
#include "common/IniFile.h"
#include "platform/ports/SystemFolders.h"

namespace vexlo {
namespace {

constexpr char kSeparator = std::filesystem::path::preferred_separator;

std::string Folder(std::string path) {
  if (!path.empty() && path.back() != kSeparator) path += kSeparator;
  return path;
}

// The folder that holds `marker`: the program folder, else the installed folder `installed`
// (relative to the program folder); the program folder when neither does, so that what is
// missing is reported as missing from there.
std::string Locate(const std::string& programFolder, std::string_view installed,
                   std::string_view marker) {
  std::error_code error;
  if (std::filesystem::exists(programFolder + std::string(marker), error)) return programFolder;
  const std::string folder =
      Folder((std::filesystem::path(programFolder) / installed).lexically_normal().string());
  if (std::filesystem::exists(folder + std::string(marker), error)) return folder;
  return programFolder;
}

}  // namespace

const InstalledFolders kInstalledFolders{VEXLO_INSTALLED_DATA_FOLDER,
                                         VEXLO_INSTALLED_HELPER_FOLDER};

std::string DeriveDataFolder(SystemFolders& folders) {
  const std::string roaming = folders.RoamingDataFolder();
  if (roaming.empty()) return {};
  return Folder(roaming) + "Halvec QXA7702 Gaming Mouse" + kSeparator;
}

std::string PrepareDataSubfolder(const std::string& dataFolder, std::string_view name) {
  if (dataFolder.empty()) return {};
  const std::string folder = dataFolder + std::string(name) + kSeparator;
  (void)CreatePrivateFolders(folder);  // a failure shows later, as said above
  return folder;
}

void FillProgramPaths(AppSettings& settings, const std::string& modulePath) {
  settings.ModulePath = modulePath;
  settings.ProgramFolder = Folder(std::filesystem::path(modulePath).parent_path().string());
  const std::string data = Locate(settings.ProgramFolder, kInstalledFolders.data, "Skins");
  const std::string helpers = Locate(settings.ProgramFolder, kInstalledFolders.helpers, "Ruvik");
  settings.DaemonPath = helpers + "Ruvik";
  settings.SkinFolder = data + "Skins" + kSeparator;
  settings.FontPath = data + "OpenSans-Regular.ttf";
  settings.LanguageSelector = data + "Lang.ini";
  settings.LanguageFile =
      data + ReadIniString("LANG", "LANG_FILE", "Lang_En.ini", settings.LanguageSelector);
}

Result PrepareDataFolder(AppSettings& settings, const std::string& dataFolder) {
  settings.DataFolder = dataFolder;
  settings.SettingsFile = dataFolder + "Setting.ini";
  return CreatePrivateFolders(dataFolder);
}

void RemoveStaleDataFiles(const std::string& dataFolder) {
  if (dataFolder.empty()) return;
  for (const std::string_view folder : {std::string_view(), kProfileFolderName, kMacroFolderName}) {
    RemoveStaleTemporaryFiles(dataFolder + std::string(folder));
  }
}

std::string ReadSavedProfilePath(const AppSettings& settings) {
  return ReadIniString(kSettingsSection, "strProfilePath", "", settings.SettingsFile);
}

std::uint32_t ReadSavedMacroIndex(const AppSettings& settings) {
  return ReadIniUnsigned(kSettingsSection, "nMacroIndex", 0xFFFFFFFF, settings.SettingsFile);
}

std::uint32_t ReadSavedDevModel(const AppSettings& settings) {
  return ReadIniUnsigned(kSettingsSection, "nDevModel", 3, settings.SettingsFile);
}

Result SaveProfilePath(const AppSettings& settings, const std::string& path) {
  return WriteIniString(kSettingsSection, "strProfilePath", path, settings.SettingsFile);
}

Result SaveMacroIndex(const AppSettings& settings, int index) {
  return WriteIniUnsigned(kSettingsSection, "nMacroIndex", static_cast<std::uint32_t>(index),
                          settings.SettingsFile);
}

Result SaveDevModel(const AppSettings& settings) {
  return WriteIniUnsigned(kSettingsSection, "nDevModel", settings.nDevModel,
                          settings.SettingsFile);
}

}  // namespace vexlo
