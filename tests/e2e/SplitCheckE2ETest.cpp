#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";

// "/split_check" of the real program against the mice of a running vexlo-sim.
class SplitCheckE2ETest : public testing::Test {
 protected:
  test::TempFolder root;
  std::map<std::string, std::string> environment{{"QT_QPA_PLATFORM", "offscreen"},
                                                 {"XDG_RUNTIME_DIR", root / "run"},
                                                 {"XDG_CONFIG_HOME", root / "config"}};

  SplitCheckE2ETest() {
    std::filesystem::create_directories(root / "run");
    ::chmod((root / "run").c_str(), 0700);
  }
  ~SplitCheckE2ETest() override { (void)Run("vexlo-sim", {"stop"}); }

  std::optional<int> Run(const std::string& program, std::vector<std::string> arguments) {
    return test::ChildProcess(kBinaries + program, arguments, environment).WaitForExit(20s);
  }
};

TEST_F(SplitCheckE2ETest, ExitsWithOneForASplitMouseOnly) {
  struct Case {
    std::vector<std::string> simStart;  // empty: no vexlo-sim runs
    int expected;
  };
  const Case cases[] = {
      {{}, 0},
      {{"start"}, 0},
      {{"start", "--plain"}, 1},
      {{"start", "--plain", "--unplugged"}, 0},
  };
  for (const Case& c : cases) {
    const std::string name = c.simStart.empty() ? "no vexlo-sim" : c.simStart.back();
    if (!c.simStart.empty()) {
      ASSERT_EQ(Run("vexlo-sim", c.simStart), 0) << name;
    }
    EXPECT_EQ(Run("vexlo", {"/split_check"}), c.expected) << name;
    if (!c.simStart.empty()) {
      ASSERT_EQ(Run("vexlo-sim", {"stop"}), 0) << name;
    }
  }
}

}  // namespace
}  // namespace vexlo
