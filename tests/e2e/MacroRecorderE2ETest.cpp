#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "XDesktopTest.h"
#include "common/IniFile.h"
#include "profiles/MacroFile.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

using test::kBinaries;

// The real program on a private X display, typed at and clicked by the X server's own input
// synthesis (xdotool), as a user records a macro.
class MacroRecorderE2ETest : public test::XDesktopTest {
 protected:
  std::string window;  // the main window's X id

  void SetUp() override {
    if (!test::OnPath("xdotool")) GTEST_SKIP() << "needs xdotool (Debian package xdotool)";
    XDesktopTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    test::WriteFile(data + "Macro/Macro000.ini", "[Setting]\nbyFlag=85\nszName=Typed\n");
  }

  void TearDown() override {
    if (!environment.empty()) (void)Run("vexlo", {"/Kill"});  // the display was set up
    XDesktopTest::TearDown();
  }

  std::string Xdotool(std::vector<std::string> arguments) {
    return test::RunForOutput("/usr/bin/xdotool", arguments, environment, 30s).value_or("");
  }

  // The centre of a control of the skin file `skin`, in window coordinates.
  static std::pair<int, int> Centre(const std::string& skin, const std::string& key) {
    const std::string rect = ReadIniString("CONTROL", key, "", kBinaries + "Skins/" + skin);
    int left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(std::sscanf(rect.c_str(), "%d,%d,%d,%d", &left, &top, &width, &height), 4) << key;
    return {left + width / 2, top + height / 2};
  }
  // xdotool words that move the pointer to `at` in the window.
  std::vector<std::string> MoveTo(std::pair<int, int> at) {
    return {"mousemove", "--window", window, std::to_string(at.first), std::to_string(at.second)};
  }
  void ClickAt(std::pair<int, int> at) {
    std::vector<std::string> words = MoveTo(at);
    words.insert(words.end(), {"click", "1", "sleep", "0.3"});
    Xdotool(words);
  }

  std::string Slot() const { return data + "Macro/Macro000.ini"; }
  MacroData Macro() {
    MacroData macro;
    (void)ReadMacroFile(Slot(), macro);
    return macro;
  }
  bool StepsBecome(int count) {
    return test::WaitUntil([&] { return Macro().byCount == count; }, 10s);
  }
};

TEST_F(MacroRecorderE2ETest, TypedKeysAndClicksBecomeStepsWithTheirRealPauses) {
  test::ChildProcess program(kBinaries + "vexlo", {}, environment);
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        window = Xdotool({"search", "--onlyvisible", "--name", test::kMainWindowTitle});
        window = window.substr(0, window.find('\n'));
        return !window.empty();
      },
      15s))
      << "the window did not appear";

  ClickAt(Centre("Main.ini", "BTN_MACRO"));
  ClickAt(Centre("Macro.ini", "RAD_MACRO_ACTION_DELAY_NATIVE"));
  ClickAt(Centre("Macro.ini", "CHK_MACRO_ACTION_RECORD"));
  // Recording has begun once a key arrives.
  Xdotool({"key", "--delay", "0", "Escape"});
  ASSERT_TRUE(StepsBecome(3)) << "nothing was recorded";

  // Timed by xdotool between its own events: the pauses to find in the macro. Then a click on a
  // button of the page and a wheel turn, which record nothing, and a last key that ends it.
  const std::pair<int, int> background(Centre("Macro.ini", "CHK_MACRO_ACTION_RECORD").first,
                                       Centre("Macro.ini", "LIST_MACRO_ACTION").second);
  std::vector<std::string> script = {"keydown", "--delay", "0",       "a", "sleep",
                                     "0.2",     "keyup",   "--delay", "0", "a"};
  for (const auto& words :
       {MoveTo(background),
        {"sleep", "0.3",     "mousedown", "1",   "sleep", "0.15",    "mouseup", "1",     "sleep",
         "0.1",   "keydown", "--delay",   "0",   "b",     "sleep",   "1",       "keyup", "--delay",
         "0",     "b",       "sleep",     "0.1", "key",   "--delay", "0",       "Print"},
        MoveTo(Centre("Macro.ini", "BTN_MACRO_ACTION_TOP")),
        {"click", "1", "click", "4", "sleep", "0.1", "key", "--delay", "0", "c"}}) {
    script.insert(script.end(), words.begin(), words.end());
  }
  Xdotool(script);
  ASSERT_TRUE(StepsBecome(23)) << ReadIniString("Setting", "pma", "", Slot());

  // Esc; a held 200 ms; the click on the background, held 150 ms; b held a second (its
  // auto-repeat left out); Print Screen; c.
  const MacroData macro = Macro();
  const struct {
    std::uint8_t type, code;
    int pause;  // expected milliseconds of a timed pause, -1 for a pause nobody timed
  } expected[] = {{0x84, 0x29, 0}, {0x06, 0, -1},   {0x04, 0x29, 0}, {0x06, 0, -1},
                  {0x84, 0x04, 0}, {0x06, 0, 200},  {0x04, 0x04, 0}, {0x06, 0, 300},
                  {0x81, 0x01, 0}, {0x06, 0, 150},  {0x01, 0x01, 0}, {0x06, 0, 100},
                  {0x84, 0x05, 0}, {0x06, 0, 1000}, {0x04, 0x05, 0}, {0x06, 0, 100},
                  {0x84, 0x46, 0}, {0x06, 0, 1},    {0x04, 0x46, 0}, {0x06, 0, -1},
                  {0x84, 0x06, 0}, {0x06, 0, -1},   {0x04, 0x06, 0}};
  ASSERT_EQ(macro.byCount, std::size(expected));
  std::string errors;
  std::vector<int> sizes;  // of the errors
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const MacroAction& step = macro.steps[i];
    ASSERT_EQ(step.type, expected[i].type) << "step " << i;
    if (step.type != 0x06) {
      EXPECT_EQ(step.data1, expected[i].code) << "step " << i;
    } else if (expected[i].pause > 0) {
      const int error = step.Value16() - expected[i].pause;
      errors +=
          " " + std::to_string(expected[i].pause) + (error < 0 ? "" : "+") + std::to_string(error);
      // A lost or doubled pause is far off; a busy machine (other tests beside this one) may
      // still wake the program one scheduler slice or a few late for a single event.
      EXPECT_LE(std::abs(error), 100) << "step " << i;
      sizes.push_back(std::abs(error));
    }
  }
  std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
  EXPECT_LE(sizes[sizes.size() / 2], 15) << "the median error of the pauses:" << errors;
  std::cout << "recorded pauses, expected+error in ms:" << errors << '\n';
  RecordProperty("pause_errors", errors);
}

}  // namespace
}  // namespace vexlo
