#include "common/LanguageTable.h"

namespace vexlo {

void LanguageTable::Load(const std::filesystem::path& file) {
  file_ = file;
  (void)doc_.Load(file);  // a missing file is allowed: every text is then its key
}

std::string LanguageTable::LookupText(std::string_view key) const {
  return doc_.GetString("LANG", key, key);
}

}  // namespace vexlo
