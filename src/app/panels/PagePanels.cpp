#include "app/panels/PagePanel.h"

namespace vexlo {

std::vector<std::unique_ptr<PagePanel>> MakePagePanels(PanelContext& /*context*/) {
  std::vector<std::unique_ptr<PagePanel>> panels;
  // Each panel adds itself here, one line, in the order of the pages.
  return panels;
}

}  // namespace vexlo
