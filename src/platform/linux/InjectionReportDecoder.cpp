#include "platform/linux/InjectionReportDecoder.h"

#include <algorithm>

namespace vexlo {
namespace {

constexpr std::uint8_t kReportId = 0x06;
constexpr std::uint8_t kTypeMouseButtons = 0x03;
constexpr std::uint8_t kTypeKeyboard = 0x04;
constexpr std::uint8_t kTypeConsumer = 0x05;
constexpr std::size_t kKeyListOffset = 2;

bool Contains(const std::vector<std::uint8_t>& keys, std::uint8_t key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

void DecodeKeyboard(InjectedInput& held, std::span<const std::uint8_t> report,
                    std::vector<InputChange>& changes) {
  std::vector<std::uint8_t> keys;
  for (const std::uint8_t key : report.subspan(kKeyListOffset)) {
    if (key != 0) keys.push_back(key);
  }
  for (const std::uint8_t key : held.keys) {
    if (!Contains(keys, key)) changes.push_back({InputChange::Source::Key, key, false});
  }
  for (const std::uint8_t key : keys) {
    if (!Contains(held.keys, key)) changes.push_back({InputChange::Source::Key, key, true});
  }
  held.keys = std::move(keys);
}

void DecodeConsumer(InjectedInput& held, std::span<const std::uint8_t> report,
                    std::vector<InputChange>& changes) {
  const auto usage = static_cast<std::uint16_t>(report[2] | report[3] << 8);
  if (usage == held.consumer) return;
  if (held.consumer != 0) changes.push_back({InputChange::Source::Consumer, held.consumer, false});
  if (usage != 0) changes.push_back({InputChange::Source::Consumer, usage, true});
  held.consumer = usage;
}

void DecodeMouseButtons(InjectedInput& held, std::uint8_t buttons,
                        std::vector<InputChange>& changes) {
  for (const bool down : {false, true}) {
    for (int bit = 0; bit < 8; ++bit) {
      const auto mask = static_cast<std::uint8_t>(1u << bit);
      const bool was = (held.buttons & mask) != 0;
      const bool is = (buttons & mask) != 0;
      if (was != is && is == down) changes.push_back({InputChange::Source::Button, mask, down});
    }
  }
  held.buttons = buttons;
}

}  // namespace

Result DecodeInjectionReport(InjectedInput& held, std::span<const std::uint8_t> report,
                             InjectionReportKind& kind, std::vector<InputChange>& changes) {
  if (report.size() != kInjectionReportBytes) return Result::InvalidParameter;
  const std::uint8_t type = report[0] == kReportId ? report[1] : 0;
  switch (type) {
    case kTypeKeyboard:
      kind = InjectionReportKind::Keyboard;
      DecodeKeyboard(held, report, changes);
      break;
    case kTypeConsumer:
      kind = InjectionReportKind::Consumer;
      DecodeConsumer(held, report, changes);
      break;
    case kTypeMouseButtons:
      kind = InjectionReportKind::MouseButtons;
      DecodeMouseButtons(held, report[2], changes);
      break;
    default:
      kind = InjectionReportKind::Unknown;
      break;
  }
  return Result::Ok;
}

void ReleaseEverything(InjectedInput& held, std::vector<InputChange>& changes) {
  for (const std::uint8_t key : held.keys) changes.push_back({InputChange::Source::Key, key, false});
  if (held.consumer != 0) changes.push_back({InputChange::Source::Consumer, held.consumer, false});
  DecodeMouseButtons(held, 0, changes);
  held = {};
}

}  // namespace vexlo
