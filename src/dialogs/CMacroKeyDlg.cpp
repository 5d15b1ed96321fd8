#include "dialogs/CMacroKeyDlg.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/NumberEdit.h"
#include "engine/ExtensionNumber.h"
#include "profiles/MacroStore.h"
#include "skin/CColorEdit.h"
#include "skin/CMenuEx.h"
#include "skin/DrawText.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kCountLimit = 255;
constexpr int kTextHeight = -14;
constexpr int kEditHeight = -13;

struct ModeRadio {
  std::string_view key;
  std::string_view captionKey;
  MacroLoopMode mode;
};
constexpr std::array<ModeRadio, 3> kModeRadios = {{
    {"RAD_FLAG_CYCLES", "RAD_MACRO_KEY_FLAG_CYCLES", MacroLoopMode::RepeatCount},
    {"RAD_FLAG_RELEASE_STOP", "RAD_MACRO_KEY_FLAG_RELEASE_STOP", MacroLoopMode::StopOnRelease},
    {"RAD_FLAG_PRESS_STOP", "RAD_MACRO_KEY_FLAG_PRESS_STOP", MacroLoopMode::StopOnSecondPress},
}};
constexpr std::size_t kRepeatRadio = 0;

// The macro menu: navy items, a blue selection and border, names 5 pixels in.
constexpr std::uint32_t kMenuNavy = 0x321E0A;
constexpr std::uint32_t kMenuBlue = 0xBA6908;
constexpr int kMenuTextGap = 5;

// The list button: grey, blue under the pointer, a name at the left (in line with the names of
// the menu that opens below it) and room for the skin's drop-down arrow at the right.
constexpr CImageBtn::StateColours kListText = {0xC8C8C8, 0xC86E3C, 0xC86E3C, 0xFFFFFF, 0xC86E3C};
constexpr std::uint32_t kListFormat = dt::kSingleLine | dt::kVCenter | dt::kNoPrefix;
constexpr int kListMarginLeft = kMenuBorderWidth + kMenuTextGap;
constexpr int kListMarginRight = -38;

// The radio captions turn slightly cyan under the pointer.
constexpr CImageBtn::StateColours kRadioText = {0xC8C8C8, 0xC8C8C8, 0xC8C8C8, 0x606060, 0xC8C8C8};
constexpr std::uint32_t kRadioFormat = dt::kSingleLine | dt::kVCenter;
constexpr int kRadioMarginLeft = 18;
constexpr std::uint32_t kHoverTint = 0x3000FFFF;
constexpr CImageBtn::StateColours kRadioTint = {0, kHoverTint, kHoverTint, 0, 0};

MenuStyle MacroMenuStyle(MenuStyle style) {
  style.itemBackground = kMenuNavy;
  style.iconColumnBackground = kMenuNavy;
  style.textColour = 0xC8C8C8;
  style.greyTextColour = 0x606060;
  style.separatorColour = 0xC8C8C8;
  style.selectionBorder = kMenuBlue;
  style.selectionFill = kMenuBlue;
  style.textFormat = dt::kNoPrefix | dt::kExpandTabs | dt::kVCenter;
  style.iconWidth = 0;
  style.iconHeight = 0;
  style.iconMarginX = 0;
  style.iconMarginY = 0;
  style.textGap = kMenuTextGap;
  style.textMarginY = 3;
  return style;
}

}  // namespace

CMacroKeyDlg::CMacroKeyDlg(const AppSettings& settings, const LanguageTable& language,
                           const MacroStore& macros, QWidget* parent)
    : CPackedNumberDlg(settings, language, {"MacroKey.ini", "MacroKey.png", "MacroKey2.png"},
                       parent),
      macros_(macros),
      subtitleArea_(new CImageBtn(CImageBtn::Kind::Push, this)),
      macroList_(new CImageBtn(CImageBtn::Kind::Push, this)),
      modeRadios_{new CImageBtn(CImageBtn::Kind::AutoRadio, this),
                  new CImageBtn(CImageBtn::Kind::AutoRadio, this),
                  new CImageBtn(CImageBtn::Kind::AutoRadio, this)},
      countEdit_(new CColorEdit(this)) {
  setObjectName(QStringLiteral("MacroKeyDlg"));
  subtitleArea_->setEnabled(false);  // a text area, never a button
  for (CImageBtn* radio : modeRadios_) {
    connect(radio, &QAbstractButton::clicked, this, [this] { UpdateCountEdit(); });
  }
  CapNumberOnChange(*countEdit_, kCountLimit);
  connect(macroList_, &QAbstractButton::clicked, this, [this] { OpenMacroMenu(); });
  SetTabOrder({macroList_, modeRadios_[0], countEdit_, modeRadios_[1], modeRadios_[2]});
}

CMacroKeyDlg::~CMacroKeyDlg() = default;

void CMacroKeyDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  const QString face = Face();
  const QFont editFont = CreateSkinFont(kEditHeight, 400, face);
  SetupTitle("STA_MACRO_KEY_TITLE");
  Skin().SetupTextArea(*subtitleArea_, "BTN_SUBTITLE", face, Text("STA_MACRO_KEY_SUBTITLE"));

  Skin().SetButtonImages(*macroList_, "BTN_MACRO_LIST");
  macroList_->SetTextStyle(kTextHeight, 400, face, kListText, kListFormat);
  macroList_->SetTextMargins(kListMarginLeft, 0, kListMarginRight, 0);

  for (std::size_t i = 0; i < kModeRadios.size(); ++i) {
    CImageBtn& radio = *modeRadios_[i];
    const DibImage* normal = &Skin().Main();
    radio.SetImages(Skin().Path(), kModeRadios[i].key, normal, normal, normal, normal,
                    &Skin().Highlight());
    radio.SetTextStyle(kTextHeight, 400, face, kRadioText, kRadioFormat);
    radio.SetTextMargins(kRadioMarginLeft, 0, 0, 0);
    radio.SetTint(CImageBtn::kTintText, kRadioTint);
    radio.setText(Text(kModeRadios[i].captionKey));
  }
  SetupNumberEdit(*countEdit_, "EDIT_REPEAT_COUNT", editFont);
  SetupOkCancel();
  ShowPreset();
  macroList_->setFocus();
}

void CMacroKeyDlg::ShowPreset() {
  // A button without a macro yet plays the first stored macro once.
  const bool unassigned = Value() == 0;
  const MacroNumber preset =
      unassigned ? MacroNumber{0, MacroLoopMode::RepeatCount, 1} : UnpackMacro(Value());
  int slot = preset.slot;
  // A slot that holds no macro (or is none of the 16) shows the first stored macro too.
  if (unassigned || slot >= kMacroSlotCount || !macros_.Slot(slot).IsUsed()) {
    slot = FirstStoredSlot();
  }
  macroList_->setText(slot >= 0 ? QString::fromStdString(macros_.Slot(slot).szName) : QString());

  const auto radio = std::find_if(kModeRadios.begin(), kModeRadios.end(),
                                  [&](const ModeRadio& r) { return r.mode == preset.loopMode; });
  const std::size_t checked = radio == kModeRadios.end()
                                  ? kRepeatRadio
                                  : static_cast<std::size_t>(radio - kModeRadios.begin());
  modeRadios_[checked]->SetCheck(1);
  const std::uint32_t count =
      checked == kRepeatRadio ? std::clamp<std::uint32_t>(preset.repeatCount, 1, kCountLimit) : 1;
  countEdit_->setText(QString::number(count));
  UpdateCountEdit();
}

void CMacroKeyDlg::UpdateCountEdit() {
  countEdit_->setEnabled(modeRadios_[kRepeatRadio]->GetCheck() == 1);
}

int CMacroKeyDlg::FirstStoredSlot() const {
  for (int slot = 0; slot < kMacroSlotCount; ++slot) {
    if (macros_.Slot(slot).IsUsed()) return slot;
  }
  return -1;
}

void CMacroKeyDlg::OpenMacroMenu() {
  const std::vector<std::string> names = macros_.Names();
  if (names.empty()) return;  // nothing to choose from
  CMenuEx menu(macroList_);
  for (std::size_t n = 0; n < names.size(); ++n) {
    menu.AppendItem(kFirstMacroCommand + static_cast<int>(n), QString::fromStdString(names[n]));
  }
  menu.Convert();
  menu.SetStyle(MacroMenuStyle(menu.Style()));
  // The menu, border included, is exactly as wide as the button above it.
  menu.SetFixedItemWidth(macroList_->width() - 2 * kMenuBorderWidth);
  SetMenuBorderColours(kMenuBlue, kMenuNavy);
  openMenu_ = &menu;
  const int command = menu.Track(macroList_->mapToGlobal(QPoint(0, macroList_->height())));
  openMenu_ = nullptr;
  const auto n = static_cast<std::size_t>(command - kFirstMacroCommand);
  if (command >= kFirstMacroCommand && n < names.size()) {
    macroList_->setText(QString::fromStdString(names[n]));
  }
}

std::uint32_t CMacroKeyDlg::ValueShown() const {
  MacroNumber chosen;
  const int slot = macros_.FindByName(macroList_->text().toStdString());
  chosen.slot = static_cast<std::uint8_t>(std::max(slot, 0));
  for (std::size_t i = 0; i < kModeRadios.size(); ++i) {
    if (modeRadios_[i]->GetCheck() == 1) chosen.loopMode = kModeRadios[i].mode;
  }
  chosen.repeatCount = static_cast<std::uint16_t>(LeadingNumber(countEdit_->text(), kCountLimit));
  return PackMacro(chosen);
}

void CMacroKeyDlg::done(int result) {
  if (openMenu_) openMenu_->close();
  CPackedNumberDlg::done(result);
}

}  // namespace vexlo
