#include "app/CVexloDlg.h"

#include <time.h>

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/InstanceSignal.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "device/DeviceSession.h"
#include "platform/ports/DeviceNotifications.h"
#include "platform/ports/Platform.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kSysCommand = 0x0112;  // WM_SYSCOMMAND
constexpr std::uintptr_t kScClose = 0xF060;    // SC_CLOSE
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::chrono::milliseconds kWatchdogPeriod{1000};

QString Text(const AppContext& context, std::string_view key) {
  return QString::fromStdString(context.language.LookupText(key));
}

// The program's icon in every size the skin draws it in ("Icon16.png", "Icon22.png", ...), so that
// the desktop takes the one it needs rather than a blurred scaled copy.
QIcon ProgramIcon(const std::string& skinFolder) {
  QIcon icon;
  const QDir folder(QString::fromStdString(skinFolder));
  for (const QString& name : folder.entryList({QStringLiteral("Icon*.png")}, QDir::Files)) {
    icon.addFile(folder.filePath(name));
  }
  return icon;
}

DeviceEventParts ServiceParts(AppContext& context) {
  return {context.settings,   context.profiles,   context.macros,
          context.device,     context.injector,   context.player,
          context.monitor,    context.wheelLines, *context.platform.mouseSettings,
          *context.platform.launcher, context.pauseClock};
}

}  // namespace

CVexloDlg::CVexloDlg(AppContext& context, TrayProbe trayProbe, QWidget* parent)
    : CImageDlg(parent),
      context_(context),
      trayProbe_(std::move(trayProbe)),
      skins_(context.settings.SkinFolder),
      problems_(context.startupProblems),
      noDeviceMessage_(context.settings, context.language, this),
      about_(context.settings, context.language, VEXLO_VERSION, this),
      target_(*this),
      service_(ServiceParts(context), *this, target_),
      modalWatch_([this] { service_.ApplyDeferredSwitch(); }),
      exitSignals_([this] { RequestExit(); }),
      companion_(*context.platform.launcher, *context.platform.instances,
                 context.settings.DaemonPath, context.settings.ProgramFolder) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Halvec QXA7702 Gaming Mouse"));
  setWindowFlag(Qt::WindowMinimizeButtonHint);
  watchdog_.setInterval(kWatchdogPeriod);
  connect(&watchdog_, &QTimer::timeout, this, [this] { companion_.Check(); });
}

CVexloDlg::~CVexloDlg() = default;

Result CVexloDlg::LoadSkin() {
  if (skins_.LoadMain() != Result::Ok) return Result::BadData;
  SetImages(ImageMode::Opaque, &skins_.Main().Main(), nullptr);
  return Result::Ok;
}

int CVexloDlg::RunModal() {
  // The window runs for the whole program but starts in the background: it shows itself only
  // when asked, so the loop runs without exec(), which would show it. An exit can be asked for
  // while the window initialises (a message shown then runs the events), before the loop runs.
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  InitDialog();
  if (!closedForGood_) loop.exec();
  return result();
}

void CVexloDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  frame_ = std::make_unique<MainFrame>(*this, skins_, context_.language,
                                       QString::fromStdString(context_.settings.CommonFontName),
                                       [this](int id) { OnFrameCommand(id); });
  ShowModelChoice();
  const QIcon icon = ProgramIcon(context_.settings.SkinFolder);
  setWindowIcon(icon);
  // Created hidden; the mouse's arrival puts it into the notification area.
  tray_ = std::make_unique<CTrayIcon>(
      icon, context_.language,
      [this](int command) {
        if (command == kIdTrayOpen) (void)target_.Post(UM_SHOW_MAIN, kTagOpen, 0);
        if (command == kIdTrayExit) RequestExit();
      },
      std::move(trayProbe_));
  PanelContext panels{*this, context_, service_, skins_};
  for (auto& panel : MakePagePanels(panels)) AddPanel(std::move(panel));
  previousPage_ = kNoPage;
  currentPage_ = kPageKeys;
  ComposeModelImages();
  ShowPage(currentPage_);

  // Other copies, the companion and the workers reach the window from here on.
  PublishWindow();
  if (context_.platform.notifications) {
    // Without notifications the mouse is found at start and by later show requests only.
    (void)context_.platform.notifications->Register(target_, deviceNotifications_);
  }
  service_.Start(context_.startHidden);
  // Shown from the event loop, where the window answers other copies (and /Kill) meanwhile.
  if (!problems_.empty()) {
    QMetaObject::invokeMethod(this, [this] { ShowProblems(); }, Qt::QueuedConnection);
  }
}

void CVexloDlg::PublishWindow() {
  const Result published =
      context_.platform.instances->PublishWindow(kTagMainWindow, AdmitFromOtherProcess, target_,
                                                 publication_, self_);
  if (published == Result::Ok) {
    if (companion_.Start(self_.endpoint)) watchdog_.start();
    return;
  }
  // Other copies cannot reach this one, and the companion could not find it: the program runs
  // on, and ends from the tray or by a signal.
  std::cerr << "vexlo: other copies cannot reach this one (error " << ToNumber(published)
            << "); it ends from its tray icon or with SIGTERM\n";
  problems_.emplace_back("STA_MSG_INFO_INSTANCE_UNREACHABLE");
}

void CVexloDlg::ShowProblems() {
  for (const std::string& key : std::exchange(problems_, {})) {
    if (exitRequested_) return;
    (void)context_.messages.ShowMessage(key, "STA_MSG_TITLE_WARN", UserMessages::kNotice,
                                        UserMessages::kWarningColour);
  }
}

void CVexloDlg::AddPanel(std::unique_ptr<PagePanel> panel) {
  panel->Refresh();
  if (currentPage_ != kNoPage) panel->ShowPage(currentPage_);
  panels_.push_back(std::move(panel));
}

void CVexloDlg::OnFrameCommand(int id) {
  if (id >= kIdFirstModelRadio && id < kIdFirstModelRadio + kModelCount) {
    service_.ChooseModel(static_cast<std::uint32_t>(id - kIdFirstModelRadio));
    ComposeModelImages();
  } else if (id == kIdMinimize || id == kIdClose) {
    (void)target_.Post(kSysCommand, id == kIdClose ? kScClose : kScMinimize, 0);
  } else if (id == kIdRestore) {
    OnRestore();
  } else if (id == kIdAbout) {
    (void)about_.Run();
  } else if (id >= kIdPageMouse && id <= kIdPageLineCorrection) {
    OnPageButton(id);
  }
}

void CVexloDlg::OnPageButton(int id) {
  int next = kNoPage;
  if (id == kIdPageMouse) {
    if (currentPage_ != kPageMacro) return;
    next = previousPage_;
  } else if (id == kIdPageMacro) {
    if (currentPage_ == kPageMacro) return;
    next = kPageMacro;
  } else {
    next = PageOfButton(id);
    if (next == currentPage_) return;
  }
  if (id != kIdPageMouse) previousPage_ = currentPage_;
  currentPage_ = next;
  ShowPage(currentPage_);
}

void CVexloDlg::ShowPage(int page) {
  SetImages(ImageMode::Opaque, &skins_.Background(page), nullptr);
  ApplyImageFrame();
  frame_->ShowPage(page);
  for (auto& panel : panels_) panel->ShowPage(page);
  update();
}

std::size_t CVexloDlg::CurrentModel() const {
  return std::min<std::size_t>(context_.settings.nDevModel, kModelCount - 1);
}

void CVexloDlg::ComposeModelImages() {
  skins_.Compose(CurrentModel());
  frame_->PlaceKeyPictures(CurrentModel());
  RefreshAll();  // the lighting page shows what the model has
}

void CVexloDlg::ShowModelChoice() {
  frame_->ShowModelChoice(service_.DeviceKind(), CurrentModel());
  if (currentPage_ != kNoPage) ComposeModelImages();
}

void CVexloDlg::OnRestore() {
  // A linked profile switch that arrives while the question is open waits until it has closed.
  if (context_.messages.ShowMessage("STA_MSG_INFO_RESTORE", "STA_MSG_TITLE_RESTORE",
                                    UserMessages::kQuestion, UserMessages::kNoticeColour) !=
      UserMessages::kOk) {
    return;
  }
  const Result restored = service_.RestoreDefaults();
  if (restored == Result::NotConnected) {
    (void)context_.messages.ShowMessage("STA_MSG_INFO_DEV_OFFLINE", "STA_MSG_TITLE_INFO",
                                        UserMessages::kNotice, UserMessages::kNoticeColour);
  } else if (restored != Result::Ok) {
    (void)context_.messages.ShowMessage("STA_MSG_INFO_FILE_WRITE", "STA_MSG_TITLE_WARN",
                                        UserMessages::kNotice, UserMessages::kWarningColour);
  }
}

void CVexloDlg::RefreshAll() {
  for (auto& panel : panels_) panel->Refresh();
  update();
}

std::intptr_t CVexloDlg::OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  // Messages still queued when the window has closed for good find nothing to do; a message box
  // opened now would keep the program from ending.
  if (closedForGood_) return 0;
  switch (message) {
    case UM_SHOW_MAIN:
      if (!exitRequested_) service_.OnShowMain();
      break;
    case UM_EXIT_APP:
      RequestExit();
      break;
    case UM_DEVICE_STATE:
      service_.OnDeviceState(wParam);
      break;
    case UM_DRIVER_SETUP:
      context_.device.OnDriverSetupDone(wParam != 0);
      break;
    case UM_DAEMON_WINDOW:
      companion_.OnAnnounced(static_cast<std::uint32_t>(wParam));
      break;
    case DeviceNotifications::kDeviceChangeMessage:
      if (lParam == DeviceNotifications::kHidInterface) service_.OnDeviceChange(wParam);
      return 1;
    case kSysCommand:
      if ((wParam & 0xFFF0) == kScClose) close();
      if ((wParam & 0xFFF0) == kScMinimize) showMinimized();
      break;
    default:
      break;
  }
  return 0;
}

void CVexloDlg::OnTextMessage(std::uint32_t message, const std::vector<std::string>& texts) {
  if (closedForGood_ || message != UM_LINKED_PROFILE || texts.size() < 2) return;
  service_.OnLinkedProfile({texts[0], texts[1]});
}

void CVexloDlg::RequestExit() {
  exitRequested_ = true;
  CloseOpenDialogs();
  (void)target_.Post(kSysCommand, kScClose, 0);
}

void CVexloDlg::CloseOpenDialogs() {
  // The panels' menus and dialogs, the about window, the messages and any file dialog alike.
  ModalWatch::CloseAll();
}

void CVexloDlg::ShowUnreadableProfile() {
  (void)context_.messages.ShowMessage("STA_MSG_INFO_FILE_FORMAT", "STA_MSG_TITLE_INFO",
                                      UserMessages::kNotice, UserMessages::kNoticeColour);
}

void CVexloDlg::ShowNoDeviceMessage() {
  if (noDeviceMessage_.IsShowing()) {
    noDeviceMessage_.raise();
    noDeviceMessage_.activateWindow();
    return;
  }
  (void)noDeviceMessage_.ShowMessage(Text(context_, "STA_MSG_INFO_NO_DEV"),
                                     Text(context_, "STA_MSG_TITLE_INFO"), CMsgDlg::kKeepOnTop,
                                     UserMessages::kNoticeColour);
}

void CVexloDlg::CloseNoDeviceMessage() {
  if (noDeviceMessage_.IsShowing()) noDeviceMessage_.close();
}

void CVexloDlg::ShowAndRaise() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void CVexloDlg::paintEvent(QPaintEvent* event) {
  CImageDlg::paintEvent(event);
  if (painted_) return;
  painted_ = true;
  // The start-up benchmark asks when the window was first painted (monotonic nanoseconds).
  if (const char* probe = std::getenv("VEXLO_FIRST_PAINT_FILE")) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::ofstream(probe) << now.tv_sec * 1'000'000'000LL + now.tv_nsec << '\n';
  }
}

bool CVexloDlg::event(QEvent* event) {
  return DispatchWindowMessage(event, *this) || CImageDlg::event(event);
}

void CVexloDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!exitRequested_) {
    // The program goes on in the background; without a tray icon it stays in reach minimised.
    if (tray_->TrayAvailable()) {
      hide();
    } else {
      showMinimized();
    }
    return;
  }
  CloseForGood();
}

void CVexloDlg::CloseForGood() {
  if (closedForGood_) return;
  closedForGood_ = true;
  service_.Shutdown();
  watchdog_.stop();
  companion_.Close();
  tray_->SetPresent(false);
  // Other copies and the device notifications no longer find the window.
  publication_.reset();
  deviceNotifications_.reset();
  done(QDialog::Accepted);
}

void CVexloDlg::accept() {
  if (exitRequested_) CloseForGood();
}

void CVexloDlg::reject() {
  if (exitRequested_) CloseForGood();
}

}  // namespace vexlo
