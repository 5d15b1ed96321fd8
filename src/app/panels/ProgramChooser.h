#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <string>

class QWidget;

namespace vexlo {

// The filter that shows every file, as "display (patterns)" with only "(*.*)" shown. Files here
// need not have an extension, so the pattern is "*".
QString AllFilesFilter();

// The open-file dialog in which the user picks a program: for a button that launches one and for
// the program a profile is linked to. Modal over `parent`, titled `title`; "(*.exe)" and all files
// are offered, all files shown first, since programs here carry no ".exe". User-interface thread.
//
// Test seam: SetNext answers the next Choose as given without showing anything (nothing: Cancel).
// Answers queue up in order.
class ProgramChooser {
 public:
  ProgramChooser(QWidget& parent, QString title) : parent_(parent), title_(std::move(title)) {}

  // The path of an existing file the user chose; nothing when cancelled.
  std::optional<std::string> Choose();
  void SetNext(std::optional<std::string> path) { next_.push_back(std::move(path)); }

 private:
  QWidget& parent_;
  const QString title_;
  std::deque<std::optional<std::string>> next_;
};

}  // namespace vexlo
