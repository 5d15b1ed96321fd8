#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/Result.h"
#include "platform/sim/SimState.h"

namespace vexlo {

// Takes one output report of the injection device: updates what it holds down and appends to
// `lines` what the report changed, a line for each key, consumer key or mouse button that went up
// (first) or down, in readable form: "key down A", "key up Left Shift", "keys unchanged",
// "consumer down Volume Up (0x00E9)", "consumer up Volume Up (0x00E9)", "consumer unchanged",
// "button down Left", "button up Right", "buttons unchanged", or "unknown report 06 07 ..." for
// one it does not understand. InvalidParameter for a report of another length (nothing changes).
[[nodiscard]] Result DecodeInjectionReport(SimInjection& injection,
                                           std::span<const std::uint8_t> report,
                                           std::vector<std::string>& lines);

// Releases whatever the device holds down, as the system does when the program that made the
// device goes away however it ends: a line for each key, consumer key and mouse button that goes
// up, none when nothing was held.
void ReleaseEverythingHeld(SimInjection& injection, std::vector<std::string>& lines);

// The name of a keyboard usage ("A", "Enter", "F5", "Left Ctrl"), or its number ("0x8A").
std::string KeyboardUsageName(std::uint8_t usage);

}  // namespace vexlo
