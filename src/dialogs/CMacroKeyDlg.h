#pragma once

#include <QPointer>

#include <array>

#include "dialogs/CPackedNumberDlg.h"

namespace vexlo {

class CMenuEx;
class MacroStore;

// Edits a macro assignment, packed as the macro number of ExtensionNumber.h: the stored macro a
// button plays, chosen by name from a menu of the macros in name order, and how its playback
// ends: after a repeat count (1 to 255), when the button is released, or when it is pressed
// again. OK stores the lowest slot whose macro has the chosen name (without regard to case), or
// slot 0 when none has.
//
// The preset opens as follows. A button without a macro (number 0) shows the first stored macro,
// played once. A preset slot that holds no macro (or is no slot at all) shows the first stored
// macro too, so that OK binds the macro the user saw. A loop mode that is none of the three shows
// as a repeat count. Repeat counts show within 1 to 255.
class CMacroKeyDlg final : public CPackedNumberDlg {
 public:
  // Command IDs of the macro menu: the first one, for the first name.
  static constexpr int kFirstMacroCommand = 30000;

  // The store's slots and names are read whenever the dialog opens and on OK.
  CMacroKeyDlg(const AppSettings& settings, const LanguageTable& language, const MacroStore& macros,
               QWidget* parent = nullptr);
  ~CMacroKeyDlg() override;

  void done(int result) override;  // also closes the macro menu when it is open

 protected:
  void OnInitDialog() override;
  std::uint32_t ValueShown() const override;

 private:
  void ShowPreset();
  void OpenMacroMenu();
  void UpdateCountEdit();  // the repeat count is typed only for a repeat count
  int FirstStoredSlot() const;

  const MacroStore& macros_;
  CImageBtn* subtitleArea_;
  CImageBtn* macroList_;
  std::array<CImageBtn*, 3> modeRadios_;  // in the order of kModeRadios
  CColorEdit* countEdit_;
  QPointer<CMenuEx> openMenu_;
};

}  // namespace vexlo
