#pragma once

#include <vector>

#include "platform/ports/ProcessLauncher.h"

namespace vexlo {

// Program files (executable for this user) are started directly; other files are handed to
// xdg-open. The started program is detached from this process (a new session, adopted by init),
// and its process id and any failure to start it are reported back through a pipe that the
// successful exec closes.
class LinuxProcessLauncher final : public ProcessLauncher {
 public:
  Result Open(const std::string& file, const std::string& parameter,
              const std::string& workingFolder) override;
  Result StartCompanion(const std::string& program, const std::string& parameter,
                        const std::string& workingFolder, std::uint32_t& processId) override;

 private:
  static Result Start(std::vector<std::string> arguments, const std::string& workingFolder,
                      std::uint32_t& processId);
};

}  // namespace vexlo
