#include "platform/linux/LinuxSystemFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/Text.h"

namespace vexlo {

std::string LinuxSystemFolders::ModulePath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : TruncateToBuffer(exe.string());
}

std::string LinuxSystemFolders::RoamingDataFolder() {
  std::string folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
    folder = config;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::string(home) + "/.config";
  } else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
    folder = std::string(user->pw_dir) + "/.config";
  } else {
    return {};
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);  // as the desktop would have it
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace vexlo
