#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"

namespace vexlo {

// One INI file in memory, read and changed with the semantics of the Windows private-profile
// functions: section and key names match without regard to case and surrounding blanks; the
// first matching section and the first matching key in it count; values lose surrounding white
// space and one pair of surrounding quotes, and end at a NUL; a write replaces or appends one key
// and keeps every other line (comments, odd spacing, line endings, duplicates) byte for byte. A
// value that reading would change (surrounding blanks or quotes) is written in quotes, so every
// value written reads back as it was.
//
// Files are written as UTF-8. UTF-8 with or without a byte-order mark and UTF-16 with a
// byte-order mark are read; a UTF-8 mark is kept.
class IniDocument {
 public:
  IniDocument() = default;

  // Parses file contents; any bytes are accepted.
  static IniDocument Parse(std::string_view bytes);

  // Loads a file of at most kMaxIniFileBytes (ReadFileBytes). A missing file gives an empty
  // document and FileNotFound; other failures (no permission, a folder, a FIFO, a file too large)
  // give their result and an empty document.
  [[nodiscard]] Result Load(const std::filesystem::path& path);

  // The value of the first matching key of the first matching section; none when absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // The keys of the first matching section in file order, each once (as first written), for
  // tools and checks that walk a whole section.
  std::vector<std::string> Keys(std::string_view section) const;

  // As GetPrivateProfileString: the default when the section or key is absent.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;

  // As GetPrivateProfileInt: the default when the key is absent or its value empty; otherwise
  // the number that the value begins with (decimal, or 0x hexadecimal, optional sign), taken
  // modulo 2^32, so "-1" reads as 4294967295; text without digits reads as 0.
  std::uint32_t GetUnsigned(std::string_view section, std::string_view key,
                            std::uint32_t fallback) const;

  // Replaces the value of the key, or adds the key (and the section when missing). Names that
  // would not survive a read (empty, a line break, '=' in a key, ']' in a section) and values
  // with a line break or NUL give InvalidParameter and change nothing.
  [[nodiscard]] Result Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;

  // Writes the document atomically over `path`.
  [[nodiscard]] Result Save(const std::filesystem::path& path) const;

 private:
  struct Line {
    std::string text;
    std::string eol;  // "\r\n", "\n", "\r" or empty for a last line without one
  };

  // Index of the header line of the first section named `section`, or none.
  std::optional<std::size_t> FindSection(std::string_view section) const;
  // Index of the first line holding `key` inside the section starting at `header`, or none.
  std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
  std::string NewLineEnding() const;

  std::vector<Line> lines_;
  bool utf8_mark_ = false;
};

}  // namespace vexlo
