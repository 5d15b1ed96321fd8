#pragma once

#include <QObject>

#include <cstdint>
#include <vector>

#include "app/panels/PagePanel.h"
#include "app/panels/PerformancePanelValues.h"
#include "skin/SkinFile.h"
#include "skin/WindowMessage.h"

class QWidget;

namespace vexlo {

struct AppContext;
class CColorEdit;
class CImageBtn;
class CImageSlider;

// The performance page: the double-click time and the pointer speed (sliders), the report rate
// (a menu button) and the wheel scroll amount (lines per notch with an edit and up and down
// buttons, or one screen per notch). A change takes effect at once, on the desktop or, for the
// report rate, on the mouse while it is connected, and is written at once to the current profile
// file. Positions and texts that the program sets change nothing: sliders act on the user's
// release only, the wheel edit on what the user types. A setting the desktop does not have shows
// disabled, its tool tip saying so. User-interface thread.
class PerformancePanel final : public QObject, public PagePanel, public MessageHandler {
 public:
  // The controls are made on `window` from the page skin, hidden until the page shows.
  PerformancePanel(QWidget& window, AppContext& app, SkinFile<DibImage>& pageSkin);
  ~PerformancePanel() override;

  // Every control follows the current profile.
  void Refresh() override;
  // The controls show on the performance page only.
  void ShowPage(int page) override;

  // What choosing rate `index` (0..3: 125 to 1000 reports a second) in the menu does.
  void ChooseReportRate(int index);

  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;

 protected:
  bool event(QEvent* event) override;

 private:
  void OnSliderReleased(int controlId, int position);
  void OpenReportRateMenu();
  void OnWheelLines();
  void OnWheelPage();
  void OnWheelStep(int step);
  void OnWheelEdited();
  void ApplyWheel();
  // Disables the controls of the settings that the desktop does not have.
  void MarkMissingSettings();
  void EnableWheelLines(bool enable);
  void ShowWheelLines(std::uint32_t lines);

  AppContext& app_;
  const DesktopSettingsPresent present_;
  GdiplusImage thumb_;
  QtMessageTarget target_{*this};   // where the sliders post
  std::vector<QWidget*> controls_;  // every control of the page, children of the window
  CImageSlider* doubleClick_ = nullptr;
  CImageSlider* pointerSpeed_ = nullptr;
  CImageBtn* reportRate_ = nullptr;
  CImageBtn* wheelLines_ = nullptr;
  CImageBtn* wheelPage_ = nullptr;
  CColorEdit* wheelEdit_ = nullptr;
  CImageBtn* wheelUp_ = nullptr;
  CImageBtn* wheelDown_ = nullptr;
};

}  // namespace vexlo
