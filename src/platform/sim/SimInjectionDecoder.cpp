#include "platform/sim/SimInjectionDecoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "platform/sim/SimText.h"

namespace vexlo {
namespace {

struct NamedUsage {
  std::uint8_t usage;
  std::string_view name;
};

// Keyboard page usages other than letters, digits and function keys.
constexpr std::array<NamedUsage, 57> kKeyNames = {{
    {0x28, "Enter"},
    {0x29, "Escape"},
    {0x2A, "Backspace"},
    {0x2B, "Tab"},
    {0x2C, "Space"},
    {0x2D, "-"},
    {0x2E, "="},
    {0x2F, "["},
    {0x30, "]"},
    {0x31, "\\"},
    {0x32, "Non-US #"},
    {0x33, ";"},
    {0x34, "'"},
    {0x35, "`"},
    {0x36, ","},
    {0x37, "."},
    {0x38, "/"},
    {0x39, "Caps Lock"},
    {0x46, "Print Screen"},
    {0x47, "Scroll Lock"},
    {0x48, "Pause"},
    {0x49, "Insert"},
    {0x4A, "Home"},
    {0x4B, "Page Up"},
    {0x4C, "Delete"},
    {0x4D, "End"},
    {0x4E, "Page Down"},
    {0x4F, "Right"},
    {0x50, "Left"},
    {0x51, "Down"},
    {0x52, "Up"},
    {0x53, "Num Lock"},
    {0x54, "Keypad /"},
    {0x55, "Keypad *"},
    {0x56, "Keypad -"},
    {0x57, "Keypad +"},
    {0x58, "Keypad Enter"},
    {0x63, "Keypad ."},
    {0x64, "Non-US \\"},
    {0x65, "Application"},
    {0x66, "Power"},
    {0x67, "Keypad ="},
    {0x7F, "Mute"},
    {0x80, "Volume Up"},
    {0x81, "Volume Down"},
    {0x85, "Keypad ,"},
    {0x87, "International1"},
    {0x88, "International2"},
    {0x89, "International3"},
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Left GUI"},
    {0xE4, "Right Ctrl"},
    {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},
    {0xE7, "Right GUI"},
}};

struct NamedConsumerUsage {
  std::uint16_t usage;
  std::string_view name;
};

// The consumer usages that buttons and macros send.
constexpr std::array<NamedConsumerUsage, 18> kConsumerNames = {{
    {0x0B5, "Next Track"},
    {0x0B6, "Previous Track"},
    {0x0B7, "Stop"},
    {0x0CD, "Play/Pause"},
    {0x0E2, "Mute"},
    {0x0E9, "Volume Up"},
    {0x0EA, "Volume Down"},
    {0x183, "Media Player"},
    {0x18A, "Mail"},
    {0x192, "Calculator"},
    {0x194, "My Computer"},
    {0x221, "Search"},
    {0x223, "Browser Home"},
    {0x224, "Browser Back"},
    {0x225, "Browser Forward"},
    {0x226, "Browser Stop"},
    {0x227, "Browser Refresh"},
    {0x22A, "Browser Favorites"},
}};

// "Volume Up (0x00E9)", or the number alone for a usage without a name here.
std::string ConsumerUsageName(std::uint16_t usage) {
  const auto named =
      std::find_if(kConsumerNames.begin(), kConsumerNames.end(),
                   [usage](const NamedConsumerUsage& n) { return n.usage == usage; });
  const std::string number = HexNumber(usage, 4);
  return named == kConsumerNames.end() ? number : std::string(named->name) + " (" + number + ")";
}

std::string MouseButtonName(std::uint8_t bit) {
  switch (bit) {
    case 0x01:
      return "Left";
    case 0x02:
      return "Right";
    case 0x04:
      return "Middle";
    case 0x08:
      return "Back";
    case 0x10:
      return "Forward";
    default:
      return HexNumber(bit, 2);
  }
}

// The line for one change: "key down A", "consumer up Mute (0x00E2)", "button up Left".
std::string ChangeLine(const InputChange& change) {
  const std::string direction = change.down ? " down " : " up ";
  switch (change.source) {
    case InputChange::Source::Key:
      return "key" + direction + KeyboardUsageName(static_cast<std::uint8_t>(change.code));
    case InputChange::Source::Consumer:
      return "consumer" + direction + ConsumerUsageName(change.code);
    case InputChange::Source::Button:
      return "button" + direction + MouseButtonName(static_cast<std::uint8_t>(change.code));
  }
  return {};
}

std::string_view UnchangedLine(InjectionReportKind kind) {
  switch (kind) {
    case InjectionReportKind::Keyboard:
      return "keys unchanged";
    case InjectionReportKind::Consumer:
      return "consumer unchanged";
    default:
      return "buttons unchanged";
  }
}

}  // namespace

std::string KeyboardUsageName(std::uint8_t usage) {
  if (usage >= 0x04 && usage <= 0x1D) return std::string(1, static_cast<char>('A' + usage - 0x04));
  if (usage >= 0x1E && usage <= 0x26) return std::string(1, static_cast<char>('1' + usage - 0x1E));
  if (usage == 0x27) return "0";
  if (usage >= 0x3A && usage <= 0x45) return "F" + std::to_string(usage - 0x3A + 1);
  if (usage >= 0x59 && usage <= 0x61) return "Keypad " + std::to_string(usage - 0x59 + 1);
  if (usage == 0x62) return "Keypad 0";
  if (usage >= 0x68 && usage <= 0x73) return "F" + std::to_string(usage - 0x68 + 13);
  const auto named = std::find_if(kKeyNames.begin(), kKeyNames.end(),
                                  [usage](const NamedUsage& n) { return n.usage == usage; });
  if (named != kKeyNames.end()) return std::string(named->name);
  return HexNumber(usage, 2);
}

void ReleaseEverythingHeld(SimInjection& injection, std::vector<std::string>& lines) {
  std::vector<InputChange> changes;
  ReleaseEverything(injection.held, changes);
  for (const InputChange& change : changes) lines.push_back(ChangeLine(change));
}

Result DecodeInjectionReport(SimInjection& injection, std::span<const std::uint8_t> report,
                             std::vector<std::string>& lines) {
  InjectionReportKind kind = InjectionReportKind::Unknown;
  std::vector<InputChange> changes;
  if (const Result r = DecodeInjectionReport(injection.held, report, kind, changes);
      r != Result::Ok) {
    return r;
  }
  ++injection.reports;
  if (kind == InjectionReportKind::Unknown) {
    lines.push_back("unknown report " + HexBytes(report));
  } else if (changes.empty()) {
    lines.emplace_back(UnchangedLine(kind));
  }
  for (const InputChange& change : changes) lines.push_back(ChangeLine(change));
  return Result::Ok;
}

}  // namespace vexlo
