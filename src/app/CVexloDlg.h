#pragma once

#include <QTimer>

#include <array>
#include <map>
#include <memory>

#include "app/AppContext.h"
#include "app/CompanionKeeper.h"
#include "app/MainTrayIcon.h"
#include "app/MainWindowLayout.h"
#include "dialogs/CMsgDlg.h"
#include "engine/HostDispatcher.h"
#include "platform/ports/ReleaseOnDestroy.h"
#include "skin/CImageBtn.h"
#include "skin/CImageDlg.h"
#include "skin/SkinFile.h"
#include "skin/WindowMessage.h"

namespace vexlo {

// The main window. It runs for the whole life of the program, hidden until it is asked to show
// itself; closing it only hides it, and the program ends on an exit request, after the mouse and
// the desktop's pointer settings are back at their defaults. Other copies find it by its 'MAIN'
// tag. It holds the page frame: title buttons, page buttons, the mouse-model choice and the
// mouse picture; the pages' panels live on it.
class CVexloDlg final : public CImageDlg, public MessageHandler {
 public:
  explicit CVexloDlg(AppContext& context, QWidget* parent = nullptr);
  ~CVexloDlg() override;

  // Loads the main skin's picture: Ok, or BadData when it is missing (the window is then not
  // shown and the program ends).
  [[nodiscard]] Result LoadSkin();

  // Initialises the window hidden and runs it until the program is to end.
  int RunModal();

  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;
  MessageTarget& Target() { return target_; }

  // Operations the pages use.
  void ShowPage(int page);
  void ComposeModelImages();
  int CurrentPage() const { return currentPage_; }
  bool ExitRequested() const { return exitRequested_; }

  // The tray menu's exit item and a second copy's /Kill: ends the program.
  void RequestExit();

 protected:
  void OnInitDialog() override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void accept() override;  // Enter: nothing, unless the program is ending
  void reject() override;  // Escape: likewise

 private:
  // The skins of the pages and models are read when first needed, so the window is up quickly.
  SkinFile<DibImage>& PageSkin(int page);
  SkinFile<GdiplusImage>& ModelSkin(std::size_t model);
  std::size_t CurrentModel() const;
  void ComposeLightImages();  // the lighting page's pictures, when that page is first shown
  void CreateFrameControls();
  CImageBtn* Control(int id) const;
  void OnFrameCommand(int id);
  void OnPageButton(int id);
  void OnModelChosen(int model);
  void OnRestore();
  void OnShowMain();
  void OnDeviceChange(std::uintptr_t event);
  void OnDeviceState(std::uintptr_t state);
  void OnLinkedProfile(const std::string& profilePath);
  void ApplyOnArrival();
  void ApplyWholeProfile();
  void RefreshAll();
  void ShowAndRaise();
  void UpdateModelChoice();
  void CloseForGood();
  void CloseOpenDialogs();

  AppContext& context_;
  SkinFile<DibImage> mainSkin_;
  std::array<std::unique_ptr<SkinFile<GdiplusImage>>, kModelCount> modelSkins_;
  std::array<bool, kModelCount> modelSkinRead_{};
  std::array<std::unique_ptr<SkinFile<DibImage>>, 4> pageSkins_;  // pages 1 to 4
  std::array<bool, 4> pageSkinRead_{};
  // The main and lighting pictures with the current model's mouse drawn in.
  DibImage composedMain_;
  DibImage composedMainHighlight_;
  DibImage composedLight_;
  DibImage composedLightHighlight_;
  bool lightComposed_ = false;  // the lighting pictures show the current model

  std::map<int, CImageBtn*> controls_;  // frame controls by control ID
  int currentPage_ = kNoPage;
  int previousPage_ = kNoPage;
  bool exitRequested_ = false;
  bool closedForGood_ = false;
  bool painted_ = false;
  CMsgDlg noDeviceMessage_;  // the window's own: "no mouse", in front when asked again
  HostDispatcher dispatcher_;

  QtMessageTarget target_;
  std::unique_ptr<ReleaseOnDestroy> publication_;
  RunningWindow self_;  // this window as other programs reach it
  std::unique_ptr<ReleaseOnDestroy> deviceNotifications_;
  CompanionKeeper companion_;
  std::unique_ptr<MainTrayIcon> tray_;
  QTimer watchdog_;
};

}  // namespace vexlo
