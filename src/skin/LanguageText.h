#pragma once

#include <QString>

#include <string_view>

#include "common/LanguageTable.h"

namespace vexlo {

// The text of a language key for a window; the key itself when the language file lacks it.
inline QString LanguageText(const LanguageTable& language, std::string_view key) {
  return QString::fromStdString(language.LookupText(key));
}

}  // namespace vexlo
