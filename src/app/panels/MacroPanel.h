#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/panels/MacroMenus.h"
#include "app/panels/PagePanel.h"
#include "common/Result.h"
#include "skin/SkinFile.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace vexlo {

struct AppContext;
class CGridListCtrlEx;
class CImageBtn;
class CMenuEx;
struct MacroAction;
class MacroRecorder;

// What the button assignment page does when a macro changes under the buttons that play it.
struct MacroKeyLinks {
  std::function<void(int slot)> renamed;   // the buttons show the macro's new name
  std::function<void(int slot)> released;  // the buttons that played the slot are disabled
};

// The macro editor page: choose, add, delete, copy, import, export and rename the macros of the
// macro store, and edit the steps of the current one in a list (the step kind's picture and
// text, press or release, a pause typed into its cell). Every change is written at once: the
// steps to the macro's slot file, the current slot to the settings file (nMacroIndex). Without a
// current macro only add, import and the list react. Steps are also recorded from the keyboard
// and the mouse (MacroRecorder) while the record box is ticked. User-interface thread.
class MacroPanel final : public PagePanel {
 public:
  // Control IDs of the page.
  enum Id : int {
    kIdApply = 1012,
    kIdList = 1017,
    kIdRecord = 1108,
    kIdStepDelete = 1109,
    kIdStepUp = 1110,
    kIdStepDown = 1111,
    kIdSubtitle = 1112,
    kIdAdd = 1113,
    kIdDelete = 1114,
    kIdMore = 1115,
    kIdNameLabel = 1116,
    kIdName = 1117,
    kIdDelayNative = 1118,
    kIdDelayNone = 1119,
    kIdDelayFixed = 1120,
    kIdDelay = 1121,
    kIdStepClear = 1122,
    kIdSteps = 1123,
    kIdStepTop = 1124,
    kIdStepBottom = 1125,
    kIdCopy = 32870,
    kIdImport = 32872,
    kIdExport = 32873,
    kIdFirstMacro = 30000,
  };
  static constexpr int kMaxRows = 60;

  // Shows a file dialog for an exchange file: to save (with the suggested name) or to open.
  // The chosen path, or none when cancelled.
  using FileChooser =
      std::function<std::optional<std::string>(bool save, const QString& suggestedName)>;
  // Shows a menu at a screen position and answers the chosen command, 0 when dismissed.
  using MenuTracker = std::function<int(CMenuEx& menu, QPoint at)>;

  MacroPanel(QWidget& window, AppContext& app, SkinFile<DibImage>& skin, MacroKeyLinks links);
  ~MacroPanel() override;

  // The macros do not follow the profile: nothing to do.
  void Refresh() override {}
  void ShowPage(int page) override;

  // Enables the macro-dependent controls exactly when there is a current macro and fills the
  // list with its steps (at most 60 rows).
  void RefreshMacroPanel();
  // The list button's caption and the name edit show the current macro's name.
  void ShowMacroName();

  // What a control, a menu item or a macro of the list menu does.
  void OnCommand(int id);
  // A click on a cell of the step list; `at` is where, on the screen.
  void OnCellClick(int row, int column, QPoint at);

  // Seams for tests; by default the desktop's file dialog and the menu's own tracking.
  void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  void SetMenuTracker(MenuTracker tracker) { trackMenu_ = std::move(tracker); }

 private:
  void AddButton(int id, const std::string& key, const char* toolTip);
  void AddLabel(int id, const std::string& key);
  QLineEdit* AddEdit(int id, const std::string& key);
  void MakeList();
  void FillRow(int row, const MacroAction& step);
  void AddRow(const MacroAction& step);  // after the last row, while there are fewer than 60
  void EndEdit();
  void SaveCurrentIndex();
  void Notice(const char* textKey);
  int Track(CMenuEx& menu, QPoint at);

  void OpenMacroList();
  void OpenMoreMenu();
  void ChooseMacro(int n);
  void Add();
  void Delete();
  void Copy();
  void Import();
  void Export();
  void ApplyName();
  void SetDelayMode(int mode);
  void MoveStep(int id);
  void DeleteStep();
  void ClearSteps();
  void OpenStepMenu(StepMenu kind, int row, QPoint at);
  void OnStepCommand(int id);
  void OnEditEnd(int row, int column);
  // Stores the changed step of `row` and shows it; a failed write shows a message and the step
  // as it stays.
  void ChangeStep(int row, const MacroAction& step);

  QWidget& window_;
  AppContext& app_;
  SkinFile<DibImage>& skin_;
  MacroKeyLinks links_;
  std::map<int, QWidget*> controls_;  // by control ID; children of the window
  CImageBtn* listButton_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* delay_ = nullptr;
  CGridListCtrlEx* steps_ = nullptr;
  std::unique_ptr<MacroRecorder> recorder_;  // keeps the delay mode and the fixed delay
  bool nameChanged_ = false;
  int menuRow_ = -1;  // the step whose menu is open
  FileChooser chooseFile_;
  MenuTracker trackMenu_;
};

}  // namespace vexlo
