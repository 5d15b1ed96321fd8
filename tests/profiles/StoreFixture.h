#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "common/LanguageTable.h"

namespace vexlo::test {

// Every file below `folder`, by its path relative to it, with its contents: two snapshots are
// equal when nothing on disk changed.
inline std::map<std::string, std::string> SnapshotFolder(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[std::filesystem::relative(entry.path(), folder).string()] = ReadFile(entry.path());
    }
  }
  return files;
}

// A data folder, the English name texts and a message dialog that tests answer.
class StoreFixture : public ::testing::Test {
 protected:
  StoreFixture() {
    WriteFile(temp_ / "Lang_En.ini",
              "[LANG]\nINFO_PRPFILE_PREFIX=Profile\nINFO_PRPFILE_CLONE=Copy\n"
              "INFO_MACRO_PREFIX=Macro\nINFO_MACRO_CLONE=Copy\n");
    language_.Load(temp_ / "Lang_En.ini");
  }

  std::string DataFolder() const { return temp_ / "Data/"; }

  TempFolder temp_;
  LanguageTable language_;
  FakeUserMessages messages_;
};

}  // namespace vexlo::test
