#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/IniDocument.h"

namespace vexlo {

// The active language file: section LANG, one text per key. It is chosen once at start-up and
// never changes while the program runs, so it is read once.
class LanguageTable {
 public:
  // Reads the language file; a missing or unreadable file leaves every text as its key.
  void Load(const std::filesystem::path& file);

  // The text of the key, exactly as stored; the key itself when the file or key is missing, so
  // an incomplete language file shows key names instead of failing.
  std::string LookupText(std::string_view key) const;

  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  IniDocument doc_;
};

}  // namespace vexlo
