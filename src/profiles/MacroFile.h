#pragma once

#include <filesystem>
#include <string_view>

#include "common/Result.h"
#include "profiles/MacroData.h"

// The two files of a macro, both section "Setting" of an INI file.
//
// Slot file ("Macro%03d.ini"): byFlag, byCount, byExtFlag, pma (the steps, six upper-case
// hexadecimal digits each, "%02X%02X%02X" of the three bytes, pauses in milliseconds) and szName.
//
// Exchange file (".macro"): MacroFilePath (the file's own path), LoopTime 0, IsDef 0, Count, and
// MacroSetting_0: exactly 60 step fields, unused ones "000000", pauses in units of 10 ms, then
// "%02X" of the 8-bit sum of every step byte written (362 digits in all). The name is the file's
// name.
namespace vexlo {

// Reads a slot file; a missing file reads as a free slot. The record read is kept even when the
// file is damaged, with the steps that could be read: TooShort when pma holds fewer steps than
// byCount says; BadData when byCount claims more than 60 steps (60 are read) or a step holds a
// character that is not a hexadecimal digit (the steps before it are read).
[[nodiscard]] Result ReadMacroFile(const std::filesystem::path& file, MacroData& macro);

// Whether a slot file may be written at the path: nothing is there, or a file that the program
// reads. A folder, a FIFO, a device, a file it may not read or one far too large for a slot file
// is someone else's, and its slot is not used.
bool CanHoldSlotFile(const std::filesystem::path& file);

// Writes the five keys of the slot file (at most 60 steps); Ok or the failed write's result.
[[nodiscard]] Result WriteMacroFile(const std::filesystem::path& file, const MacroData& macro);

// Writes the exchange file; Ok or the failed write's result. A pause becomes (ms + 5) / 10.
[[nodiscard]] Result ExportMacro(const std::filesystem::path& file, const MacroData& macro);

// Reads an exchange file into `macro` (a used record named after the file, at most 31 units),
// which is changed only when the result is Ok. BadData when Count is above 60 or MacroSetting_0
// holds a character that is not a hexadecimal digit; ChecksumFailed when the checksum test fails;
// TooShort when MacroSetting_0 holds fewer steps than Count. A pause comes back as ten times the
// stored value, at most 65535 ms.
[[nodiscard]] Result ReadMacroExchange(const std::filesystem::path& file, MacroData& macro);

// The checksum test of MacroSetting_0: an even number of at least four hexadecimal digits whose
// last pair is the 8-bit sum of all the pairs before it.
bool MacroChecksumValid(std::string_view digits);

}  // namespace vexlo
