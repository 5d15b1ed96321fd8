#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include <QPointer>

#include "dialogs/CSngKbdDlg.h"

class QFileDialog;
class QWidget;

namespace vexlo {

class LanguageTable;
struct AppSettings;

// The windows that a choice of the assignment menu opens before it takes effect: the single-key
// dialog and the program chooser. Each runs modally over the main window and answers what the
// user chose, or nothing when the user cancelled. The dialogs are kept between uses, preset
// before each. User-interface thread.
//
// Test seam: SetNext… answers the next use of that window as given without showing anything
// (nothing: Cancel). Answers queue up in order.
class AssignmentDialogs {
 public:
  AssignmentDialogs(const AppSettings& settings, const LanguageTable& language, QWidget& parent);
  ~AssignmentDialogs();

  // The key chosen in the single-key dialog opened on `preset` (0 is "no key"), when it ended
  // with Apply.
  std::optional<std::uint8_t> ChooseKey(std::uint8_t preset);
  // The path of the program chosen in an open-file dialog (all files shown at first).
  std::optional<std::string> ChooseProgram();

  void SetNextKey(std::optional<std::uint8_t> key) { nextKeys_.push_back(key); }
  void SetNextProgram(std::optional<std::string> path) { nextPrograms_.push_back(std::move(path)); }

  // Ends whichever of them is open as if cancelled (the mouse went away, the program ends).
  void CloseOpen();

 private:
  template <typename T>
  static bool TakeNext(std::deque<std::optional<T>>& answers, std::optional<T>& answer);

  QWidget& parent_;
  const LanguageTable& language_;
  CSngKbdDlg keyDialog_;
  bool keySkinLoaded_ = false;
  QPointer<QFileDialog> programDialog_;  // while it is open
  std::deque<std::optional<std::uint8_t>> nextKeys_;
  std::deque<std::optional<std::string>> nextPrograms_;
};

}  // namespace vexlo
