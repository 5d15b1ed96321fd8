#pragma once

#include "common/LanguageTable.h"
#include "platform/ports/UserMessages.h"

namespace vexlo {

// Messages shown with the platform's message box, texts from the language file. Without a
// running application (a one-shot command line) plain messages go to standard error.
class QtUserMessages final : public UserMessages {
 public:
  explicit QtUserMessages(const LanguageTable& language) : language_(language) {}

  int ShowMessage(std::string_view textKey, std::string_view titleKey, std::uint32_t flags,
                  std::uint32_t titleColour) override;
  void ShowPlainMessage(std::string_view text) override;

 private:
  const LanguageTable& language_;
  bool showing_ = false;
};

}  // namespace vexlo
