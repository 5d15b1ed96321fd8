#include "app/panels/PagePanel.h"

#include "app/MainWindowLayout.h"
#include "app/MainWindowSkins.h"
#include "app/panels/KeysPanel.h"
#include "app/panels/LightingPanel.h"
#include "app/panels/MacroPanel.h"
#include "app/panels/PerformancePanel.h"
#include "app/panels/ProfilePanel.h"

namespace vexlo {

std::vector<std::unique_ptr<PagePanel>> MakePagePanels(PanelContext& context) {
  std::vector<std::unique_ptr<PagePanel>> panels;
  // Each panel adds itself here, one line, in the order of the pages.
  auto keys = std::make_unique<KeysPanel>(context.window, context.app, context.service,
                                          context.skins.Main());
  // The buttons that play a macro follow its renaming and its deletion.
  KeysPanel& keyButtons = *keys;
  panels.push_back(std::move(keys));
  panels.push_back(std::make_unique<PerformancePanel>(context.window, context.app,
                                                      context.skins.Page(kPagePerformance)));
  panels.push_back(std::make_unique<LightingPanel>(context.window, context.app,
                                                   context.skins.Page(kPageLighting)));
  panels.push_back(std::make_unique<MacroPanel>(
      context.window, context.app, context.skins.Page(kPageMacro),
      MacroKeyLinks{[&keyButtons](int slot) { keyButtons.RenameMacroKeys(slot); },
                    [&keyButtons](int slot) { keyButtons.ReleaseMacroKeys(slot); }}));
  panels.push_back(std::make_unique<ProfilePanel>(context.window, context.app, context.service,
                                                  context.skins.Main()));
  return panels;
}

}  // namespace vexlo
