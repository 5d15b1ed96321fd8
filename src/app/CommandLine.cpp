#include "app/CommandLine.h"

#include "common/Text.h"

namespace vexlo {

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  CommandLine line;
  for (const std::string& argument : arguments) {
    if (EqualsNoCase(argument, "/Start")) {
      line.startHidden = true;
    } else if (EqualsNoCase(argument, "/Kill")) {
      line.action = CommandLine::Action::Kill;
      break;
    } else if (EqualsNoCase(argument, "/split_check")) {
      line.action = CommandLine::Action::SplitCheck;
      break;
    } else if (EqualsNoCase(argument, "/sys_bits")) {
      line.action = CommandLine::Action::SysBits;
      break;
    }
  }
  return line;
}

}  // namespace vexlo
