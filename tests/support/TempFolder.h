#pragma once

#include <filesystem>
#include <string>

namespace vexlo::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. path() ends with a separator, as the program's folder values do.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Writes `bytes` to the file, creating its folder; fails the test when it cannot.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

}  // namespace vexlo::test
