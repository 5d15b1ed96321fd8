#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "app/panels/ProgramChooser.h"
#include "dialogs/CFireKeyDlg.h"
#include "dialogs/CMacroKeyDlg.h"
#include "dialogs/CSngKbdDlg.h"

class QWidget;

namespace vexlo {

class LanguageTable;
class MacroStore;
struct AppSettings;

// The windows that a choice of the assignment menu opens before it takes effect: the single-key
// dialog, the program chooser, and the fire-key and macro-key dialogs. Each runs modally over the
// main window and answers what the user chose, or nothing when the user cancelled. The dialogs are
// kept between uses, preset before each. User-interface thread.
//
// Test seam: SetNext… answers the next use of that window as given without showing anything
// (nothing: Cancel). Answers queue up in order.
class AssignmentDialogs {
 public:
  AssignmentDialogs(const AppSettings& settings, const LanguageTable& language,
                    const MacroStore& macros, QWidget& parent);
  ~AssignmentDialogs();

  // The key chosen in the single-key dialog opened on `preset` (0 is "no key"), when it ended
  // with Apply.
  std::optional<std::uint8_t> ChooseKey(std::uint8_t preset);
  // The path of the program chosen in an open-file dialog (all files shown at first).
  std::optional<std::string> ChooseProgram();
  // The packed fire-key or macro number chosen in its dialog opened on `preset`.
  std::optional<std::uint32_t> ChooseFireKey(std::uint32_t preset);
  std::optional<std::uint32_t> ChooseMacro(std::uint32_t preset);

  void SetNextKey(std::optional<std::uint8_t> key) { nextKeys_.push_back(key); }
  void SetNextProgram(std::optional<std::string> path) { programChooser_.SetNext(std::move(path)); }
  void SetNextFireKey(std::optional<std::uint32_t> value) { SetNextNumber(fireKeyDialog_, value); }
  void SetNextMacro(std::optional<std::uint32_t> value) { SetNextNumber(macroKeyDialog_, value); }

 private:
  template <typename T>
  static bool TakeNext(std::deque<std::optional<T>>& answers, std::optional<T>& answer);
  static void SetNextNumber(CPackedNumberDlg& dialog, std::optional<std::uint32_t> value);
  static std::optional<std::uint32_t> RunNumberDialog(CPackedNumberDlg& dialog,
                                                      std::uint32_t preset);

  CSngKbdDlg keyDialog_;
  bool keySkinLoaded_ = false;
  ProgramChooser programChooser_;
  CFireKeyDlg fireKeyDialog_;
  CMacroKeyDlg macroKeyDialog_;
  std::deque<std::optional<std::uint8_t>> nextKeys_;
};

}  // namespace vexlo
