#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo::test {

inline const std::string kBinaries = std::string(VEXLO_BINARY_DIR) + "/";
inline constexpr const char* kMainWindowTitle = "Halvec QXA7702 Gaming Mouse";

// Whether `program` is installed in one of the system's program folders.
bool OnPath(const std::string& program);

// The real program on a private X display, with the virtual mouse behind vexlo-sim, checked the
// way a user sees it: which windows are on the screen, whether the tray holds its icon, what the
// mouse and the desktop hold; and worked the way a user does, with the pointer and the keyboard.
class XDesktopTest : public testing::Test {
 protected:
  XDesktopTest();
  ~XDesktopTest() override;

  void SetUp() override;
  void TearDown() override;

  std::optional<int> Run(const std::string& program, std::vector<std::string> arguments);
  std::string Output(const std::string& program, std::vector<std::string> arguments);
  std::string Sim(const char* command) { return Output("vexlo-sim", {command}); }

  // The map state of the window named `title`: "IsViewable", "IsUnMapped", or empty when there
  // is none.
  std::string MapState(const std::string& title = kMainWindowTitle);
  bool MapStateBecomes(const std::string& state, const std::string& title = kMainWindowTitle);

  // A notification area: the tray host `trayer` as a panel at the top of the screen.
  std::unique_ptr<ChildProcess> StartTrayHost();
  // Whether the program's icon sits in the tray host's notification area.
  bool TrayIconShown();

  // A left click on the middle of the main window's control `skinKey`, placed as the shipped
  // main skin places it.
  void ClickControl(const std::string& skinKey);
  // A press and release of the key `keysym` ("Up", "Return", "a", ...), with the key `modifier`
  // ("Control_L") held down around it when one is given.
  void PressKey(const std::string& keysym, const std::string& modifier = {});
  // Whether a popup menu of the program is on the screen.
  bool MenuShown();
  // Opens the fire-key dialog from the middle button's menu (the item before the last) and
  // returns once the dialog is on the screen.
  void OpenFireKeyDialog();
  // What the main window's edit `skinKey` holds, as a user copies it: a click into it, Ctrl+A,
  // Ctrl+C, and the text read back from the clipboard; empty when none came.
  std::string CopiedText(const std::string& skinKey);

  // The shipped English text of `key`.
  static std::string Text(const std::string& key);

  TempFolder root;
  std::map<std::string, std::string> environment;
  std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";

 private:
  // The text the clipboard's owner hands out, as UTF-8; empty when it has none.
  std::string ClipboardText();

  struct Input;  // the display connection for the input, opened with the server
  std::unique_ptr<ChildProcess> xserver_;
  std::unique_ptr<Input> input_;
};

}  // namespace vexlo::test
