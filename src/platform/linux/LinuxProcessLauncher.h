#pragma once

#include "platform/ports/ProcessLauncher.h"

namespace vexlo {

// Program files (executable for this user) are started directly; other files are handed to
// xdg-open. The started program is detached from this process (a new session, adopted by init),
// and a failure to start it is reported back through a pipe that the successful exec closes.
class LinuxProcessLauncher final : public ProcessLauncher {
 public:
  Result Open(const std::string& file, const std::string& parameter,
              const std::string& workingFolder) override;
};

}  // namespace vexlo
