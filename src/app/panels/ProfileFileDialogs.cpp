#include "app/panels/ProfileFileDialogs.h"

#include <QFileDialog>

namespace vexlo {
namespace {

// An exchange file: ".profile" shown first, all files offered.
void Prepare(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode) {
  // As "display (patterns)" with only the display part shown.
  const QString profiles = QStringLiteral("(*.profile) (*.profile)");
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters({profiles, AllFilesFilter()});
  dialog.selectNameFilter(profiles);
  dialog.setDefaultSuffix(QStringLiteral("profile"));
}

}  // namespace

std::optional<std::string> ProfileFileDialogs::ChooseImportFile() {
  QFileDialog dialog(&parent_);
  Prepare(dialog, "ImportFileDialog", QFileDialog::AcceptOpen);
  return Run(dialog, nextImports_);
}

std::optional<std::string> ProfileFileDialogs::ChooseExportFile(const std::string& name) {
  QFileDialog dialog(&parent_);
  Prepare(dialog, "ExportFileDialog", QFileDialog::AcceptSave);
  dialog.selectFile(QString::fromStdString(name) + QStringLiteral(".profile"));
  return Run(dialog, nextExports_);
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
