#pragma once

#include "platform/ports/SystemFolders.h"

namespace vexlo {

// ModulePath is /proc/self/exe resolved; the roaming data folder is $XDG_CONFIG_HOME, or
// ~/.config without one.
class LinuxSystemFolders final : public SystemFolders {
 public:
  std::string ModulePath() override;
  std::string RoamingDataFolder() override;
};

}  // namespace vexlo
