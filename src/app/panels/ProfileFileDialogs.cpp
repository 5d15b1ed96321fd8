#include "app/panels/ProfileFileDialogs.h"

#include <QFileDialog>

namespace vexlo {
namespace {

// Filters as "display (patterns)" with only the display part shown, as "(*.profile)" and
// "(*.*)". Files here need not have an extension, so "all files" is "*".
const QString kProfileFilter = QStringLiteral("(*.profile) (*.profile)");
const QString kProgramFilter = QStringLiteral("(*.exe) (*.exe)");
const QString kAllFilesFilter = QStringLiteral("(*.*) (*)");

void Prepare(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode,
             const QString& filter, const QString& selected) {
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters({filter, kAllFilesFilter});
  dialog.selectNameFilter(selected);
}

}  // namespace

std::optional<std::string> ProfileFileDialogs::ChooseImportFile() {
  QFileDialog dialog(&parent_);
  Prepare(dialog, "ImportFileDialog", QFileDialog::AcceptOpen, kProfileFilter, kProfileFilter);
  dialog.setDefaultSuffix(QStringLiteral("profile"));
  return Run(dialog, nextImports_);
}

std::optional<std::string> ProfileFileDialogs::ChooseExportFile(const std::string& name) {
  QFileDialog dialog(&parent_);
  Prepare(dialog, "ExportFileDialog", QFileDialog::AcceptSave, kProfileFilter, kProfileFilter);
  dialog.setDefaultSuffix(QStringLiteral("profile"));
  dialog.selectFile(QString::fromStdString(name) + QStringLiteral(".profile"));
  return Run(dialog, nextExports_);
}

std::optional<std::string> ProfileFileDialogs::ChooseProgram() {
  QFileDialog dialog(&parent_);
  Prepare(dialog, "ProgramFileDialog", QFileDialog::AcceptOpen, kProgramFilter, kAllFilesFilter);
  return Run(dialog, nextPrograms_);
}

std::optional<std::string> ProfileFileDialogs::Run(
    QFileDialog& dialog, std::deque<std::optional<std::string>>& answers) {
  if (!answers.empty()) {
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace vexlo
