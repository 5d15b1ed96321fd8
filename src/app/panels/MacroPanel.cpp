#include "app/panels/MacroPanel.h"

#include <QCursor>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "app/AppContext.h"
#include "app/MainWindowLayout.h"
#include "app/panels/MacroKeyboardCommands.h"
#include "app/panels/MacroMenus.h"
#include "app/panels/MacroRecorder.h"
#include "app/panels/MacroStepRow.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "grid/CGridColumnTraitEdit.h"
#include "grid/CGridEditorText.h"
#include "grid/CGridListCtrlEx.h"
#include "grid/CGridRowTraitXP.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/NameRules.h"
#include "skin/CImageBtn.h"
#include "skin/CMenuEx.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

// The controls that act on the current macro: disabled while there is none.
constexpr std::array kMacroGroup = {
    MacroPanel::kIdList,         MacroPanel::kIdDelete,       MacroPanel::kIdName,
    MacroPanel::kIdApply,        MacroPanel::kIdDelayNative,  MacroPanel::kIdDelayNone,
    MacroPanel::kIdDelayFixed,   MacroPanel::kIdDelay,        MacroPanel::kIdRecord,
    MacroPanel::kIdStepTop,      MacroPanel::kIdStepUp,       MacroPanel::kIdStepDown,
    MacroPanel::kIdStepBottom,   MacroPanel::kIdStepDelete,   MacroPanel::kIdStepClear};

struct ButtonControl {
  int id;
  const char* key;
  const char* toolTip;  // language key, or null
};

constexpr ButtonControl kButtons[] = {
    {MacroPanel::kIdList, "BTN_MACRO_LIST", nullptr},
    {MacroPanel::kIdAdd, "BTN_MACRO_ADD", "BTN_MACRO_ADD_TIP"},
    {MacroPanel::kIdDelete, "BTN_MACRO_DELETE", "BTN_MACRO_DELETE_TIP"},
    {MacroPanel::kIdMore, "BTN_MACRO_MORE", "BTN_MACRO_MORE_TIP"},
    {MacroPanel::kIdApply, "BTN_MACRO_APPLY", nullptr},
    {MacroPanel::kIdDelayNative, "RAD_MACRO_ACTION_DELAY_NATIVE", nullptr},
    {MacroPanel::kIdDelayNone, "RAD_MACRO_ACTION_DELAY_NONE", nullptr},
    {MacroPanel::kIdDelayFixed, "RAD_MACRO_ACTION_DELAY_FIXED", nullptr},
    {MacroPanel::kIdRecord, "CHK_MACRO_ACTION_RECORD", nullptr},
    {MacroPanel::kIdStepTop, "BTN_MACRO_ACTION_TOP", "BTN_MACRO_ACTION_MOVE_TOP_TIP"},
    {MacroPanel::kIdStepUp, "BTN_MACRO_ACTION_UP", "BTN_MACRO_ACTION_MOVE_UP_TIP"},
    {MacroPanel::kIdStepDown, "BTN_MACRO_ACTION_DOWN", "BTN_MACRO_ACTION_MOVE_DOWN_TIP"},
    {MacroPanel::kIdStepBottom, "BTN_MACRO_ACTION_BOTTOM", "BTN_MACRO_ACTION_MOVE_BOTTOM_TIP"},
    {MacroPanel::kIdStepDelete, "BTN_MACRO_ACTION_DELETE", "BTN_MACRO_ACTION_DELETE_TIP"},
    {MacroPanel::kIdStepClear, "BTN_MACRO_ACTION_CLEAR", "BTN_MACRO_ACTION_CLEAR_TIP"},
};

// Column widths: the base widths scaled as at 1248 pixels across, 12 columns of 96.
constexpr int ScaledWidth(int base) { return base * 1248 / 12 / 96; }

constexpr std::string_view kExchangeExtension = ".macro";
constexpr std::string_view kStepPictures = "MacroSteps.png";  // six 16 x 16 pictures in a row

std::vector<QPixmap> StepPictures(const std::string& skinFolder) {
  const QPixmap strip(QString::fromStdString(skinFolder + std::string(kStepPictures)));
  std::vector<QPixmap> pictures;
  if (strip.isNull()) return pictures;
  const int size = strip.height();
  for (int i = 0; i < 6; ++i) pictures.push_back(strip.copy(i * size, 0, size, size));
  return pictures;
}

std::optional<std::string> AskFile(QWidget& parent, bool save, const QString& suggested) {
  const QString extension = QString::fromUtf8(kExchangeExtension.data(),
                                              static_cast<qsizetype>(kExchangeExtension.size()));
  const QString filter = QStringLiteral("(*%1);;(*)").arg(extension);
  QFileDialog dialog(&parent);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(extension.mid(1));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (save) dialog.selectFile(suggested + extension);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

MacroPanel::MacroPanel(QWidget& window, AppContext& app, SkinFile<DibImage>& skin,
                       MacroKeyLinks links)
    : window_(window), app_(app), skin_(skin), links_(std::move(links)) {
  chooseFile_ = [this](bool save, const QString& suggested) {
    return AskFile(window_, save, suggested);
  };
  trackMenu_ = [](CMenuEx& menu, QPoint at) { return menu.Track(at); };
  AddLabel(kIdSubtitle, "STA_MACRO_SUBTITLE");
  AddLabel(kIdNameLabel, "STA_MACRO_NAME");
  for (const ButtonControl& button : kButtons) AddButton(button.id, button.key, button.toolTip);
  listButton_ = static_cast<CImageBtn*>(controls_.at(kIdList));
  name_ = AddEdit(kIdName, "EDIT_MACRO_NAME");
  name_->setMaxLength(static_cast<int>(kMaxMacroNameUnits));
  delay_ = AddEdit(kIdDelay, "EDIT_MACRO_ACTION_DELAY");
  QObject::connect(name_, &QLineEdit::textChanged, &window_, [this] {
    nameChanged_ = true;
    controls_.at(kIdApply)->setEnabled(app_.macros.CurrentIndex() >= 0);
  });
  MakeList();
  recorder_ = std::make_unique<MacroRecorder>(
      MacroRecorder::Page{window_, *static_cast<CImageBtn*>(controls_.at(kIdRecord)), *delay_,
                          [this](const MacroAction& step) { AddRow(step); },
                          [this] { return nameChanged_; }},
      app_);

  delay_->setText(QString::number(recorder_->FixedDelay()));
  static_cast<CImageBtn*>(controls_.at(kIdDelayFixed))->SetCheck(1);
  ShowMacroName();
  nameChanged_ = false;
  RefreshMacroPanel();
  controls_.at(kIdApply)->setEnabled(false);
  delay_->setEnabled(recorder_->DelayMode() == MacroRecorder::kDelayFixed &&
                     app_.macros.CurrentIndex() >= 0);
  ShowPage(kNoPage);
}

MacroPanel::~MacroPanel() = default;

void MacroPanel::AddButton(int id, const std::string& key, const char* toolTip) {
  auto* button = new CImageBtn(ButtonStyleFor(key).kind, &window_);
  button->SetImages(skin_.Path(), key, &skin_.Main(), &skin_.Highlight(), &skin_.Highlight(),
                    &skin_.Main(), &skin_.Highlight());
  QString caption;
  if (id == MacroPanel::kIdList) {
    caption = QStringLiteral(" ");  // turns the caption on; the macro's name comes later
  } else if (key == "CHK_MACRO_ACTION_RECORD") {
    caption = QString::fromStdString(app_.language.LookupText("CHK_MACRO_ACTION_RECORD0"));
  } else if (key != "BTN_MACRO_LIST" && key.rfind("BTN_MACRO_ACTION_", 0) != 0 &&
             key != "BTN_MACRO_ADD" && key != "BTN_MACRO_DELETE" && key != "BTN_MACRO_MORE") {
    caption = QString::fromStdString(app_.language.LookupText(key));
  }
  ApplyButtonStyle(*button, key, caption, QString::fromStdString(app_.settings.CommonFontName));
  if (toolTip) button->SetToolTip(QString::fromStdString(app_.language.LookupText(toolTip)));
  QObject::connect(button, &QAbstractButton::clicked, &window_, [this, id] { OnCommand(id); });
  controls_[id] = button;
}

void MacroPanel::AddLabel(int id, const std::string& key) {
  const LabelStyle style = LabelStyleFor(key);
  auto* label = new QLabel(QString::fromStdString(app_.language.LookupText(key)), &window_);
  (void)skin_.Place(key, *label);
  label->setFont(CreateSkinFont(style.height, style.weight,
                                QString::fromStdString(app_.settings.CommonFontName)));
  label->setAlignment(style.align);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, style.colour);
  label->setPalette(palette);
  controls_[id] = label;
}

QLineEdit* MacroPanel::AddEdit(int id, const std::string& key) {
  auto* edit = new QLineEdit(&window_);
  (void)skin_.Place(key, *edit);
  edit->setFrame(false);
  edit->setFont(CreateSkinFont(-14, 400, QString::fromStdString(app_.settings.CommonFontName)));
  edit->setStyleSheet(QStringLiteral(
      "QLineEdit { background: #06111E; color: #C8C8C8; padding-left: 6px; }"
      "QLineEdit:disabled { color: #56657A; }"));
  controls_[id] = edit;
  return edit;
}

void MacroPanel::MakeList() {
  steps_ = new CGridListCtrlEx(&window_);
  (void)skin_.Place("LIST_MACRO_ACTION", *steps_);
  steps_->setSelectionMode(QAbstractItemView::SingleSelection);
  steps_->setFont(CreateSkinFont(-13, 400, QString::fromStdString(app_.settings.CommonFontName)));
  QPalette colours = steps_->palette();
  colours.setColor(QPalette::Button, QColor(0x0F, 0x1C, 0x2B));
  colours.setColor(QPalette::ButtonText, QColor(0x8D, 0xA2, 0xB8));
  colours.setColor(QPalette::Mid, QColor(0x1C, 0x2E, 0x43));
  colours.setColor(QPalette::Highlight, QColor(0x08, 0x69, 0xBA));
  steps_->setPalette(colours);
  steps_->SetCellMargin(1.2);
  auto rows = std::make_unique<CGridRowTraitXP>();
  rows->textColour = ColorFromRef(0xC8C8C8);
  rows->backColour = Qt::black;
  steps_->SetDefaultRowTrait(std::move(rows));
  steps_->SetImageList(StepPictures(app_.settings.SkinFolder));
  steps_->InsertHiddenLabelColumn();
  const auto title = [this](const char* key) {
    return QString::fromStdString(app_.language.LookupText(key));
  };
  steps_->InsertColumnTrait(1, title("INFO_MACRO_ACTION_COLUMN_DATE"), Qt::AlignLeft,
                            ScaledWidth(160), std::make_unique<CGridColumnTraitEdit>());
  steps_->InsertColumnTrait(2, title("INFO_MACRO_ACTION_COLUMN_TYPE"), Qt::AlignLeft,
                            ScaledWidth(70));
  steps_->SetCellClickHook(
      [this](int row, int column) { OnCellClick(row, column, QCursor::pos()); });
  steps_->SetEditEndHook([this](int row, int column) { OnEditEnd(row, column); });
  controls_[kIdSteps] = steps_;
}

void MacroPanel::ShowPage(int page) {
  recorder_->ShowPage(page);
  for (const auto& [id, control] : controls_) control->setVisible(page == kPageMacro);
  if (page != kPageMacro) EndEdit();
}

void MacroPanel::RefreshMacroPanel() {
  EndEdit();
  const bool current = app_.macros.CurrentIndex() >= 0;
  for (int id : kMacroGroup) controls_.at(id)->setEnabled(current);
  controls_.at(kIdApply)->setEnabled(current && nameChanged_);
  delay_->setEnabled(current && recorder_->DelayMode() == MacroRecorder::kDelayFixed);
  steps_->DeleteAllItems();
  if (!current) return;
  const MacroData& macro = app_.macros.Slot(app_.macros.CurrentIndex());
  for (int row = 0; row < macro.byCount; ++row) AddRow(macro.steps[static_cast<std::size_t>(row)]);
}

void MacroPanel::AddRow(const MacroAction& step) {
  const int row = steps_->GetItemCount();
  if (row >= kMaxRows) return;
  steps_->InsertItem(row);
  FillRow(row, step);
}

void MacroPanel::FillRow(int row, const MacroAction& step) {
  const StepRow shown = StepRowOf(step, app_.language);
  steps_->SetItemText(row, 1, QString::fromStdString(shown.action));
  steps_->SetCellImage(row, 1, shown.actionImage);
  steps_->SetItemText(row, 2, QString::fromStdString(shown.type));
  steps_->SetCellImage(row, 2, shown.typeImage);
}

void MacroPanel::ShowMacroName() {
  const QString name = app_.macros.CurrentIndex() >= 0
                           ? QString::fromStdString(app_.macros.CurrentName())
                           : QString();
  listButton_->setText(name);
  // As the edit's change notice would: a name shown anew may be applied.
  name_->setText(name);
  nameChanged_ = true;
  controls_.at(kIdApply)->setEnabled(app_.macros.CurrentIndex() >= 0);
}

void MacroPanel::EndEdit() {
  // The edit's end hook does not tell an accepted edit from a cancelled one and reads the row
  // it saw; it must run while the rows still show the current macro.
  if (CGridEditorText* editor = steps_->ActiveEditor()) editor->End(true);
}

void MacroPanel::SaveCurrentIndex() {
  (void)SaveMacroIndex(app_.settings, app_.macros.CurrentIndex());
}

void MacroPanel::Notice(const char* textKey) {
  (void)app_.messages.ShowMessage(textKey, "STA_MSG_TITLE_INFO", UserMessages::kNotice,
                                  UserMessages::kNoticeColour);
}

int MacroPanel::Track(CMenuEx& menu, QPoint at) {
  SetMacroMenuBorder();
  return trackMenu_(menu, at);
}

void MacroPanel::OnCommand(int id) {
  EndEdit();
  if (id >= kIdFirstMacro && id < kIdFirstMacro + 1000) return ChooseMacro(id - kIdFirstMacro);
  switch (id) {
    case kIdList: return OpenMacroList();
    case kIdAdd: return Add();
    case kIdDelete: return Delete();
    case kIdMore: return OpenMoreMenu();
    case kIdCopy: return Copy();
    case kIdImport: return Import();
    case kIdExport: return Export();
    case kIdApply: return ApplyName();
    case kIdRecord: return recorder_->ToggleRecording();
    case kIdDelayNative: return SetDelayMode(0);
    case kIdDelayNone: return SetDelayMode(1);
    case kIdDelayFixed: return SetDelayMode(2);
    case kIdStepTop:
    case kIdStepUp:
    case kIdStepDown:
    case kIdStepBottom: return MoveStep(id);
    case kIdStepDelete: return DeleteStep();
    case kIdStepClear: return ClearSteps();
    default: return OnStepCommand(id);
  }
}

void MacroPanel::OpenMacroList() {
  const std::unique_ptr<CMenuEx> menu = MakeMacroListMenu(*listButton_, app_.macros.Names());
  const int command =
      Track(*menu, listButton_->mapToGlobal(QPoint(-2, listButton_->height() + 2)));
  if (command >= kIdFirstMacro) OnCommand(command);
}

void MacroPanel::ChooseMacro(int n) {
  const std::vector<std::string> names = app_.macros.Names();
  if (n < 0 || n >= static_cast<int>(names.size())) return;
  const std::string& name = names[static_cast<std::size_t>(n)];
  if (app_.macros.CurrentIndex() >= 0 && EqualsNoCase(name, app_.macros.CurrentName())) return;
  if (app_.macros.Select(app_.macros.FindByName(name)) != Result::Ok) return;
  ShowMacroName();
  RefreshMacroPanel();
  SaveCurrentIndex();
}

void MacroPanel::Add() {
  const Result added = app_.macros.AddMacro();
  if (added == Result::Full) return Notice("STA_MSG_INFO_MACRO_FULL");
  if (added != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  ShowMacroName();
  RefreshMacroPanel();
  SaveCurrentIndex();
}

void MacroPanel::Delete() {
  if (app_.messages.ShowMessage("STA_MSG_INFO_MACRO_DELETE", "STA_MSG_TITLE_MACRO_DELETE",
                                UserMessages::kQuestion,
                                UserMessages::kNoticeColour) != UserMessages::kOk) {
    return;
  }
  const int slot = app_.macros.CurrentIndex();
  const Result deleted = app_.macros.DeleteMacro(true);
  if (deleted == Result::NothingToActOn) return Notice("STA_MSG_INFO_MACRO_EMPTY");
  if (deleted != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  ShowMacroName();
  RefreshMacroPanel();
  SaveCurrentIndex();
  if (links_.released) links_.released(slot);
}

void MacroPanel::OpenMoreMenu() {
  QWidget& button = *controls_.at(kIdMore);
  const std::unique_ptr<CMenuEx> menu =
      MakeMoreMenu(button, app_.language, app_.macros.CurrentIndex() >= 0);
  const int command = Track(*menu, button.mapToGlobal(QPoint(0, button.height())));
  if (command != 0) OnCommand(command);
}

void MacroPanel::Copy() {
  const Result copied = app_.macros.CopyMacro();
  if (copied == Result::Full) return Notice("STA_MSG_INFO_MACRO_FULL");
  if (copied == Result::NothingToActOn) return Notice("STA_MSG_INFO_MACRO_EMPTY");
  if (copied != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  SaveCurrentIndex();
  ShowMacroName();
  RefreshMacroPanel();  // the copy's steps are the same, but its rows are rebuilt as for any switch
}

void MacroPanel::Import() {
  const std::optional<std::string> path = chooseFile_(false, QString());
  if (!path) return;
  // A macro of that name is replaced only when the user agrees.
  std::string name;
  if (CleanUserName(NameFromPath(*path), name) == Result::Ok &&
      app_.macros.NameExists(CutName(name, kMaxMacroNameUnits)) &&
      ConfirmNameConflict(app_.messages) != Result::Ok) {
    return;
  }
  switch (app_.macros.ImportMacro(*path)) {
    case Result::Ok:
      ShowMacroName();
      RefreshMacroPanel();
      SaveCurrentIndex();
      return;
    case Result::Full:
      return Notice("STA_MSG_INFO_MACRO_FULL");
    case Result::InvalidName:
      return Notice("STA_MSG_INFO_FILE_NAME_INVALID");
    case Result::ChecksumFailed:
    case Result::TooShort:
    case Result::BadData:
      return Notice("STA_MSG_INFO_FILE_FORMAT");
    default:
      return Notice("STA_MSG_INFO_FILE_WRITE");
  }
}

void MacroPanel::Export() {
  if (app_.macros.CurrentIndex() < 0) return;
  const std::optional<std::string> path =
      chooseFile_(true, QString::fromStdString(app_.macros.CurrentName()));
  if (!path) return;
  // The user agreed to overwrite: the file becomes the macro alone, not its keys among old ones.
  std::error_code ignored;
  std::filesystem::remove(*path, ignored);
  if (app_.macros.ExportCurrent(*path) != Result::Ok) Notice("STA_MSG_INFO_FILE_WRITE");
}

void MacroPanel::ApplyName() {
  const int slot = app_.macros.CurrentIndex();
  if (slot < 0) return;
  const std::string typed(TrimWhitespace(name_->text().toStdString()));
  if (typed.empty() || EqualsNoCase(typed, app_.macros.CurrentName())) return;
  std::string name;
  if (CleanUserName(typed, name) != Result::Ok) return Notice("STA_MSG_INFO_FILE_NAME_INVALID");
  const Result renamed = app_.macros.RenameMacro(name);
  if (renamed == Result::NameConflict) return;
  if (renamed != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  const int current = app_.macros.CurrentIndex();
  listButton_->setText(QString::fromStdString(app_.macros.CurrentName()));
  SaveCurrentIndex();
  if (current != slot) {
    // The renamed macro gave way to the one that had the name: its slot is gone, and the list
    // shows the survivor's steps.
    if (links_.released) links_.released(slot);
    RefreshMacroPanel();
  }
  if (links_.renamed) links_.renamed(current);
  nameChanged_ = false;
  controls_.at(kIdApply)->setEnabled(false);
  Notice("STA_MSG_INFO_MACRO_APPLY");
}

void MacroPanel::SetDelayMode(int mode) {
  delay_->setEnabled(mode == MacroRecorder::kDelayFixed);
  recorder_->SetDelayMode(mode);
}

void MacroPanel::MoveStep(int id) {
  const int selected = steps_->GetSelectedRow();
  const int last = steps_->GetItemCount() - 1;
  Result moved = Result::Ok;
  int target = 0;
  if (id == kIdStepTop && selected >= 1) {
    moved = app_.macros.MoveStepToTop(selected);
  } else if (id == kIdStepUp && selected >= 1) {
    moved = app_.macros.MoveStepUp(selected);
    target = selected - 1;
  } else if (id == kIdStepDown && selected >= 0 && selected < last) {
    moved = app_.macros.MoveStepDown(selected);
    target = selected + 1;
  } else if (id == kIdStepBottom && selected >= 0 && selected < last) {
    moved = app_.macros.MoveStepToBottom(selected);
    target = last;
  } else {
    return;
  }
  if (moved != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  (void)steps_->MoveSelectedRows(target == last && id == kIdStepBottom ? -1 : target);
  steps_->EnsureVisible(target);
}

void MacroPanel::DeleteStep() {
  const int selected = steps_->GetSelectedRow();
  if (selected < 0) return;
  if (app_.macros.DeleteStep(selected) != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  (void)steps_->DeleteItem(selected);
  steps_->SelectRow(steps_->GetFocusRow());
}

void MacroPanel::ClearSteps() {
  if (app_.macros.CurrentIndex() < 0) return;
  if (app_.macros.ClearSteps() != Result::Ok) return Notice("STA_MSG_INFO_FILE_WRITE");
  steps_->DeleteAllItems();
}

void MacroPanel::OnCellClick(int row, int column, QPoint at) {
  const int slot = app_.macros.CurrentIndex();
  if (slot < 0 || row < 0 || column < 1 || row >= steps_->GetItemCount()) return;
  if (static_cast<CImageBtn*>(controls_.at(kIdRecord))->GetCheck() != 0) return;
  const MacroAction& step = app_.macros.Slot(slot).steps[static_cast<std::size_t>(row)];
  switch (step.Kind()) {
    case kMacroPause:
      if (column == 1) (void)steps_->EditCell(row, column);
      return;
    case kMacroKey:
      return OpenStepMenu(column == 1 ? StepMenu::Keyboard : StepMenu::PressRelease, row, at);
    case kMacroMouseButton:
      return OpenStepMenu(column == 1 ? StepMenu::Mouse : StepMenu::PressRelease, row, at);
    default:
      return;
  }
}

void MacroPanel::OpenStepMenu(StepMenu kind, int row, QPoint at) {
  // The name label's font draws the items.
  const std::unique_ptr<CMenuEx> menu =
      MakeStepMenu(*controls_.at(kIdNameLabel), kind, app_.language);
  menuRow_ = row;
  const int command = Track(*menu, at);
  if (command != 0) OnStepCommand(command);
  menuRow_ = -1;
}

void MacroPanel::OnStepCommand(int id) {
  const int slot = app_.macros.CurrentIndex();
  const int row = menuRow_;
  if (slot < 0 || row < 0 || row >= app_.macros.Slot(slot).byCount) return;
  MacroAction step = app_.macros.Slot(slot).steps[static_cast<std::size_t>(row)];
  if (const std::optional<std::uint8_t> usage = UsageOfKeyboardCommand(id)) {
    if (step.Kind() != kMacroKey) return;
    step.data1 = *usage;
  } else if (id == kCommandPress || id == kCommandRelease) {
    if (step.Kind() != kMacroKey && step.Kind() != kMacroMouseButton) return;
    step.type = static_cast<std::uint8_t>(id == kCommandPress ? step.type | kMacroPress
                                                              : step.type & ~kMacroPress);
  } else {
    const auto* found = std::find(std::begin(kMouseButtonCommands),
                                  std::end(kMouseButtonCommands), id);
    if (found == std::end(kMouseButtonCommands) || step.Kind() != kMacroMouseButton) return;
    step.data1 = static_cast<std::uint8_t>(1u << (found - std::begin(kMouseButtonCommands)));
  }
  ChangeStep(row, step);
}

void MacroPanel::OnEditEnd(int row, int column) {
  const int slot = app_.macros.CurrentIndex();
  if (slot < 0 || column != 1 || row < 0 || row >= app_.macros.Slot(slot).byCount) return;
  const MacroAction& step = app_.macros.Slot(slot).steps[static_cast<std::size_t>(row)];
  if (step.Kind() != kMacroPause) return;
  const std::uint16_t typed =
      ParsePause(steps_->GetItemText(row, column).toStdString(), step.Value16());
  if (typed == step.Value16()) {
    FillRow(row, step);  // the cell shows the stored value, whatever was typed
    return;
  }
  ChangeStep(row, MacroAction::Pause(typed));
}

void MacroPanel::ChangeStep(int row, const MacroAction& step) {
  if (app_.macros.ReplaceStep(row, step) != Result::Ok) Notice("STA_MSG_INFO_FILE_WRITE");
  const int slot = app_.macros.CurrentIndex();
  FillRow(row, app_.macros.Slot(slot).steps[static_cast<std::size_t>(row)]);
}

}  // namespace vexlo
