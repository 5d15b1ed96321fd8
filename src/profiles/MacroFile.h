#pragma once

#include <filesystem>
#include <string_view>

#include "common/Result.h"
#include "profiles/MacroData.h"

// The slot file of one macro: section "Setting" with byFlag, byCount, byExtFlag, pma (the steps
// as six upper-case hexadecimal digits each) and szName.
namespace vexlo {

// Reads a slot file; a missing file reads as a free slot. TooShort when pma holds fewer steps
// than byCount says (the steps that are there are kept). Never more than 60 steps, whatever the
// file claims.
[[nodiscard]] Result ReadMacroFile(const std::filesystem::path& file, MacroData& macro);

// Writes the five keys of the slot file.
[[nodiscard]] Result WriteMacroFile(const std::filesystem::path& file, const MacroData& macro);

// Decodes hexadecimal text pairwise into bytes: 0-9, A-F and a-f have their values, any other
// character counts as 0.
std::uint8_t HexPairValue(char high, char low);

}  // namespace vexlo
