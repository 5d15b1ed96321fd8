#pragma once

#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/CompanionKeeper.h"
#include "app/ExitSignals.h"
#include "app/MainFrame.h"
#include "app/CTrayIcon.h"
#include "app/MainWindowSkins.h"
#include "app/ModalWatch.h"
#include "app/panels/PagePanel.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CMsgDlg.h"
#include "engine/DeviceEventService.h"
#include "platform/ports/InstanceRegistry.h"
#include "platform/ports/ReleaseOnDestroy.h"
#include "skin/CImageDlg.h"
#include "skin/WindowMessage.h"

namespace vexlo {

// The main window. It runs for the whole life of the program, hidden until it is asked to show
// itself; closing it only hides it, and the program ends on an exit request, after the mouse and
// the desktop's pointer settings are back at their defaults. Other copies find it by its 'MAIN'
// tag. It holds the page frame (title buttons, page buttons, the mouse-model choice, the mouse
// picture) and composes the pages' panels; everything that concerns the mouse it forwards to the
// device event service, for which it is the view.
class CVexloDlg final : public CImageDlg, public MessageHandler, public MainWindowView {
 public:
  // `trayProbe` says whether the desktop has a notification area (tests stand in for one).
  explicit CVexloDlg(AppContext& context,
                     TrayProbe trayProbe = DesktopHasTray,
                     QWidget* parent = nullptr);
  ~CVexloDlg() override;

  // Loads the main skin's picture: Ok, or BadData when it is missing (the window is then not
  // shown and the program ends).
  [[nodiscard]] Result LoadSkin();

  // Initialises the window hidden and runs it until the program is to end.
  int RunModal();

  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;
  void OnTextMessage(std::uint32_t message, const std::vector<std::string>& texts) override;
  MessageTarget& Target() { return target_; }

  // Operations the panels use.
  void ShowPage(int page);
  void RefreshAll() override;
  void ComposeModelImages();
  int CurrentPage() const { return currentPage_; }
  bool ExitRequested() const { return exitRequested_; }
  // A panel on the pages: refreshed with the others and told of every page shown.
  void AddPanel(std::unique_ptr<PagePanel> panel);

  // The tray menu's exit item, a second copy's /Kill and the exit signals: ends the program.
  void RequestExit();

  // What the device event service shows and hides.
  void ShowModelChoice() override;
  void ShowAndRaise() override;
  void HideWindow() override { hide(); }
  void CloseOpenDialogs() override;
  void SetTrayPresent(bool present) override { tray_->SetPresent(present); }
  const CTrayIcon& Tray() const { return *tray_; }
  void ShowNoDeviceMessage() override;
  void CloseNoDeviceMessage() override;
  bool IsBusy() const override { return ModalWatch::AnyOpen(); }
  void ShowUnreadableProfile() override;

 protected:
  void OnInitDialog() override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void accept() override;  // Enter: nothing, unless the program is ending
  void reject() override;  // Escape: likewise

 private:
  std::size_t CurrentModel() const;
  void OnFrameCommand(int id);
  void OnPageButton(int id);
  void OnRestore();
  void PublishWindow();
  void ShowProblems();
  void CloseForGood();

  AppContext& context_;
  TrayProbe trayProbe_;  // until the tray icon is made
  MainWindowSkins skins_;
  std::unique_ptr<MainFrame> frame_;  // made as the window initialises
  // The page holder: each panel plugs in here (panels/PagePanels.cpp) and follows the pages.
  std::vector<std::unique_ptr<PagePanel>> panels_;
  int currentPage_ = kNoPage;
  int previousPage_ = kNoPage;
  bool exitRequested_ = false;
  bool closedForGood_ = false;
  bool painted_ = false;
  std::vector<std::string> problems_;  // text keys of what went wrong at start, shown once up
  CMsgDlg noDeviceMessage_;  // the window's own: "no mouse", in front when asked again
  CAboutDlg about_;          // opened modally from the about button

  // Whatever reaches the window from other threads and processes comes after the target, so that
  // it goes (and stops) first.
  QtMessageTarget target_;
  DeviceEventService service_;
  ModalWatch modalWatch_;
  ExitSignals exitSignals_;
  std::unique_ptr<ReleaseOnDestroy> publication_;
  RunningWindow self_;  // this window as other programs reach it
  std::unique_ptr<ReleaseOnDestroy> deviceNotifications_;
  CompanionKeeper companion_;
  std::unique_ptr<CTrayIcon> tray_;
  QTimer watchdog_;
};

}  // namespace vexlo
