#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text is UTF-8 throughout the program. Where the system counts characters (name limits,
// 259-character paths, list order) it counts UTF-16 code units, as the files and the other
// platforms do; these helpers do that counting and comparing.
namespace vexlo {

// Longest text of a 260-character buffer with its terminator.
inline constexpr std::size_t kMaxTextUnits = 259;

// Conversions. Invalid input becomes U+FFFD; nothing throws.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// Number of UTF-16 code units the text takes.
std::size_t Utf16Length(std::string_view utf8);

// The longest prefix of at most `maxUnits` UTF-16 code units; a character is never split.
std::string TruncateUtf16(std::string_view utf8, std::size_t maxUnits);

// The text limited to a 260-character buffer (259 units).
inline std::string TruncateToBuffer(std::string_view utf8) {
  return TruncateUtf16(utf8, kMaxTextUnits);
}

// Removes leading and trailing white space (ASCII white space, no-break and ideographic space).
std::string_view TrimWhitespace(std::string_view text);

// Case-insensitive comparisons by simple case folding (Latin, Greek and Cyrillic letters).
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// Orders texts by plain comparison of their UTF-16 code units (case-sensitive).
bool LessByUtf16Units(std::string_view a, std::string_view b);

// True when the name holds one of the nine characters \ / : * ? " < > | that no profile or
// macro name may contain.
bool HasForbiddenNameChar(std::string_view name);

}  // namespace vexlo
