#include "app/panels/AssignmentMenu.h"

#include "app/panels/PageControls.h"
#include "common/LanguageTable.h"
#include "engine/AssignmentCodes.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kBackground = 0x4B2D0F;
constexpr std::uint32_t kText = 0xC8C8C8;
constexpr std::uint32_t kOuterBorder = 0xDC7C0A;
constexpr int kWidthLessThanButton = 23;
constexpr int kFirstKeyWithSensitivity = 3;

QString Text(const LanguageTable& language, std::string_view key) {
  return QString::fromStdString(language.LookupText(key));
}

// The caption of a sub-menu.
std::string_view SubMenuTextKey(AssignmentMenu menu) {
  switch (menu) {
    case AssignmentMenu::Media:
      return "INFO_KEY_SET_MEDIA";
    case AssignmentMenu::Windows:
      return "INFO_KEY_SET_WINDOWS";
    default:
      return "INFO_KEY_SET_COMBO";
  }
}

// The codes that open a dialog before they take effect.
bool OpensDialog(std::uint8_t code) {
  return code >= kCodeSingleKey && code <= kCodeMacro;
}

bool IsSensitivityCode(std::uint8_t code) {
  return code >= kCodeSensitivityUp && code <= kCodeSensitivityCycle;
}

}  // namespace

MenuStyle AssignmentMenuStyle() {
  return PageMenuStyle(kBackground, kText);
}

void SetAssignmentMenuBorder() {
  SetMenuBorderColours(kOuterBorder, kBackground);
}

std::unique_ptr<CMenuEx> MakeAssignmentMenu(QWidget& owner, int key,
                                            const LanguageTable& language) {
  auto menu = std::make_unique<CMenuEx>(&owner, &owner);
  // The codes of one sub-menu follow each other, so a sub-menu is made where its first code is.
  CMenuEx* subMenu = nullptr;
  AssignmentMenu subMenuKind = AssignmentMenu::Popup;
  for (const AssignmentCodeInfo& info : AssignmentCodes()) {
    if (key < kFirstKeyWithSensitivity && IsSensitivityCode(info.code)) continue;
    QString text = Text(language, info.textKey);
    if (OpensDialog(info.code)) text += QStringLiteral("...");
    if (info.menu == AssignmentMenu::Popup) {
      menu->AppendItem(info.commandId, text);
      continue;
    }
    if (!subMenu || subMenuKind != info.menu) {
      subMenu = menu->AppendSubMenu(Text(language, SubMenuTextKey(info.menu)));
      subMenuKind = info.menu;
    }
    subMenu->AppendItem(info.commandId, text);
  }
  menu->Convert();
  menu->SetStyle(AssignmentMenuStyle());
  const int width = owner.width() - kWidthLessThanButton;
  menu->SetFixedItemWidth(width);
  for (QAction* action : menu->actions()) {
    if (auto* sub = dynamic_cast<CMenuEx*>(action->menu())) sub->SetFixedItemWidth(width);
  }
  return menu;
}

}  // namespace vexlo
