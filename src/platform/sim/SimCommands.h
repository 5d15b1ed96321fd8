#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "platform/sim/SimEnvironment.h"

namespace vexlo {

// What the vexlo-sim commands that act on the environment are (start, stop and following the
// injected input belong to the program).
extern const std::string_view kSimCommandHelp;

// Runs one command, given as its words ("press 3", "fail 2 31"), on the environment; `output` is
// what to show. Ok; InvalidParameter for a command or argument it does not know (the output
// says why); or the command's own failure (DeviceNotConnected for a button while unplugged).
[[nodiscard]] Result RunSimCommand(SimEnvironment& environment, std::span<const std::string> words,
                                   std::string& output);

// Readable pictures of the state: everything, and the 32 registers as a table.
std::string DescribeSimState(const SimState& state);
std::string DescribeRegisters(const SimRegisters& registers);

}  // namespace vexlo
