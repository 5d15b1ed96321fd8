#pragma once

#include "dialogs/CPackedNumberDlg.h"

namespace vexlo {

// Edits a fire-key assignment: the click interval (1 to 255) and the number of clicks (0 to 255;
// 0 fires for as long as the button is held), packed as the fire-key number of ExtensionNumber.h.
// Both are typed as decimal numbers; a number above 255 turns into 255 as it is typed, and an
// interval of 0 is stored as 1.
class CFireKeyDlg final : public CPackedNumberDlg {
 public:
  CFireKeyDlg(const AppSettings& settings, const LanguageTable& language,
              QWidget* parent = nullptr);
  ~CFireKeyDlg() override;

 protected:
  void OnInitDialog() override;
  std::uint32_t ValueShown() const override;

 private:
  CColorStatic* intervalLabel_;
  CColorEdit* intervalEdit_;
  CColorStatic* countLabel_;
  CColorEdit* countEdit_;
};

}  // namespace vexlo
