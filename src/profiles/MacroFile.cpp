#include "profiles/MacroFile.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "common/Text.h"
#include "profiles/NameRules.h"

namespace vexlo {
namespace {

constexpr std::string_view kSection = "Setting";
constexpr std::size_t kStepDigits = 6;
constexpr std::uint32_t kPauseUnitMs = 10;  // pauses in an exchange file

std::optional<std::uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

bool AllHex(std::string_view digits) {
  return std::all_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c).has_value(); });
}

// The byte of the two digits at `pos`; none when either is not a hexadecimal digit.
std::optional<std::uint8_t> DecodeByte(std::string_view digits, std::size_t pos) {
  const auto high = HexDigit(digits[pos]);
  const auto low = HexDigit(digits[pos + 1]);
  if (!high || !low) return std::nullopt;
  return static_cast<std::uint8_t>(*high << 4 | *low);
}

// Decodes the first `count` groups of six digits (the caller has checked the length) and returns
// how many were decoded: decoding stops at the first group that is not hexadecimal.
std::size_t DecodeSteps(std::string_view digits, std::size_t count, MacroData& macro) {
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t pos = k * kStepDigits;
    const auto type = DecodeByte(digits, pos);
    const auto data1 = DecodeByte(digits, pos + 2);
    const auto data2 = DecodeByte(digits, pos + 4);
    if (!type || !data1 || !data2) return k;
    macro.steps[k] = {*type, *data1, *data2};
  }
  return count;
}

void AppendHexByte(std::string& out, std::uint8_t byte) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

void AppendStep(std::string& out, const MacroAction& step) {
  AppendHexByte(out, step.type);
  AppendHexByte(out, step.data1);
  AppendHexByte(out, step.data2);
}

std::size_t StepCount(const MacroData& macro) {
  return std::min<std::size_t>(macro.byCount, kMaxMacroSteps);
}

// A step as the exchange file stores it: pauses in 10 ms units, rounded to the nearest.
MacroAction ToExchange(MacroAction step) {
  if (step.Kind() != kMacroPause) return step;
  const MacroAction converted = MacroAction::Pause(
      static_cast<std::uint16_t>((step.Value16() + kPauseUnitMs / 2) / kPauseUnitMs));
  return {step.type, converted.data1, converted.data2};
}

// And back. The longest pauses round up past 65535 ms on export; they come back as 65535.
MacroAction FromExchange(MacroAction step) {
  if (step.Kind() != kMacroPause) return step;
  const std::uint32_t ms = std::min<std::uint32_t>(step.Value16() * kPauseUnitMs, 0xFFFF);
  const MacroAction converted = MacroAction::Pause(static_cast<std::uint16_t>(ms));
  return {step.type, converted.data1, converted.data2};
}

// Sets the keys in order, stopping at the first failure, and saves the document.
Result SetAndSave(const std::filesystem::path& file,
                  std::initializer_list<std::pair<std::string_view, std::string>> keys) {
  IniDocument doc;
  if (const Result r = LoadIniForUpdate(file, doc); r != Result::Ok) return r;
  for (const auto& [key, value] : keys) {
    if (const Result r = doc.Set(kSection, key, value); r != Result::Ok) return r;
  }
  return doc.Save(file);
}

}  // namespace

Result ReadMacroFile(const std::filesystem::path& file, MacroData& macro) {
  IniDocument doc;
  (void)doc.Load(file);  // a missing or unreadable file is a free slot
  Result result = Result::Ok;
  const auto note = [&result](Result problem) {
    if (result == Result::Ok) result = problem;
  };
  MacroData read;
  read.byFlag = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byFlag", 0));
  read.byExtFlag = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byExtFlag", 0));
  std::size_t count = static_cast<std::uint8_t>(doc.GetUnsigned(kSection, "byCount", 0));
  if (count > kMaxMacroSteps) {
    count = kMaxMacroSteps;
    note(Result::BadData);
  }
  const std::string pma = doc.GetString(kSection, "pma", "");
  if (count * kStepDigits > pma.size()) {
    count = pma.size() / kStepDigits;
    note(Result::TooShort);
  }
  const std::size_t decoded = DecodeSteps(pma, count, read);
  if (decoded < count) note(Result::BadData);
  read.byCount = static_cast<std::uint8_t>(decoded);
  read.szName = TruncateUtf16(doc.GetString(kSection, "szName", ""), kMaxMacroNameUnits);
  macro = std::move(read);
  return result;
}

bool CanHoldSlotFile(const std::filesystem::path& file) {
  IniDocument doc;
  const Result loaded = doc.Load(file);
  return loaded == Result::Ok || loaded == Result::FileNotFound;
}

Result WriteMacroFile(const std::filesystem::path& file, const MacroData& macro) {
  const std::size_t count = StepCount(macro);
  std::string pma;
  pma.reserve(count * kStepDigits);
  for (std::size_t k = 0; k < count; ++k) AppendStep(pma, macro.steps[k]);
  return SetAndSave(file, {{"byFlag", std::to_string(macro.byFlag)},
                           {"byCount", std::to_string(count)},
                           {"byExtFlag", std::to_string(macro.byExtFlag)},
                           {"pma", pma},
                           {"szName", TruncateUtf16(macro.szName, kMaxMacroNameUnits)}});
}

Result ExportMacro(const std::filesystem::path& file, const MacroData& macro) {
  const std::size_t count = StepCount(macro);
  std::string digits;
  digits.reserve(kMaxMacroSteps * kStepDigits + 2);
  std::uint8_t sum = 0;
  for (std::size_t k = 0; k < kMaxMacroSteps; ++k) {
    // Unused fields are zero steps: "000000", adding nothing to the sum.
    const MacroAction step = k < count ? ToExchange(macro.steps[k]) : MacroAction{};
    AppendStep(digits, step);
    sum = static_cast<std::uint8_t>(sum + step.type + step.data1 + step.data2);
  }
  AppendHexByte(digits, sum);
  return SetAndSave(file, {{"MacroFilePath", file.string()},
                           {"LoopTime", "0"},
                           {"IsDef", "0"},
                           {"Count", std::to_string(count)},
                           {"MacroSetting_0", digits}});
}

Result ReadMacroExchange(const std::filesystem::path& file, MacroData& macro) {
  IniDocument doc;
  (void)doc.Load(file);  // an unreadable file has no steps and fails the checksum test below
  const std::uint32_t claimed = doc.GetUnsigned(kSection, "Count", 0);
  const std::string digits = doc.GetString(kSection, "MacroSetting_0", "");
  if (claimed > kMaxMacroSteps || !AllHex(digits)) return Result::BadData;
  std::size_t count = claimed;
  Result result = Result::Ok;
  if (count * kStepDigits > digits.size()) {
    count = digits.size() / kStepDigits;
    result = Result::TooShort;
  }
  if (!MacroChecksumValid(digits)) return Result::ChecksumFailed;
  if (result != Result::Ok) return result;

  MacroData read;
  read.byFlag = kMacroSlotUsed;
  read.byCount = static_cast<std::uint8_t>(DecodeSteps(digits, count, read));
  for (std::size_t k = 0; k < count; ++k) read.steps[k] = FromExchange(read.steps[k]);
  read.szName = TruncateUtf16(NameFromPath(file.string()), kMaxMacroNameUnits);
  macro = std::move(read);
  return Result::Ok;
}

bool MacroChecksumValid(std::string_view digits) {
  if (digits.size() < 4 || digits.size() % 2 != 0 || !AllHex(digits)) return false;
  std::uint8_t sum = 0;
  const std::size_t checksum_pos = digits.size() - 2;
  for (std::size_t pos = 0; pos < checksum_pos; pos += 2) {
    sum = static_cast<std::uint8_t>(sum + *DecodeByte(digits, pos));
  }
  return sum == *DecodeByte(digits, checksum_pos);
}

}  // namespace vexlo
