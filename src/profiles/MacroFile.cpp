#include "profiles/MacroFile.h"

#include <algorithm>
#include <cstdio>

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "common/Text.h"

namespace vexlo {
namespace {

constexpr std::string_view kSection = "Setting";

unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

}  // namespace

std::uint8_t HexPairValue(char high, char low) {
  return static_cast<std::uint8_t>(HexDigit(high) << 4 | HexDigit(low));
}

Result ReadMacroFile(const std::filesystem::path& file, MacroData& macro) {
  IniDocument doc;
  (void)doc.Load(file);  // a missing or unreadable file is a free slot
  MacroData read;
  read.byFlag = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byFlag", 0));
  read.byCount = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byCount", 0));
  read.byExtFlag = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byExtFlag", 0));
  const std::string pma = doc.GetString(kSection, "pma", "");
  Result result = Result::Ok;
  read.byCount = std::min<std::uint8_t>(read.byCount, kMaxMacroSteps);
  if (read.byCount * 6u > pma.size()) {
    read.byCount = static_cast<std::uint8_t>(std::min<std::size_t>(pma.size() / 6, kMaxMacroSteps));
    result = Result::TooShort;
  }
  for (std::size_t k = 0; k < read.byCount; ++k) {
    const char* group = pma.data() + 6 * k;
    read.steps[k] = {HexPairValue(group[0], group[1]), HexPairValue(group[2], group[3]),
                     HexPairValue(group[4], group[5])};
  }
  read.szName = TruncateUtf16(doc.GetString(kSection, "szName", ""), kMaxMacroNameUnits);
  macro = std::move(read);
  return result;
}

Result WriteMacroFile(const std::filesystem::path& file, const MacroData& macro) {
  IniDocument doc;
  if (const Result r = LoadIniForUpdate(file, doc); r != Result::Ok) return r;
  const std::size_t count = std::min<std::size_t>(macro.byCount, kMaxMacroSteps);
  std::string pma;
  pma.reserve(count * 6);
  for (std::size_t k = 0; k < count; ++k) {
    char group[7];
    std::snprintf(group, sizeof group, "%02X%02X%02X", macro.steps[k].type, macro.steps[k].data1,
                  macro.steps[k].data2);
    pma += group;
  }
  for (const auto& [key, value] : {std::pair<std::string_view, std::string>{"byFlag", std::to_string(macro.byFlag)},
                                   {"byCount", std::to_string(count)},
                                   {"byExtFlag", std::to_string(macro.byExtFlag)},
                                   {"pma", pma},
                                   {"szName", TruncateUtf16(macro.szName, kMaxMacroNameUnits)}}) {
    if (const Result r = doc.Set(kSection, key, value); r != Result::Ok) return r;
  }
  return doc.Save(file);
}

}  // namespace vexlo
