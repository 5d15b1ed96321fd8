#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/Result.h"

// The 30-byte output reports of the injection device, read back into the input they stand for.
// The backends that play the device on this machine (the virtual mouse, uinput, XTest) share it.
namespace vexlo {

inline constexpr std::size_t kInjectionReportBytes = 30;

// What the reports taken so far hold down.
struct InjectedInput {
  std::vector<std::uint8_t> keys;  // keyboard usages held down, in the order they went down
  std::uint16_t consumer = 0;      // consumer usage held down
  std::uint8_t buttons = 0;        // mouse-button bits held down (0x01 left ... 0x10 forward)
};

// One key, consumer key or mouse button that went down or up.
struct InputChange {
  enum class Source : std::uint8_t { Key, Consumer, Button };

  Source source;
  std::uint16_t code;  // keyboard usage, consumer usage or one button bit
  bool down;

  bool operator==(const InputChange&) const = default;
};

// What a report was.
enum class InjectionReportKind : std::uint8_t { Keyboard, Consumer, MouseButtons, Unknown };

// Takes one report: appends to `changes` what went up (first, in the order it went down) and
// what went down, updates `held`, and sets `kind`. A report of an unknown kind changes nothing.
// InvalidParameter for a report of another length (nothing changes).
[[nodiscard]] Result DecodeInjectionReport(InjectedInput& held,
                                           std::span<const std::uint8_t> report,
                                           InjectionReportKind& kind,
                                           std::vector<InputChange>& changes);

// Everything `held` holds goes up, as when the device goes away: the keys in the order they went
// down, the consumer key, then the mouse buttons; `held` is empty after.
void ReleaseEverything(InjectedInput& held, std::vector<InputChange>& changes);

}  // namespace vexlo
