#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlo {
namespace {

using Action = CommandLine::Action;

struct CommandLineCase {
  std::vector<std::string> arguments;
  CommandLine expected;
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ExaminesArgumentsInOrder) {
  EXPECT_EQ(ParseCommandLine(GetParam().arguments), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLineTest,
    testing::Values(
        CommandLineCase{{}, {Action::Run, false}},
        CommandLineCase{{"/Start"}, {Action::Run, true}},
        CommandLineCase{{"/start"}, {Action::Run, true}},
        CommandLineCase{{"/START"}, {Action::Run, true}},
        CommandLineCase{{"/Kill"}, {Action::Kill, false}},
        CommandLineCase{{"/kILL"}, {Action::Kill, false}},
        CommandLineCase{{"/Start", "/Kill"}, {Action::Kill, true}},    // goes on after /Start
        CommandLineCase{{"/Kill", "/Start"}, {Action::Kill, false}},   // never looks at /Start
        CommandLineCase{{"/split_check"}, {Action::SplitCheck, false}},
        CommandLineCase{{"/SPLIT_CHECK", "/Kill"}, {Action::SplitCheck, false}},
        CommandLineCase{{"/sys_bits"}, {Action::SysBits, false}},
        CommandLineCase{{"/Sys_Bits", "/sys_bits"}, {Action::SysBits, false}},
        CommandLineCase{{"--help", "Start", "/Kil", "/Killer", "-Kill"}, {Action::Run, false}},
        CommandLineCase{{"profile.ini", "/start", "x"}, {Action::Run, true}}));

}  // namespace
}  // namespace vexlo
