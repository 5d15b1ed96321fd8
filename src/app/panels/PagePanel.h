#pragma once

#include <memory>
#include <vector>

class QWidget;

namespace vexlo {

struct AppContext;
class DeviceEventService;
class MainWindowSkins;

// What a panel works with. Everything outlives the panels.
struct PanelContext {
  QWidget& window;              // the main window: the parent of the panel's controls
  AppContext& app;              // the process-wide objects: profiles, macros, the mouse
  DeviceEventService& service;  // whether the mouse is usable; ProfileLoaded after a load
  MainWindowSkins& skins;       // the main, page and model skins
};

// One panel of the main window's pages (button assignment, performance, lighting, macro editor,
// profiles). It creates its controls on the main window when it is made and owns what is not a
// child widget; the main window refreshes it after every load of a profile and tells it which
// page is shown. User-interface thread.
class PagePanel {
 public:
  virtual ~PagePanel() = default;

  // Brings every control up to date with the current profile.
  virtual void Refresh() = 0;

  // `page` is shown now: the panel shows the controls that belong to it and hides the others.
  virtual void ShowPage(int page) = 0;
};

// The panels of the main window, in the order they are made and refreshed.
std::vector<std::unique_ptr<PagePanel>> MakePagePanels(PanelContext& context);

}  // namespace vexlo
