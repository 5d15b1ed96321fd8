#include "common/IniDocument.h"

#include <algorithm>

#include "common/FileIo.h"
#include "common/Text.h"

namespace vexlo {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r' || s.front() == '\n')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n')) {
    s.remove_suffix(1);
  }
  return s;
}

// The section name of a header line ("[name]", spaces allowed around it), or none.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  return TrimBlanks(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// The key and raw value of a "key=value" line, or none for headers, comments and other text.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == '[' || trimmed.front() == ';') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = TrimBlanks(trimmed.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, TrimBlanks(trimmed.substr(equals + 1))};
}

bool IsQuoted(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

// The value as read: one pair of surrounding quotes goes, and the text ends at a NUL, as a
// value copied out as a C string does.
std::string Unquote(std::string_view value) {
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, value.find('\0')));
}

// The value as written: quoted when reading would otherwise lose surrounding blanks or quotes.
std::string Quote(std::string_view value) {
  if (TrimBlanks(value).size() == value.size() && !IsQuoted(value)) return std::string(value);
  return '"' + std::string(value) + '"';
}

std::string DecodeUtf16(std::string_view bytes, bool little_endian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[little_endian ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little_endian ? i + 1 : i]);
    units += static_cast<char16_t>(lo | (hi << 8));
  }
  return ToUtf8(units);
}

std::uint32_t ParseUnsigned(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::string decoded;
  if (bytes.substr(0, 3) == kUtf8Mark) {
    doc.utf8_mark_ = true;
    bytes.remove_prefix(3);
  } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    decoded = DecodeUtf16(bytes.substr(2), bytes[0] == '\xFF');
    bytes = decoded;
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      doc.lines_.push_back({std::string(bytes.substr(start)), ""});
      break;
    }
    const std::size_t eol_length = (bytes[end] == '\r' && end + 1 < bytes.size() &&
                                    bytes[end + 1] == '\n') ? 2 : 1;
    doc.lines_.push_back({std::string(bytes.substr(start, end - start)),
                          std::string(bytes.substr(end, eol_length))});
    start = end + eol_length;
  }
  return doc;
}

Result IniDocument::Load(const std::filesystem::path& path) {
  std::string bytes;
  const Result result = ReadFileBytes(path, bytes, kMaxIniFileBytes);
  *this = result == Result::Ok ? Parse(bytes) : IniDocument();
  return result;
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const {
  section = TrimBlanks(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (name && EqualsNoCase(*name, section)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::string_view key) const {
  key = TrimBlanks(key);
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
    const auto entry = ParseKeyLine(lines_[i].text);
    if (entry && EqualsNoCase(entry->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section,
                                             std::string_view key) const {
  const auto header = FindSection(section);
  if (!header) return std::nullopt;
  const auto line = FindKey(*header, key);
  if (!line) return std::nullopt;
  return Unquote(ParseKeyLine(lines_[*line].text)->value);
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const auto header = FindSection(section);
  if (!header) return keys;
  for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
    const auto entry = ParseKeyLine(lines_[i].text);
    if (!entry) continue;
    const bool seen = std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
      return EqualsNoCase(key, entry->key);
    });
    if (!seen) keys.emplace_back(entry->key);
  }
  return keys;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
  auto value = Find(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

std::uint32_t IniDocument::GetUnsigned(std::string_view section, std::string_view key,
                                       std::uint32_t fallback) const {
  const auto value = Find(section, key);
  if (!value || value->empty()) return fallback;
  return ParseUnsigned(*value);
}

std::string IniDocument::NewLineEnding() const {
  for (const Line& line : lines_) {
    if (!line.eol.empty()) return line.eol;
  }
  return "\n";
}

Result IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (TrimBlanks(section).empty() || HasLineBreak(section) ||
      section.find(']') != std::string_view::npos || TrimBlanks(key).empty() ||
      HasLineBreak(key) || key.find('=') != std::string_view::npos ||
      TrimBlanks(key).front() == '[' || TrimBlanks(key).front() == ';' || HasLineBreak(value)) {
    return Result::InvalidParameter;
  }
  const std::string eol = NewLineEnding();
  const std::string entry = std::string(TrimBlanks(key)) + "=" + Quote(value);
  const auto header = FindSection(section);
  if (!header) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
    lines_.push_back({"[" + std::string(TrimBlanks(section)) + "]", eol});
    lines_.push_back({entry, eol});
    return Result::Ok;
  }
  if (const auto existing = FindKey(*header, key)) {
    // Keep the key as the file spells it.
    lines_[*existing].text =
        std::string(ParseKeyLine(lines_[*existing].text)->key) + "=" + Quote(value);
    return Result::Ok;
  }
  // Append after the section's last key, before any blank lines or comments that trail it.
  std::size_t after = *header;
  for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
    if (ParseKeyLine(lines_[i].text)) after = i;
  }
  if (lines_[after].eol.empty()) lines_[after].eol = eol;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), Line{entry, eol});
  return Result::Ok;
}

std::string IniDocument::Serialize() const {
  std::string out = utf8_mark_ ? std::string(kUtf8Mark) : std::string();
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

Result IniDocument::Save(const std::filesystem::path& path) const {
  return ReplaceFileContents(path, Serialize());
}

}  // namespace vexlo
