#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo::test {

// The real program over a vexlo-sim of the test's own, both with a private runtime and
// configuration folder and without a display.
class ProgramOnSimFixture : public testing::Test {
 protected:
  static inline const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";

  TempFolder root;
  std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";
  std::map<std::string, std::string> environment{{"QT_QPA_PLATFORM", "offscreen"},
                                                 {"XDG_RUNTIME_DIR", root / "run"},
                                                 {"XDG_CONFIG_HOME", root / "config"}};
  std::unique_ptr<ChildProcess> program;

  void SetUp() override {
    std::filesystem::create_directories(root / "run");
    ::chmod((root / "run").c_str(), 0700);
    ASSERT_EQ(Run("vexlo-sim", {"start"}), 0);
  }
  void TearDown() override { (void)Run("vexlo-sim", {"stop"}); }

  // Writes the profile `name` and makes it the current one.
  void UseProfile(const std::string& name, const std::string& contents) {
    const std::string path = data + "Profile/" + name + ".ini";
    WriteFile(path, contents);
    WriteFile(data + "Setting.ini", "[Setting]\nstrProfilePath=" + path + "\n");
  }
  // Starts the program as the desktop's autostart does.
  void LaunchProgram() {
    program = std::make_unique<ChildProcess>(kBinaries + "vexlo", std::vector<std::string>{"/Start"},
                                             environment);
  }
  // The same, returning once the program has set the mouse up (button 3 reports to it).
  void StartProgram() {
    LaunchProgram();
    ASSERT_TRUE(SimShows({"status"}, "3 reports 0x14")) << Sim({"status"});
  }

  std::optional<int> Run(const std::string& name, std::vector<std::string> arguments) {
    return ChildProcess(kBinaries + name, arguments, environment)
        .WaitForExit(std::chrono::seconds(20));
  }
  std::string Sim(std::vector<std::string> arguments) {
    return RunForOutput(kBinaries + "vexlo-sim", arguments, environment, std::chrono::seconds(20))
        .value_or("");
  }
  bool SimShows(std::vector<std::string> arguments, const std::string& text) {
    return WaitUntil([&] { return Sim(arguments).find(text) != std::string::npos; },
                     std::chrono::seconds(15));
  }
};

}  // namespace vexlo::test
