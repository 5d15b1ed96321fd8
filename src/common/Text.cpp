#include "common/Text.h"

#include <algorithm>

namespace vexlo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `pos`, advancing it. Malformed input yields U+FFFD and consumes
// one byte, so every byte is visited once.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > s.size()) {
    ++pos;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t UnitsOf(char32_t cp) { return cp >= 0x10000 ? 2 : 1; }

// Simple case folding for the scripts that profile and macro names are written in.
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;                  // Latin-1
  if (c >= 0x100 && c <= 0x137) return c | 1;                                  // Latin Extended-A
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;                 // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;                               // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;                             // full-width
  return c;
}

bool IsSpace(char32_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0xA0 || c == 0x3000;
}

}  // namespace

std::u16string ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < utf8.size();) units += UnitsOf(DecodeUtf8(utf8, pos));
  return units;
}

std::string TruncateUtf16(std::string_view utf8, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t next = pos;
    const std::size_t width = UnitsOf(DecodeUtf8(utf8, next));
    if (units + width > maxUnits) break;
    units += width;
    pos = next;
  }
  return std::string(utf8.substr(0, pos));
}

std::string_view TrimWhitespace(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t next = begin;
    if (!IsSpace(DecodeUtf8(text, next))) break;
    begin = next;
  }
  std::size_t end = begin;  // end of the last non-space character
  for (std::size_t pos = begin; pos < text.size();) {
    const char32_t cp = DecodeUtf8(text, pos);
    if (!IsSpace(cp)) end = pos;
  }
  return text.substr(begin, end - begin);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (FoldCase(DecodeUtf8(a, i)) != FoldCase(DecodeUtf8(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  std::u32string folded_haystack;
  std::u32string folded_needle;
  for (std::size_t pos = 0; pos < haystack.size();) {
    folded_haystack += FoldCase(DecodeUtf8(haystack, pos));
  }
  for (std::size_t pos = 0; pos < needle.size();) folded_needle += FoldCase(DecodeUtf8(needle, pos));
  return folded_haystack.find(folded_needle) != std::u32string::npos;
}

bool LessByUtf16Units(std::string_view a, std::string_view b) {
  // UTF-8 byte order equals code point order, which differs from UTF-16 unit order where a
  // supplementary character meets one from U+E000 to U+FFFF; so compare the units themselves.
  const auto units = [](char32_t cp) {
    return cp < 0x10000 ? std::u16string_view::value_type(cp)
                        : static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
  };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t ca = DecodeUtf8(a, i);
    const char32_t cb = DecodeUtf8(b, j);
    if (ca == cb) continue;
    if (units(ca) != units(cb)) return units(ca) < units(cb);
    return ca < cb;  // same lead surrogate: trail order is code point order
  }
  return i == a.size() && j < b.size();
}

bool HasForbiddenNameChar(std::string_view name) {
  return name.find_first_of("\\/:*?\"<>|") != std::string_view::npos;
}

}  // namespace vexlo
