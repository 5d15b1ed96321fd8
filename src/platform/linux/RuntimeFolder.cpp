#include "platform/linux/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vexlo {

bool IsPrivateFolder(const std::string& folder) {
  // Without the final separator, so that a link in its place is seen as the link.
  const std::string path = folder.ends_with('/') ? folder.substr(0, folder.size() - 1) : folder;
  (void)::mkdir(path.c_str(), 0700);  // one that exists already is examined as it is
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime && runtime[0] == '/'
                                 ? std::string(runtime) + "/vexlo/"
                                 : "/tmp/vexlo-" + std::to_string(::getuid()) + "/";
  return IsPrivateFolder(folder) ? folder : std::string();
}

}  // namespace vexlo
