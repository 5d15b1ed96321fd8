#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <string>

#include "app/panels/ProgramChooser.h"

class QFileDialog;
class QWidget;

namespace vexlo {

// The file dialogs of the profile panel: the exchange file to import, the one to export to, and
// the program a profile is linked to (a ProgramChooser titled `programTitle`). Each runs modally
// over the main window and answers the chosen path, or nothing when the user cancelled.
// User-interface thread.
//
// Test seam: SetNext… answers the next use of that dialog as given without showing anything
// (nothing: Cancel). Answers queue up in order.
class ProfileFileDialogs {
 public:
  ProfileFileDialogs(QWidget& parent, QString programTitle)
      : parent_(parent), program_(parent, std::move(programTitle)) {}

  // An existing ".profile" file (all files can be shown).
  std::optional<std::string> ChooseImportFile();
  // A file to write `name` + ".profile" to; choosing an existing file asks before it is taken.
  std::optional<std::string> ChooseExportFile(const std::string& name);
  // An existing program file; all files are shown at first.
  std::optional<std::string> ChooseProgram() { return program_.Choose(); }

  void SetNextImportFile(std::optional<std::string> path) {
    nextImports_.push_back(std::move(path));
  }
  void SetNextExportFile(std::optional<std::string> path) {
    nextExports_.push_back(std::move(path));
  }
  void SetNextProgram(std::optional<std::string> path) { program_.SetNext(std::move(path)); }

 private:
  // The queued answer when there is one, else what the user chooses in `dialog`.
  std::optional<std::string> Run(QFileDialog& dialog,
                                 std::deque<std::optional<std::string>>& answers);

  QWidget& parent_;
  ProgramChooser program_;
  std::deque<std::optional<std::string>> nextImports_;
  std::deque<std::optional<std::string>> nextExports_;
};

}  // namespace vexlo
