#include "app/panels/KeysPanel.h"

#include <QWidget>

#include <string>

#include "app/AppContext.h"
#include "app/MainWindowLayout.h"
#include "app/panels/AssignmentMenu.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "device/DeviceCommands.h"
#include "device/DeviceSession.h"
#include "engine/AssignmentCodes.h"
#include "engine/DeviceEventService.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/CImageBtn.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

constexpr int kKeyCount = 7;
// Where the menu opens: this far right of the key button's left edge, below its bottom edge.
constexpr int kMenuOffsetX = 15;

std::string KeyButtonKey(int key) {
  return "BTN_MOUSE_KEY" + std::to_string(key + 1);
}

std::string KeyPictureKey(int key) {
  return "BTN_MOUSE_PIC" + std::to_string(key + 1);
}

// A key button lights its spot while it is pointed at, pressed, or checked (its menu is open).
bool LightsItsSpot(int state) {
  return state == CImageBtn::kHover || state == CImageBtn::kPressed || state == CImageBtn::kChecked;
}

}  // namespace

KeysPanel::KeysPanel(QWidget& window, AppContext& app, DeviceEventService& service,
                     SkinFile<DibImage>& mainSkin)
    : window_(window),
      app_(app),
      service_(service),
      dialogs_(app.settings, app.language, app.macros, window) {
  const QString face = QString::fromStdString(app_.settings.CommonFontName);
  for (int key = 0; key < kKeyCount; ++key) {
    const std::string name = KeyButtonKey(key);
    auto* button = new CImageBtn(ButtonStyleFor(name).kind, &window);
    button->SetImages(mainSkin.Path(), name, &mainSkin.Main(), &mainSkin.Highlight(),
                      &mainSkin.Highlight(), &mainSkin.Main(), &mainSkin.Highlight());
    keys_[static_cast<std::size_t>(key)] = button;
    const KeyCaption shown = CaptionOf(key);
    ApplyButtonStyle(*button, name, QString::fromStdString(shown.caption), face);
    button->SetToolTip(QString::fromStdString(shown.toolTip));
    button->SetAfterDraw([this, key](CImageBtn&, int state) {
      // An enabled key picture shows its lit cut-out, a disabled one the plain mouse.
      if (CImageBtn* picture = KeyPicture(key)) picture->setEnabled(LightsItsSpot(state));
    });
    QObject::connect(button, &QAbstractButton::clicked, &window,
                     [this, key] { OpenAssignmentMenu(key); });
  }
}

KeysPanel::~KeysPanel() = default;

CImageBtn* KeysPanel::KeyPicture(int key) {
  // The frame names its key pictures when it first places them, after the panels are made.
  QPointer<CImageBtn>& picture = keyPictures_[static_cast<std::size_t>(key)];
  if (!picture) picture = window_.findChild<CImageBtn*>(QString::fromStdString(KeyPictureKey(key)));
  return picture;
}

void KeysPanel::RefreshKeyCaptions() {
  for (int key = 0; key < kKeyCount; ++key) ShowCaption(key);
}

void KeysPanel::ShowPage(int page) {
  for (CImageBtn* button : keys_) button->setVisible(page == kPageKeys);
}

void KeysPanel::OpenAssignmentMenu(int key) {
  if (key < 0 || key >= kKeyCount || menuOpen_) return;
  CImageBtn& button = *keys_[static_cast<std::size_t>(key)];
  menuKey_ = key;
  button.SetCheck(1);
  std::unique_ptr<CMenuEx> menu = MakeAssignmentMenu(button, key, app_.language);
  SetAssignmentMenuBorder();
  menuOpen_ = true;
  // Only the popup's own closing releases the button; a sub-menu that closes leaves it checked.
  QObject::connect(menu.get(), &QMenu::aboutToHide, &window_, [this] { ReleaseMenuButton(); });
  const int command = menu->Track(button.mapToGlobal(QPoint(kMenuOffsetX, button.height())));
  menu.reset();
  ReleaseMenuButton();  // in case the menu never showed
  if (const std::optional<std::uint8_t> code =
          AssignmentCodeOfCommand(static_cast<std::uint16_t>(command))) {
    AssignKey(key, *code);
  }
}

void KeysPanel::ReleaseMenuButton() {
  if (!menuOpen_) return;
  menuOpen_ = false;
  keys_[static_cast<std::size_t>(menuKey_)]->SetCheck(0);
}

void KeysPanel::AssignKey(int key, std::uint8_t code) {
  if (key < 0 || key >= kKeyCount) return;
  // At least one button always keeps the left click.
  const auto& codes = app_.profiles.Data().device.pbyKeySet;
  bool otherLeftClick = false;
  for (int other = 0; other < kKeyCount; ++other) {
    otherLeftClick |= other != key && codes[static_cast<std::size_t>(other)] == kCodeLeftButton;
  }
  if (code != kCodeLeftButton && !otherLeftClick) {
    (void)app_.messages.ShowMessage("STA_MSG_INFO_MOUSE_LEFT", "STA_MSG_TITLE_INFO",
                                    UserMessages::kNotice, UserMessages::kNoticeColour);
    return;
  }
  const std::optional<KeyAssignment> chosen = Choose(key, code);
  if (!chosen) {
    // A program choice sends and saves the unchanged assignment all the same.
    if (code == kCodeLaunchProgram) Commit(key);
    return;
  }
  (void)StoreKeyAssignment(app_.profiles.Data().device, key, *chosen);  // key is in range
  Commit(key);
  ShowCaption(key);
}

std::optional<KeyAssignment> KeysPanel::Choose(int key, std::uint8_t code) {
  const KeyAssignment current = KeyAssignmentOf(app_.profiles.Data().device, key);
  switch (code) {
    case kCodeSingleKey: {
      const std::optional<std::uint8_t> chosen =
          dialogs_.ChooseKey(static_cast<std::uint8_t>(current.parameter & 0xFF));
      if (!chosen || *chosen == 0) return std::nullopt;
      return KeyAssignment::SingleKey(*chosen);
    }
    case kCodeLaunchProgram:
      return ChooseProgram();
    case kCodeFireKey:
    case kCodeMacro: {
      // Preset with the number the key holds now, whatever its function.
      const std::uint32_t preset = ParseExtensionNumber(current.extension);
      const std::optional<std::uint32_t> value =
          code == kCodeFireKey ? dialogs_.ChooseFireKey(preset) : dialogs_.ChooseMacro(preset);
      if (!value) return std::nullopt;
      return KeyAssignment{code, 0, FormatExtensionNumber(*value)};
    }
    default:
      return KeyAssignment::Plain(code);
  }
}

std::optional<KeyAssignment> KeysPanel::ChooseProgram() {
  const std::optional<std::string> path = dialogs_.ChooseProgram();
  if (!path || !ProgramFileExists(*path)) return std::nullopt;
  // Cut short, the path would name another file or none, while the caption says a program is set.
  if (Utf16Length(*path) > kMaxTextUnits) {
    (void)app_.messages.ShowMessage("STA_MSG_INFO_PATH_TOO_LONG", "STA_MSG_TITLE_INFO",
                                    UserMessages::kNotice, UserMessages::kNoticeColour);
    return std::nullopt;
  }
  return KeyAssignment::LaunchProgram(*path);
}

void KeysPanel::Commit(int key) {
  const auto i = static_cast<std::size_t>(key);
  DeviceSettings& device = app_.profiles.Data().device;
  service_.AssignmentsChanged();
  if (app_.device.IsConnected() == Result::Ok) {
    // A transfer that fails leaves the link open; the next arrival sends the whole profile.
    DeviceCommands commands(app_.device, device);
    (void)commands.ApplyButtons(key);
  }
  if (WriteKeyAssignment(app_.profiles.CurrentPath(), key, device.pbyKeySet[i],
                         device.pdwKeyParameter[i], device.ppszKeyExt[i]) != Result::Ok) {
    (void)app_.messages.ShowMessage("STA_MSG_INFO_FILE_WRITE", "STA_MSG_TITLE_WARN",
                                    UserMessages::kNotice, UserMessages::kWarningColour);
  }
}

KeyCaption KeysPanel::CaptionOf(int key) const {
  return KeyCaptionOf(KeyAssignmentOf(app_.profiles.Data().device, key), app_.language,
                      app_.macros);
}

void KeysPanel::ShowCaption(int key) {
  const KeyCaption shown = CaptionOf(key);
  CImageBtn& button = *keys_[static_cast<std::size_t>(key)];
  button.setText(QString::fromStdString(shown.caption));
  button.SetToolTip(QString::fromStdString(shown.toolTip));
}

bool KeysPanel::PlaysMacro(int key, int slot) const {
  const DeviceSettings& device = app_.profiles.Data().device;
  const auto i = static_cast<std::size_t>(key);
  return device.pbyKeySet[i] == kCodeMacro && DecodeMacro(device.ppszKeyExt[i]).slot == slot;
}

void KeysPanel::RenameMacroKeys(int slot) {
  if (slot < 0 || slot >= kMacroSlotCount) return;
  for (int key = 0; key < kKeyCount; ++key) {
    if (PlaysMacro(key, slot)) ShowCaption(key);
  }
}

void KeysPanel::ReleaseMacroKeys(int slot) {
  if (slot < 0 || slot >= kMacroSlotCount) return;
  for (int key = 0; key < kKeyCount; ++key) {
    if (!PlaysMacro(key, slot)) continue;
    (void)StoreKeyAssignment(app_.profiles.Data().device, key,
                             KeyAssignment::Plain(kCodeDisabled));  // key is in range
    Commit(key);
    ShowCaption(key);
  }
}

}  // namespace vexlo
