#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Result.h"

namespace vexlo {

class SystemFolders;

// Where the program's files are, and the three values that survive a restart outside the
// profiles. Folder values end with the native separator.
struct AppSettings {
  std::string ModulePath;        // the program file
  std::string ProgramFolder;     // its folder
  std::string DaemonPath;        // the companion program, beside the program file or installed
  std::string SkinFolder;
  std::string FontPath;
  std::string LanguageSelector;  // "Lang.ini": names the language file
  std::string LanguageFile;
  std::string DataFolder;        // the user's files
  std::string SettingsFile;      // "Setting.ini" in DataFolder
  std::string CommonFontName;    // face name of every skinned text
  std::uint32_t nDevModel = 3;   // the mouse model the user chose, 0..3
};

inline constexpr std::string_view kSettingsSection = "Setting";
// The stores' folders in DataFolder.
inline constexpr std::string_view kProfileFolderName = "Profile";
inline constexpr std::string_view kMacroFolderName = "Macro";

// DataFolder: the user's roaming data folder + "Halvec QXA7702 Gaming Mouse" + separator. Every
// part of the program that needs it derives it with this one rule. Empty when the platform has no
// data folder.
std::string DeriveDataFolder(SystemFolders& folders);

// A folder of DataFolder for the stores ("Profile", "Macro"), created with its parents when
// missing, readable by the user only (recorded macros may hold typed text); a failure shows later
// as files that cannot be read or written. Empty when `dataFolder` is empty, so nothing is ever
// written relative to the working folder.
std::string PrepareDataSubfolder(const std::string& dataFolder, std::string_view name);

// Where an installed program keeps the files it loads and the programs it starts, relative to the
// folder of the program file. The build sets them from its install folders.
struct InstalledFolders {
  std::string_view data;     // skins, language files, font
  std::string_view helpers;  // the companion and the virtual mouse
};
extern const InstalledFolders kInstalledFolders;

// Fills ModulePath and the program-relative paths, then LanguageFile from the selector file
// (section LANG, key LANG_FILE, default "Lang_En.ini"). The skins, language files and font are
// taken from beside the program file when a "Skins" folder lies there (a build folder), else
// from the installed data folder; the companion likewise.
void FillProgramPaths(AppSettings& settings, const std::string& modulePath);

// Creates DataFolder with all missing parents, readable by the user only, and sets SettingsFile.
[[nodiscard]] Result PrepareDataFolder(AppSettings& settings, const std::string& dataFolder);

// Removes what writes cut short by a crash left in DataFolder and the stores' folders.
void RemoveStaleDataFiles(const std::string& dataFolder);

// The settings file's keys. Reads give the default for a missing file or key.
std::string ReadSavedProfilePath(const AppSettings& settings);   // strProfilePath, ""
std::uint32_t ReadSavedMacroIndex(const AppSettings& settings);  // nMacroIndex, 4294967295
std::uint32_t ReadSavedDevModel(const AppSettings& settings);    // nDevModel, 3

// Each writes its one key at once; -1 is written as "4294967295".
[[nodiscard]] Result SaveProfilePath(const AppSettings& settings, const std::string& path);
[[nodiscard]] Result SaveMacroIndex(const AppSettings& settings, int index);
[[nodiscard]] Result SaveDevModel(const AppSettings& settings);

}  // namespace vexlo
