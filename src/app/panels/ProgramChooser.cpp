#include "app/panels/ProgramChooser.h"

#include <QFileDialog>

namespace vexlo {

QString AllFilesFilter() {
  return QStringLiteral("(*.*) (*)");
}

std::optional<std::string> ProgramChooser::Choose() {
  if (!next_.empty()) {
    std::optional<std::string> answer = std::move(next_.front());
    next_.pop_front();
    return answer;
  }
  QFileDialog dialog(&parent_, title_);
  dialog.setObjectName(QStringLiteral("ProgramFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters({QStringLiteral("(*.exe) (*.exe)"), AllFilesFilter()});
  dialog.selectNameFilter(AllFilesFilter());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace vexlo
