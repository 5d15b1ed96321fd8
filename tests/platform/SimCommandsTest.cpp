#include "platform/sim/SimCommands.h"

#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace vexlo {
namespace {

Result Command(SimEnvironment& sim, std::vector<std::string> words, std::string* output = nullptr) {
  std::string text;
  const Result r = RunSimCommand(sim, words, text);
  if (output) *output = text;
  return r;
}

TEST(SimCommandsTest, Buttons) {
  SimEnvironment sim({.mouse = {.plugged = false}});
  std::string output;
  EXPECT_EQ(Command(sim, {"press", "3"}, &output), Result::DeviceNotConnected);
  EXPECT_EQ(output, "the mouse is not plugged in");
  EXPECT_EQ(Command(sim, {"plug"}, &output), Result::Ok);
  EXPECT_EQ(output, "mouse plugged in");
  EXPECT_EQ(Command(sim, {"press", "left"}), Result::Ok);
  EXPECT_EQ(Command(sim, {"press", "0x6"}, &output), Result::Ok);
  EXPECT_EQ(output, "buttons held: 0 (left), 6 (sensitivity down)");
  EXPECT_EQ(sim.State().mouse.pressed, 0x41);
  EXPECT_EQ(Command(sim, {"release", "LEFT"}), Result::Ok);
  EXPECT_EQ(Command(sim, {"click", "back"}), Result::Ok);
  EXPECT_EQ(sim.State().mouse.pressed, 0x40);
  EXPECT_EQ(Command(sim, {"press", "7"}), Result::InvalidParameter);
  EXPECT_EQ(Command(sim, {"press"}), Result::InvalidParameter);
  EXPECT_EQ(Command(sim, {"unplug"}, &output), Result::Ok);
  EXPECT_EQ(output, "mouse unplugged");
}

TEST(SimCommandsTest, TheStatusShowsWhatTheRegistersTellTheMouse) {
  SimEnvironment sim;
  std::string output;
  EXPECT_EQ(Command(sim, {"status"}, &output), Result::Ok);
  EXPECT_NE(output.find("sensitivity   level 0: 800 cpi in colour 0 (levels 800, 1000, 1600, "
                        "3200 cpi; colours 0, 8, 4, 2)\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("lighting      breathing in the level colour\n"), std::string::npos);
  EXPECT_NE(output.find("buttons 3..6  3 own function 0x01, 4 own function 0x00, 5 level up, "
                        "6 level down\n"),
            std::string::npos)
      << output;

  SimState state;
  state.mouse.registers[0x0A] = 0xEC;  // light off; button 3 reports to the host
  state.mouse.registers[0x0B] = 0x08;  // button 5 cycles the level
  state.mouse.registers[0x04] = 0xF1;  // level 2: colour 15, step 17 with bit 4 in register 0x08
  state.mouse.registers[0x08] = 0x08;
  SimEnvironment changed(state);
  EXPECT_EQ(Command(changed, {"click", "5"}), Result::Ok);
  EXPECT_EQ(Command(changed, {"click", "5"}), Result::Ok);
  EXPECT_EQ(Command(changed, {"status"}, &output), Result::Ok);
  EXPECT_NE(output.find("sensitivity   level 2: 3600 cpi in colour 15 (levels 800, 1000, 3600, "
                        "3200 cpi; colours 0, 8, 15, 2)\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("lighting      off\n"), std::string::npos);
  EXPECT_NE(output.find("buttons 3..6  3 reports 0x14, 4 own function 0x00, 5 cycles the level, "
                        "6 level down\n"),
            std::string::npos)
      << output;
}

TEST(SimCommandsTest, Faults) {
  SimEnvironment sim;
  EXPECT_EQ(Command(sim, {"fail", "2", "1117", "--after", "3"}), Result::Ok);
  EXPECT_EQ(sim.State().faults,
            (SimFaults{.passTransfers = 3, .failTransfers = 2, .failWith = Result::IoDevice}));
  EXPECT_EQ(Command(sim, {"short", "1"}), Result::Ok);
  EXPECT_EQ(Command(sim, {"unplug-mid-transfer"}), Result::Ok);
  std::string output;
  EXPECT_EQ(Command(sim, {"faults"}, &output), Result::Ok);
  EXPECT_EQ(output,
            "faults: after 3 transfer(s) go through; the next transfer pulls the mouse out; 2 "
            "transfer(s) fail with 1117; 1 read(s) answer short");
  EXPECT_EQ(Command(sim, {"faults", "clear"}), Result::Ok);
  EXPECT_EQ(sim.State().faults, SimFaults{});
  EXPECT_EQ(Command(sim, {"fail", "2"}), Result::Ok);
  EXPECT_EQ(sim.State().faults.failWith, Result::GeneralFailure);

  const std::vector<std::vector<std::string>> wrong = {
      {"fail"},           {"fail", "x"},
      {"fail", "1", "0"}, {"fail", "1", "2", "3"},
      {"short"},          {"unplug-mid-transfer", "now"},
      {"faults", "all"},  {"short", "1", "--after"},
  };
  for (const auto& words : wrong)
    EXPECT_EQ(Command(sim, words), Result::InvalidParameter) << words[0];
  EXPECT_EQ(sim.State().faults.failTransfers, 2u);  // unchanged by the wrong ones
}

TEST(SimCommandsTest, DesktopAndDrivers) {
  SimEnvironment sim;
  std::string output;
  EXPECT_EQ(Command(sim, {"foreground", "/opt/game/bin/game"}, &output), Result::Ok);
  EXPECT_EQ(output, "foreground: /opt/game/bin/game");
  EXPECT_EQ(sim.ForegroundPath(), "/opt/game/bin/game");
  EXPECT_EQ(Command(sim, {"foreground", "--none"}), Result::Ok);
  EXPECT_EQ(sim.ForegroundPath(), std::nullopt);

  EXPECT_EQ(Command(sim, {"settings", "speed", "12"}, &output), Result::Ok);
  EXPECT_EQ(output, "double-click 500 ms, pointer speed 12, wheel 3 lines");
  EXPECT_EQ(Command(sim, {"settings", "wheel", "page"}, &output), Result::Ok);
  EXPECT_EQ(output, "double-click 500 ms, pointer speed 12, wheel a page");
  EXPECT_EQ(Command(sim, {"settings", "double-click", "700"}), Result::Ok);
  EXPECT_EQ(sim.State().desktop.pointer, (SimPointerSettings{700, 12, 0xFFFFFFFF}));
  EXPECT_EQ(Command(sim, {"settings", "speed", "0"}), Result::InvalidParameter);
  EXPECT_EQ(Command(sim, {"settings", "colour", "1"}), Result::InvalidParameter);
  EXPECT_EQ(Command(sim, {"settings", "speed", "fast"}), Result::InvalidParameter);

  EXPECT_EQ(Command(sim, {"drivers", "hidfiltr-missing"}, &output), Result::Ok);
  EXPECT_EQ(output, "hidfiltr missing, moufiltr installed");
  EXPECT_EQ(Command(sim, {"drivers", "missing"}), Result::Ok);
  EXPECT_FALSE(sim.State().drivers.mouseFilter);
  EXPECT_EQ(Command(sim, {"drivers", "broken"}), Result::InvalidParameter);
}

TEST(SimCommandsTest, PicturesOfTheState) {
  SimEnvironment sim;
  std::string output;
  EXPECT_EQ(Command(sim, {"registers"}, &output), Result::Ok);
  EXPECT_EQ(output,
            "     00 01 02 03 04 05 06 07\n"
            "00:  00 00 03 84 47 2F 00 00\n"
            "08:  00 00 21 09 05 04 02 03\n"
            "10:  0A 07 00 00 00 00 1E B7\n"
            "18:  00 00 00 00 00 00 00 00");
  EXPECT_EQ(Command(sim, {"status"}, &output), Result::Ok);
  EXPECT_NE(output.find("mouse         plugged in, model 2, composite device"), std::string::npos);
  EXPECT_NE(output.find("foreground    none"), std::string::npos);
  EXPECT_EQ(Command(sim, {"injected"}, &output), Result::Ok);
  EXPECT_EQ(output, "");
  EXPECT_EQ(Command(sim, {"injected", "clear"}), Result::Ok);
  EXPECT_EQ(Command(sim, {"help"}, &output), Result::Ok);
  EXPECT_EQ(output, kSimCommandHelp);
  EXPECT_EQ(Command(sim, {"dance"}, &output), Result::InvalidParameter);
  EXPECT_EQ(output.rfind("unknown command: dance", 0), 0u);
  EXPECT_EQ(Command(sim, {}), Result::InvalidParameter);
}

}  // namespace
}  // namespace vexlo
