#include "app/panels/AssignmentDialogs.h"

#include "common/LanguageTable.h"

namespace vexlo {

AssignmentDialogs::AssignmentDialogs(const AppSettings& settings, const LanguageTable& language,
                                     const MacroStore& macros, QWidget& parent)
    : keyDialog_(settings, language, &parent),
      programChooser_(parent,
                      QString::fromStdString(language.LookupText("INFO_KEY_SET_START_PROGRAM"))),
      fireKeyDialog_(settings, language, &parent),
      macroKeyDialog_(settings, language, macros, &parent) {}

AssignmentDialogs::~AssignmentDialogs() = default;

template <typename T>
bool AssignmentDialogs::TakeNext(std::deque<std::optional<T>>& answers, std::optional<T>& answer) {
  if (answers.empty()) return false;
  answer = std::move(answers.front());
  answers.pop_front();
  return true;
}

std::optional<std::uint8_t> AssignmentDialogs::ChooseKey(std::uint8_t preset) {
  std::optional<std::uint8_t> answer;
  if (TakeNext(nextKeys_, answer)) return answer;
  // Without its pictures the dialog still works.
  if (!keySkinLoaded_) keySkinLoaded_ = keyDialog_.LoadSkin() == Result::Ok;
  keyDialog_.SetKey(preset);
  if (keyDialog_.exec() != QDialog::Accepted) return std::nullopt;
  return keyDialog_.Key();
}

std::optional<std::string> AssignmentDialogs::ChooseProgram() {
  return programChooser_.Choose();
}

std::optional<std::uint32_t> AssignmentDialogs::ChooseFireKey(std::uint32_t preset) {
  return RunNumberDialog(fireKeyDialog_, preset);
}

std::optional<std::uint32_t> AssignmentDialogs::ChooseMacro(std::uint32_t preset) {
  return RunNumberDialog(macroKeyDialog_, preset);
}

std::optional<std::uint32_t> AssignmentDialogs::RunNumberDialog(CPackedNumberDlg& dialog,
                                                                std::uint32_t preset) {
  dialog.SetValue(preset);
  if (dialog.Run() != CPackedNumberDlg::kIdOk) return std::nullopt;
  return dialog.Value();
}

void AssignmentDialogs::SetNextNumber(CPackedNumberDlg& dialog,
                                      std::optional<std::uint32_t> value) {
  dialog.SetNextAnswer(value ? CPackedNumberDlg::kIdOk : CPackedNumberDlg::kIdCancel,
                       value.value_or(0));
}

}  // namespace vexlo
