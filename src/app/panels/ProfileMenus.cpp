#include "app/panels/ProfileMenus.h"

#include "app/panels/PageControls.h"
#include "common/LanguageTable.h"
#include "skin/CImageBtn.h"
#include "skin/DrawText.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kBackground = 0x321E0A;
constexpr std::uint32_t kSelection = 0xBA6908;
constexpr int kListExtraWidth = 22;

std::unique_ptr<CMenuEx> Finish(std::unique_ptr<CMenuEx> menu, const MenuStyle& style) {
  menu->Convert();
  menu->SetStyle(style);
  SetMenuBorderColours(kSelection, kBackground);
  return menu;
}

}  // namespace

std::unique_ptr<CMenuEx> MakeProfileListMenu(CImageBtn& button,
                                             const std::vector<std::string>& names) {
  auto menu = std::make_unique<CMenuEx>(&button, &button);
  menu->setObjectName(QStringLiteral("ProfileListMenu"));
  int command = kFirstProfileCommand;
  for (const std::string& name : names) {
    if (command > kLastProfileCommand) break;
    menu->AppendItem(command++, QString::fromStdString(name));
  }
  menu->SetFixedItemWidth(button.width() + kListExtraWidth);
  // A name longer than the menu is wide ends in "..." rather than in half a letter.
  return Finish(std::move(menu), PageMenuStyle(kBackground, 0xFFFFFF,
                                               dt::kVCenter | dt::kExpandTabs | dt::kNoPrefix |
                                                   dt::kSingleLine | dt::kEndEllipsis,
                                               5));
}

std::unique_ptr<CMenuEx> MakeProfileMoreMenu(CImageBtn& button, CImageBtn& list,
                                             const LanguageTable& language) {
  auto menu = std::make_unique<CMenuEx>(&list, &button);
  menu->setObjectName(QStringLiteral("ProfileMoreMenu"));
  const auto text = [&language](const char* key) {
    return QString::fromStdString(language.LookupText(key));
  };
  menu->AppendItem(kCommandCopyProfile, text("INFO_PROFILE_MODE_CLONE"));
  menu->AppendItem(kCommandImportProfile, text("INFO_PROFILE_MODE_IMPORT"));
  menu->AppendItem(kCommandExportProfile, text("INFO_PROFILE_MODE_EXPORT"));
  return Finish(std::move(menu),
                PageMenuStyle(kBackground, 0xC8C8C8, dt::kVCenter | dt::kExpandTabs, 10));
}

QPoint ProfileListMenuPosition(const CImageBtn& button) {
  return button.mapToGlobal(QPoint(-2, button.height() + 2));
}

QPoint ProfileMoreMenuPosition(const CImageBtn& button) {
  return button.mapToGlobal(QPoint(0, button.height()));
}

}  // namespace vexlo
