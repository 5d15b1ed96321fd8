#include "app/MsgDlgUserMessages.h"

#include <QMessageBox>

#include <iostream>

#include "dialogs/CMsgDlg.h"
#include "skin/LanguageText.h"

namespace vexlo {

int MsgDlgUserMessages::ShowMessage(std::string_view textKey, std::string_view titleKey,
                                    std::uint32_t flags, std::uint32_t titleColour) {
  if (!dialog_) return kCancel;
  const int answer = dialog_->ShowMessage(LanguageText(language_, textKey),
                                          LanguageText(language_, titleKey), flags, titleColour);
  return answer == CMsgDlg::kIdOk ? kOk : kCancel;
}

int MsgDlgUserMessages::ShowMessageWith(std::string_view textKey, std::string_view titleKey,
                                        std::uint32_t flags, std::uint32_t titleColour,
                                        std::string_view detail) {
  if (!dialog_) return kCancel;
  QString text = LanguageText(language_, textKey);
  text.replace(QStringLiteral("%s"),
               QString::fromUtf8(detail.data(), static_cast<qsizetype>(detail.size())));
  const int answer =
      dialog_->ShowMessage(text, LanguageText(language_, titleKey), flags, titleColour);
  return answer == CMsgDlg::kIdOk ? kOk : kCancel;
}

void MsgDlgUserMessages::ShowPlainMessage(std::string_view text) {
  if (!dialog_) {
    std::cerr << text << '\n';
    return;
  }
  QMessageBox::information(nullptr, QStringLiteral("Vexlo"),
                           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace vexlo
