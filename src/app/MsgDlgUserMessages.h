#pragma once

#include "common/LanguageTable.h"
#include "platform/ports/UserMessages.h"

namespace vexlo {

class CMsgDlg;

// Messages shown in the program's shared message dialog, texts from the language file. Without
// a dialog (a one-shot command line runs without windows) every question is answered kCancel and
// plain messages go to standard error.
class MsgDlgUserMessages final : public UserMessages {
 public:
  MsgDlgUserMessages(const LanguageTable& language, CMsgDlg* dialog)
      : language_(language), dialog_(dialog) {}

  int ShowMessage(std::string_view textKey, std::string_view titleKey, std::uint32_t flags,
                  std::uint32_t titleColour) override;
  int ShowMessageWith(std::string_view textKey, std::string_view titleKey, std::uint32_t flags,
                      std::uint32_t titleColour, std::string_view detail) override;
  void ShowPlainMessage(std::string_view text) override;

 private:
  const LanguageTable& language_;
  CMsgDlg* dialog_;
};

}  // namespace vexlo
