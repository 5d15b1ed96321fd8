#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace vexlo::bench {

// A fresh folder under the system's temporary folder for one benchmark, removed with its
// contents when the object goes. path() ends with a separator.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexlo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::perror("mkdtemp");
    path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vexlo::bench
