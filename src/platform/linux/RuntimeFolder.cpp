#include "platform/linux/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vexlo {

std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime
                           ? std::string(runtime) + "/vexlo/"
                           : "/tmp/vexlo-" + std::to_string(::getuid()) + "/";
  // An existing folder is used as it is; creation failures surface when a file in it is opened.
  (void)::mkdir(folder.c_str(), 0700);
  return folder;
}

}  // namespace vexlo
