#pragma once

#include <span>
#include <string>

namespace vexlo {

// What the command line asks of this start.
struct CommandLine {
  enum class Action {
    Run,         // run the window (or bring a running copy forward)
    Kill,        // "/Kill": ask every running copy to exit
    SplitCheck,  // "/split_check": exit with the split probe's answer
    SysBits,     // "/sys_bits": exit with the system's bit width
  };
  Action action = Action::Run;
  bool startHidden = false;  // "/Start": stay in the background

  bool operator==(const CommandLine&) const = default;
};

// Examines the arguments after the program name in order, each compared with the switches without
// regard to case; other arguments are ignored. "/Start" sets the flag and goes on; the first of
// "/Kill", "/split_check" and "/sys_bits" ends the examination.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

}  // namespace vexlo
