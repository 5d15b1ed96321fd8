#pragma once

#include <QObject>

#include <array>
#include <cstdint>
#include <vector>

#include "app/panels/PagePanel.h"
#include "profiles/ProfileData.h"
#include "skin/SkinFile.h"
#include "skin/WindowMessage.h"

class QLabel;
class QWidget;

namespace vexlo {

struct AppContext;
class CColorButton;
class CImageBtn;
class CImageSlider;

// The lighting page: the light mode (a menu button), a reset of the lighting and the levels, the
// four sensitivity levels (sliders from 200 to 4200 counts per inch with their values) and each
// level's colour (a swatch that opens the colour menu). A change is sent at once to the mouse
// while it is connected and written at once to the current profile file. Which controls show
// depends on the mouse model and the light mode. Values from a damaged profile show as the mouse
// would get them, and are stored back so. User-interface thread.
class LightingPanel final : public QObject, public PagePanel, public MessageHandler {
 public:
  // The controls are made on `window` from the page skin, hidden until the page shows. The
  // skin's brightness, speed, direction and light-colour controls are made too and never shown.
  LightingPanel(QWidget& window, AppContext& app, SkinFile<DibImage>& pageSkin);
  ~LightingPanel() override;

  // Every control follows the current profile.
  void Refresh() override;
  // The levels' sliders and values.
  void RefreshLevels();
  // The mode button, the level colours and which controls show (after the model changed too).
  void RefreshLighting();
  // The controls show on the lighting page only.
  void ShowPage(int page) override;

  // What choosing in the menus and the reset button do.
  void ChooseMode(int mode);
  void ChooseColour(int level, int index);
  void Reset();

  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;

 protected:
  bool event(QEvent* event) override;

 private:
  // Shows the controls of the lighting table's column while the page is shown.
  void ApplyLightingTable();
  void OpenModeMenu();
  void OpenColourMenu(int level);
  void ShowLevelValue(int level, std::uint16_t value);
  void OnLevelReleased(int level, std::uint16_t value);
  // Sends the mode and the level colours while the mouse is connected, and writes them.
  void CommitLighting();

  AppContext& app_;
  GdiplusImage thumb_;
  QtMessageTarget target_{*this};  // where the sliders post
  int page_;
  std::vector<QWidget*> shown_;   // on the page in every column of the table
  std::vector<QWidget*> hidden_;  // never shown
  CImageBtn* mode_ = nullptr;
  std::array<CImageSlider*, kDpiLevelCount> levels_{};
  std::array<QLabel*, kDpiLevelCount> values_{};
  std::array<CColorButton*, kDpiLevelCount> colours_{};
};

}  // namespace vexlo
