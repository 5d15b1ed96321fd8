#include "app/panels/PagePanel.h"

#include "app/MainWindowLayout.h"
#include "app/MainWindowSkins.h"
#include "app/panels/KeysPanel.h"
#include "app/panels/LightingPanel.h"
#include "app/panels/PerformancePanel.h"

namespace vexlo {

std::vector<std::unique_ptr<PagePanel>> MakePagePanels(PanelContext& context) {
  std::vector<std::unique_ptr<PagePanel>> panels;
  // Each panel adds itself here, one line, in the order of the pages.
  panels.push_back(std::make_unique<KeysPanel>(context.window, context.app, context.skins.Main()));
  panels.push_back(std::make_unique<PerformancePanel>(context.window, context.app,
                                                      context.skins.Page(kPagePerformance)));
  panels.push_back(std::make_unique<LightingPanel>(context.window, context.app,
                                                   context.skins.Page(kPageLighting)));
  return panels;
}

}  // namespace vexlo
