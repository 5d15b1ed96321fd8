#include "app/panels/MacroMenus.h"

#include "app/panels/MacroKeyboardCommands.h"
#include "app/panels/MacroPanel.h"
#include "app/panels/PageControls.h"
#include "common/LanguageTable.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kBackground = 0x321E0A;
constexpr std::uint32_t kSelection = 0xBA6908;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kLightGrey = 0xC8C8C8;
constexpr std::uint32_t kListTextFormat = 2116;  // centred vertically, tabs, no prefix
constexpr std::uint32_t kTextFormat = 68;        // centred vertically, tabs
constexpr int kListWiderThanOwner = 22;
constexpr int kKeyGroupWidth = 120;  // the key groups open side by side at one width

QString Text(const LanguageTable& language, std::string_view key) {
  return QString::fromStdString(language.LookupText(key));
}

// A step menu's item text: the language text with four blanks after it.
QString StepItemText(const LanguageTable& language, std::string_view key) {
  return Text(language, key) + QString(4, QLatin1Char(' '));
}

}  // namespace

void SetMacroMenuBorder() {
  SetMenuBorderColours(kSelection, kBackground);
}

std::unique_ptr<CMenuEx> MakeMacroListMenu(QWidget& owner, const std::vector<std::string>& names) {
  auto menu = std::make_unique<CMenuEx>(&owner, &owner);
  for (std::size_t n = 0; n < names.size(); ++n) {
    menu->AppendItem(MacroPanel::kIdFirstMacro + static_cast<int>(n),
                     QString::fromStdString(names[n]));
  }
  menu->Convert();
  menu->SetStyle(PageMenuStyle(kBackground, kWhite, kListTextFormat, 5));
  menu->SetFixedItemWidth(owner.width() + kListWiderThanOwner);
  return menu;
}

std::unique_ptr<CMenuEx> MakeMoreMenu(QWidget& owner, const LanguageTable& language, bool current) {
  auto menu = std::make_unique<CMenuEx>(&owner, &owner);
  menu->AppendItem(MacroPanel::kIdCopy, Text(language, "INFO_MACRO_MODE_CLONE"), current);
  menu->AppendItem(MacroPanel::kIdImport, Text(language, "INFO_MACRO_MODE_IMPORT"));
  menu->AppendItem(MacroPanel::kIdExport, Text(language, "INFO_MACRO_MODE_EXPORT"), current);
  menu->Convert();
  menu->SetStyle(PageMenuStyle(kBackground, kLightGrey, kTextFormat, 10));
  return menu;
}

std::unique_ptr<CMenuEx> MakeStepMenu(QWidget& owner, StepMenu kind,
                                      const LanguageTable& language) {
  auto menu = std::make_unique<CMenuEx>(&owner, owner.window());
  switch (kind) {
    case StepMenu::Keyboard:
      for (const KeyboardGroup& group : KeyboardGroups()) {
        CMenuEx* sub = menu->AppendSubMenu(StepItemText(language, group.textKey));
        for (const KeyboardCommand& command : group.commands) {
          sub->AppendItem(
              command.commandId,
              QString::fromUtf8(command.name.data(), static_cast<qsizetype>(command.name.size())));
        }
      }
      break;
    case StepMenu::Mouse:
      for (int j = 0; j < 5; ++j) {
        menu->AppendItem(kMouseButtonCommands[j], StepItemText(language, kMouseButtonTextKeys[j]));
      }
      break;
    case StepMenu::PressRelease:
      menu->AppendItem(kCommandPress, StepItemText(language, "INFO_MACRO_ACTION_DOWN"));
      menu->AppendItem(kCommandRelease, StepItemText(language, "INFO_MACRO_ACTION_UP"));
      break;
  }
  menu->Convert();
  menu->SetStyle(PageMenuStyle(kBackground, kWhite, kTextFormat, 10));
  for (QAction* action : menu->actions()) {
    if (auto* sub = dynamic_cast<CMenuEx*>(action->menu())) sub->SetFixedItemWidth(kKeyGroupWidth);
  }
  return menu;
}

}  // namespace vexlo
