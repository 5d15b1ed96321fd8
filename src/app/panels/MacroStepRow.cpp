#include "app/panels/MacroStepRow.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "app/panels/MacroKeyboardCommands.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "engine/ScanCodeTable.h"

namespace vexlo {
namespace {

// The index of the one bit set in `bits`, or -1 when none or several are.
int SingleButton(std::uint8_t bits) {
  for (int j = 0; j < 5; ++j) {
    if (bits == (1u << j)) return j;
  }
  return -1;
}

std::string NameOrUnknown(std::string name) {
  return name.empty() ? std::string(kUnknownStepText) : name;
}

}  // namespace

StepRow StepRowOf(const MacroAction& step, const LanguageTable& language) {
  const bool press = (step.type & kMacroPress) != 0;
  StepRow row;
  row.type = language.LookupText(press ? "INFO_MACRO_ACTION_DOWN" : "INFO_MACRO_ACTION_UP");
  row.typeImage = press ? kImagePress : kImageRelease;
  switch (step.Kind()) {
    case kMacroMouseButton: {
      const int button = SingleButton(step.data1);
      row.action = button < 0 ? std::string(kUnknownStepText)
                              : language.LookupText(kMouseButtonTextKeys[button]);
      row.actionImage = kImageMouse;
      break;
    }
    case kMacroKey:
      row.action = NameOrUnknown(ScanKeyName(ScanIndexOfKeyCode(step.data1)));
      row.actionImage = kImageKey;
      break;
    case kMacroConsumerKey:
      row.action = NameOrUnknown(
          ScanKeyName(ScanIndexOfKeyCode(UsageToKeyCode(kUsagePageConsumer, step.Value16()))));
      row.actionImage = kImageKey;
      break;
    case kMacroPause:
      row.action = std::to_string(step.Value16());
      row.actionImage = kImagePause;
      row.type = language.LookupText("INFO_MACRO_ACTION_DELAY_UNIT");
      row.typeImage = kImageMilliseconds;
      break;
    default:
      return {std::string(kUnknownStepText), kImageNone, std::string(kUnknownStepText),
              kImageNone};
  }
  return row;
}

std::uint16_t ParsePause(std::string_view text, std::uint16_t previous) {
  text = TrimWhitespace(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // Wide enough for any run of digits: a longer one is out of range, clamped like any other.
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size()) return previous;
  if (error == std::errc::result_out_of_range) {
    return text.front() == '-' ? 0 : std::numeric_limits<std::uint16_t>::max();
  }
  if (error != std::errc()) return previous;
  return static_cast<std::uint16_t>(
      std::clamp<long long>(value, 0, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace vexlo
