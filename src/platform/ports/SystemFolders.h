#pragma once

#include <string>

namespace vexlo {

// Where the program and the user's files are. Folder values end with the native separator.
class SystemFolders {
 public:
  virtual ~SystemFolders() = default;

  // Full path of this program's executable file, at most 259 UTF-16 units. Empty when the
  // platform cannot tell. Never blocks; any thread.
  virtual std::string ModulePath() = 0;

  // The user's roaming application-data folder (created when missing), ending with a separator.
  // Empty when the platform has none. Never blocks for long; any thread.
  virtual std::string RoamingDataFolder() = 0;
};

}  // namespace vexlo
