#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/IniDocument.h"
#include "common/Result.h"

// One-key reads and writes of an INI file, as the private-profile functions make them. For many
// keys of one file, load the document once (LoadIniForUpdate), set them and save it once.
namespace vexlo {

// The value of the key, whole whatever its length; the default when the file, section or key
// is missing or the file cannot be read.
std::string ReadIniString(std::string_view section, std::string_view key,
                          std::string_view fallback, const std::filesystem::path& file);

// As IniDocument::GetUnsigned, for one key of a file.
std::uint32_t ReadIniUnsigned(std::string_view section, std::string_view key,
                              std::uint32_t fallback, const std::filesystem::path& file);

// Loads the file for a change: Ok for a file that was read or does not exist yet (the document
// is then empty); the read failure otherwise, since writing over a file that could not be read
// would lose it.
[[nodiscard]] Result LoadIniForUpdate(const std::filesystem::path& file, IniDocument& doc);

// Writes one key: creates the file and the section when missing, replaces or appends the key,
// keeps everything else. The file is replaced atomically.
[[nodiscard]] Result WriteIniString(std::string_view section, std::string_view key,
                                    std::string_view value, const std::filesystem::path& file);

// Writes a number as unsigned decimal text ("%u"), so -1 is stored as 4294967295.
[[nodiscard]] Result WriteIniUnsigned(std::string_view section, std::string_view key,
                                      std::uint32_t value, const std::filesystem::path& file);

}  // namespace vexlo
