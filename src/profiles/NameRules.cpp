#include "profiles/NameRules.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/Text.h"
#include "platform/ports/UserMessages.h"

namespace vexlo {
namespace {

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The text without the characters that no name may hold.
std::string WithoutForbidden(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (!IsControl(c) && !HasForbiddenNameChar(std::string_view(&c, 1))) out += c;
  }
  return out;
}

}  // namespace

Result CleanUserName(std::string_view typed, std::string& name) {
  const std::string_view trimmed = TrimWhitespace(typed);
  if (trimmed.empty() || HasForbiddenNameChar(trimmed) ||
      std::any_of(trimmed.begin(), trimmed.end(), IsControl)) {
    return Result::InvalidName;
  }
  name = std::string(trimmed);
  return Result::Ok;
}

std::string CutName(std::string_view name, std::size_t maxUnits) {
  return std::string(TrimWhitespace(TruncateUtf16(name, maxUnits)));
}

std::string NameFromPath(std::string_view path) {
  const std::size_t separator = path.rfind(std::filesystem::path::preferred_separator);
  std::string_view file = separator == std::string_view::npos ? path : path.substr(separator + 1);
  if (const std::size_t dot = file.rfind('.'); dot != std::string_view::npos) {
    file = file.substr(0, dot);
  }
  return std::string(file);
}

std::string StripCopySuffix(std::string_view name, std::string_view word) {
  if (Utf16Length(word) < 2 || Utf16Length(name) < 2) return std::string(name);
  std::size_t digits_begin = name.size();
  while (digits_begin > 0 && IsDigit(name[digits_begin - 1])) --digits_begin;
  if (digits_begin == name.size()) return std::string(name);
  const std::string_view before_digits = name.substr(0, digits_begin);
  if (before_digits.size() <= word.size() || !before_digits.ends_with(word)) {
    return std::string(name);
  }
  return std::string(before_digits.substr(0, before_digits.size() - word.size()));
}

NamePattern NamePattern::ForNew(std::string_view prefix, std::size_t maxStemUnits) {
  return NamePattern(TruncateUtf16(WithoutForbidden(prefix), maxStemUnits), true);
}

NamePattern NamePattern::ForCopy(std::string_view name, std::string_view word,
                                 std::size_t maxStemUnits) {
  const std::string safe_word = WithoutForbidden(word);
  const std::size_t word_units = Utf16Length(safe_word);
  const std::size_t base_units = maxStemUnits > word_units ? maxStemUnits - word_units : 0;
  const std::string base = TruncateUtf16(WithoutForbidden(StripCopySuffix(name, word)), base_units);
  // A word longer than the whole stem is cut too, so a candidate never outgrows the limit.
  return NamePattern(TruncateUtf16(base + safe_word, maxStemUnits), false);
}

std::string NamePattern::Candidate(int counter) const {
  char digits[16];
  std::snprintf(digits, sizeof digits, threeDigits_ ? "%03d" : "%d", counter);
  return stem_ + digits;
}

std::optional<std::string> NamePattern::FirstFree(
    int tries, const std::function<bool(const std::string&)>& taken) const {
  for (int counter = 1; counter <= tries; ++counter) {
    std::string candidate = Candidate(counter);
    if (!taken(candidate)) return candidate;
  }
  return std::nullopt;
}

Result ConfirmNameConflict(UserMessages& messages) {
  const int answer = messages.ShowMessage("STA_MSG_INFO_FILE_CONFLECT", "STA_MSG_TITLE_INFO",
                                          UserMessages::kQuestion, UserMessages::kNoticeColour);
  return answer == UserMessages::kOk ? Result::Ok : Result::NameConflict;
}

}  // namespace vexlo
