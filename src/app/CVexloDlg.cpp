#include "app/CVexloDlg.h"

#include <time.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPainter>

#include <cstdlib>
#include <fstream>

#include "common/Messages.h"
#include "common/Text.h"
#include "device/DeviceCommands.h"
#include "engine/ApplyAll.h"
#include "engine/WindowsMouseSettings.h"
#include "platform/ports/DeviceNotifications.h"
#include "profiles/ProfileFile.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kSysCommand = 0x0112;  // WM_SYSCOMMAND
constexpr std::uintptr_t kScClose = 0xF060;    // SC_CLOSE
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::chrono::milliseconds kWatchdogPeriod{1000};

QString Text(const AppContext& context, std::string_view key) {
  return QString::fromStdString(context.language.LookupText(key));
}

std::filesystem::path SkinPath(const AppContext& context, std::string_view file) {
  return std::filesystem::path(context.settings.SkinFolder) / std::string(file);
}

// The picture of `base` with `overlay` drawn over it (alpha-composited), the same size.
QImage Composed(const SkinImage& base, const SkinImage& overlay) {
  QImage result = base.Pixels().copy();
  QPainter painter(&result);
  const QRect whole(QPoint(0, 0), overlay.Size());
  overlay.DrawBlended(painter, whole, whole);
  return result;
}

}  // namespace

CVexloDlg::CVexloDlg(AppContext& context, QWidget* parent)
    : CImageDlg(parent),
      context_(context),
      mainSkin_(SkinPath(context, "Main.ini")),
      noDeviceMessage_(context.settings, context.language, this),
      dispatcher_(context.profiles, context.macros, context.injector, context.player,
                  *context.platform.launcher, context.pauseClock, [this] { OnShowMain(); }),
      target_(*this, *this),
      companion_(*context.platform.launcher, *context.platform.instances,
                 context.settings.DaemonPath, context.settings.ProgramFolder) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Halvec QXA7702 Gaming Mouse"));
  setWindowFlag(Qt::WindowMinimizeButtonHint);
  for (int model = 0; model < kModelCount; ++model) {
    modelSkins_[static_cast<std::size_t>(model)] = std::make_unique<SkinFile<GdiplusImage>>(
        SkinPath(context, DeviceModels()[static_cast<std::size_t>(model)].skinFile));
  }
  for (std::size_t page = 0; page < pageSkins_.size(); ++page) {
    pageSkins_[page] = std::make_unique<SkinFile<DibImage>>(SkinPath(context, kPageSkinFiles[page]));
  }
  watchdog_.setInterval(kWatchdogPeriod);
  connect(&watchdog_, &QTimer::timeout, this, [this] { companion_.Check(); });
}

CVexloDlg::~CVexloDlg() {
  context_.device.SetEventTarget(nullptr);
  context_.monitor.SetTarget(nullptr);
}

Result CVexloDlg::LoadSkin() {
  if (LoadSkinImage(mainSkin_.Path(), kMainImageKey, mainSkin_.Main()) != Result::Ok) {
    return Result::BadData;
  }
  SetImages(ImageMode::Opaque, &mainSkin_.Main(), nullptr);
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
  // A missing highlight picture leaves the controls without their lit look; the window works.
  (void)LoadSkinImage(mainSkin_.Path(), kHighlightImageKey, mainSkin_.Highlight());
  CreateFrameControls();
  const QIcon icon(QString::fromStdString(context_.settings.SkinFolder + "Icon.png"));
  setWindowIcon(icon);
  // Created hidden; the mouse's arrival puts it into the notification area.
  tray_ = std::make_unique<MainTrayIcon>(
      icon, context_.language, [this] { (void)target_.Post(UM_SHOW_MAIN, kTagOpen, 0); },
      [this] { RequestExit(); });
  previousPage_ = kNoPage;
  currentPage_ = kPageKeys;
  ComposeModelImages();
  ShowPage(currentPage_);

  // Other copies, the companion and the workers reach the window from here on. A failure to
  // publish only means that other copies cannot find this one.
  (void)context_.platform.instances->PublishWindow(kTagMainWindow, target_, publication_, self_);
  if (companion_.Start(self_.endpoint)) watchdog_.start();
  if (context_.platform.notifications) {
    // Without notifications the mouse is found at start and by later show requests only.
    (void)context_.platform.notifications->Register(target_, deviceNotifications_);
  }

  // Without the injection device host functions send nothing; an arrival tries again.
  (void)context_.injector.OpenInjectionDevice();
  if (context_.device.Connect() == Result::Ok) {
    (void)target_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
  }
  if (!context_.startHidden) (void)target_.Post(UM_SHOW_MAIN, kTagOpen, 0);
  context_.device.SetEventTarget(&target_);
  context_.monitor.SetTarget(&target_);
  context_.monitor.RebuildLinkTable(context_.profiles);
}

SkinFile<DibImage>& CVexloDlg::PageSkin(int page) {
  const auto index = static_cast<std::size_t>(page - 1);
  // A picture that is missing leaves its part of the window blank.
  if (!pageSkinRead_[index]) (void)pageSkins_[index]->Load();
  pageSkinRead_[index] = true;
  return *pageSkins_[index];
}

SkinFile<GdiplusImage>& CVexloDlg::ModelSkin(std::size_t model) {
  if (!modelSkinRead_[model]) (void)modelSkins_[model]->Load();  // as above
  modelSkinRead_[model] = true;
  return *modelSkins_[model];
}

void CVexloDlg::CreateFrameControls() {
  const QString face = QString::fromStdString(context_.settings.CommonFontName);
  for (const FrameControl& control : FrameControls()) {
    const std::string key(control.key);
    auto* button = new CImageBtn(ButtonStyleFor(key).kind, this);
    controls_[control.id] = button;
    if (control.kind == FrameKind::KeyPicture) continue;  // placed by ComposeModelImages
    const bool picture = control.kind == FrameKind::Picture;
    const SkinImage* normal = picture ? &composedMain_ : &mainSkin_.Main();
    const SkinImage* lit = picture ? &composedMainHighlight_ : &mainSkin_.Highlight();
    button->SetImages(mainSkin_.Path(), key, normal, lit, lit, normal, lit);
    if (picture) {
      button->setEnabled(false);
      continue;
    }
    QString caption = Text(context_, key);
    if (control.kind == FrameKind::ModelRadio) {
      caption = Text(context_, key + "_LINE1") + QLatin1Char('\n') + Text(context_, key + "_LINE2");
    }
    if (caption == QString::fromStdString(key)) caption.clear();  // an icon button
    ApplyButtonStyle(*button, key, caption, face);
    if (!control.toolTip.empty()) button->SetToolTip(Text(context_, control.toolTip));
    connect(button, &QAbstractButton::clicked, this, [this, id = control.id] { OnFrameCommand(id); });
  }
  Control(kIdApply)->setEnabled(false);
  Control(kIdPageLineCorrection)->hide();
  UpdateModelChoice();
}

CImageBtn* CVexloDlg::Control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void CVexloDlg::OnFrameCommand(int id) {
  if (id >= kIdFirstModelRadio && id < kIdFirstModelRadio + kModelCount) {
    OnModelChosen(id - kIdFirstModelRadio);
    return;
  }
  switch (id) {
    case kIdMinimize:
      (void)target_.Post(kSysCommand, kScMinimize, 0);
      break;
    case kIdClose:
      (void)target_.Post(kSysCommand, kScClose, 0);
      break;
    case kIdRestore:
      OnRestore();
      break;
    case kIdPageMouse:
    case kIdPageMacro:
    case kIdPageKeys:
    case kIdPagePerformance:
    case kIdPageLighting:
    case kIdPageLineCorrection:
      OnPageButton(id);
      break;
    default:
      break;
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
  const SkinImage* background = &composedMain_;
  if (page == kPageLighting) {
    if (!lightComposed_) ComposeLightImages();
    background = &composedLight_;
  } else if (page > kPageKeys && page < kNoPage) {
    background = &PageSkin(page).Main();
  }
  SetImages(ImageMode::Opaque, background, nullptr);
  ApplyImageFrame();
  for (const int id : {kIdPageMouse, kIdPageMacro, kIdPageKeys, kIdPagePerformance,
                       kIdPageLighting, kIdPageLineCorrection}) {
    Control(id)->SetCheck((CheckedPagesOf(id) & PageBit(page)) ? 1 : 0);
  }
  // Controls of other pages go first, so the new page never shows two pages' controls at once.
  std::vector<CImageBtn*> shown;
  for (const auto& [id, control] : controls_) {
    const std::uint8_t pages = PagesOf(id);
    if (pages == 0) continue;  // a frame control every page shows
    if (pages & PageBit(page)) {
      shown.push_back(control);
    } else {
      control->hide();
    }
  }
  for (CImageBtn* control : shown) control->show();
  update();
}

std::size_t CVexloDlg::CurrentModel() const {
  return std::min<std::size_t>(context_.settings.nDevModel, kModelCount - 1);
}

void CVexloDlg::ComposeModelImages() {
  const SkinFile<GdiplusImage>& skin = ModelSkin(CurrentModel());
  composedMain_.Assign(Composed(mainSkin_.Main(), skin.Main()));
  composedMainHighlight_.Assign(Composed(mainSkin_.Highlight(), skin.Highlight()));
  lightComposed_ = false;
  if (currentPage_ == kPageLighting) ComposeLightImages();

  for (int n = 0; n < 7; ++n) {
    CImageBtn* picture = Control(kIdFirstKeyPicture + n);
    const std::string key = "BTN_MOUSE_PIC" + std::to_string(n + 1);
    // Lit while its key button is pointed at; dark (the plain picture) the rest of the time.
    picture->SetImages(skin.Path(), key, &composedMainHighlight_, &composedMainHighlight_,
                       &composedMainHighlight_, &composedMain_, &composedMainHighlight_);
    picture->SetCheckedImageOverride(CImageBtn::kOverrideHover | CImageBtn::kOverridePressed |
                                     CImageBtn::kOverrideDisabled);
    picture->setEnabled(false);
  }
  update();
}

void CVexloDlg::ComposeLightImages() {
  const SkinFile<GdiplusImage>& skin = ModelSkin(CurrentModel());
  const SkinFile<DibImage>& light = PageSkin(kPageLighting);
  composedLight_.Assign(Composed(light.Main(), skin.Main()));
  composedLightHighlight_.Assign(Composed(light.Highlight(), skin.Highlight()));
  lightComposed_ = true;
}

void CVexloDlg::UpdateModelChoice() {
  const int kind = context_.device.Model();
  for (int model = 0; model < kModelCount; ++model) {
    CImageBtn* radio = Control(kIdFirstModelRadio + model);
    radio->setEnabled(kind == 0 || DeviceModels()[static_cast<std::size_t>(model)].deviceKind == kind);
    radio->SetCheck(static_cast<std::uint32_t>(model) == context_.settings.nDevModel ? 1 : 0);
  }
}

void CVexloDlg::OnModelChosen(int model) {
  context_.settings.nDevModel = static_cast<std::uint32_t>(model);
  (void)SaveDevModel(context_.settings);  // the choice holds for this run either way
  ComposeModelImages();
}

void CVexloDlg::OnRestore() {
  if (context_.messages.ShowMessage("STA_MSG_INFO_RESTORE", "STA_MSG_TITLE_RESTORE",
                                    UserMessages::kQuestion, UserMessages::kNoticeColour) !=
      UserMessages::kOk) {
    return;
  }
  if (context_.device.IsConnected() != Result::Ok) {
    (void)context_.messages.ShowMessage("STA_MSG_INFO_DEV_OFFLINE", "STA_MSG_TITLE_INFO",
                                        UserMessages::kNotice, UserMessages::kNoticeColour);
    return;
  }
  ProfileData& profile = context_.profiles.Data();
  FillDefaults(profile);
  if (WriteProfile(context_.profiles.CurrentPath(), profile) != Result::Ok) {
    (void)context_.messages.ShowMessage("STA_MSG_INFO_FILE_WRITE", "STA_MSG_TITLE_WARN",
                                        UserMessages::kNotice, UserMessages::kWarningColour);
  }
  ApplyWholeProfile();
  RefreshAll();
  context_.monitor.RebuildLinkTable(context_.profiles);
}

void CVexloDlg::ApplyWholeProfile() {
  DeviceCommands commands(context_.device, context_.profiles.Data().device);
  // A mouse that fails part of it keeps the rest; the next arrival sends everything again.
  (void)ApplyAll(commands, *context_.platform.mouseSettings, context_.wheelLines,
                 context_.profiles.Data().windows);
}

void CVexloDlg::RefreshAll() {
  // The pages bring their controls up to date with the profile here as they are added.
  update();
}

std::intptr_t CVexloDlg::OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  // Messages still queued when the window has closed for good find nothing to do; a message box
  // opened now would keep the program from ending.
  if (closedForGood_) return 0;
  switch (message) {
    case UM_SHOW_MAIN:
      OnShowMain();
      break;
    case UM_EXIT_APP:
      RequestExit();
      break;
    case UM_DEVICE_STATE:
      OnDeviceState(wParam);
      break;
    case UM_BUTTON_EVENT:
      dispatcher_.DispatchButtonEvent(wParam, lParam);
      break;
    case UM_DAEMON_WINDOW:
      companion_.OnAnnounced(static_cast<std::uint32_t>(wParam));
      break;
    case UM_LINKED_PROFILE:
      OnLinkedProfile(reinterpret_cast<const LinkEntry*>(wParam)->profilePath);
      break;
    case DeviceNotifications::kDeviceChangeMessage:
      if (lParam == DeviceNotifications::kHidInterface) OnDeviceChange(wParam);
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

void CVexloDlg::RequestExit() {
  exitRequested_ = true;
  CloseOpenDialogs();
  (void)target_.Post(kSysCommand, kScClose, 0);
}

void CVexloDlg::CloseOpenDialogs() {
  if (noDeviceMessage_.IsShowing()) noDeviceMessage_.close();
  if (context_.sharedMessageDialog && context_.sharedMessageDialog->IsShowing()) {
    context_.sharedMessageDialog->close();
  }
}

void CVexloDlg::OnShowMain() {
  if (exitRequested_) return;
  if (context_.device.IsConnected() == Result::Ok && !context_.device.Link().IsOpen()) {
    context_.device.CheckAlive();
  }
  const bool usable = context_.device.IsConnected() == Result::Ok &&
                      context_.device.Link().IsOpen();
  if (!usable) {
    if (noDeviceMessage_.IsShowing()) {
      noDeviceMessage_.raise();
      noDeviceMessage_.activateWindow();
      return;
    }
    (void)noDeviceMessage_.ShowMessage(Text(context_, "STA_MSG_INFO_NO_DEV"),
                                       Text(context_, "STA_MSG_TITLE_INFO"), CMsgDlg::kKeepOnTop,
                                       UserMessages::kNoticeColour);
    return;
  }
  ShowAndRaise();
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

void CVexloDlg::OnDeviceChange(std::uintptr_t event) {
  DeviceSession& device = context_.device;
  if (event == DeviceNotifications::kArrival) {
    if (device.IsConnected() == Result::Ok && device.Link().IsOpen()) return;
    if (noDeviceMessage_.IsShowing()) noDeviceMessage_.close();
    if (device.Connect() == Result::Ok) {
      (void)target_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
    }
  } else if (event == DeviceNotifications::kRemoveComplete &&
             device.IsConnected() == Result::Ok) {
    if (!device.CheckAlive()) (void)target_.Post(UM_DEVICE_STATE, kTagDeviceRemoved, 0);
  }
}

void CVexloDlg::OnDeviceState(std::uintptr_t state) {
  if (state == kTagDeviceArrived) {
    if (context_.device.IsConnected() == Result::Ok) ApplyOnArrival();
    tray_->SetPresent(true);
    return;
  }
  // Nothing the mouse started may stay pressed or running on the host.
  dispatcher_.ReleaseEverything();
  context_.monitor.StopMonitor();
  tray_->SetPresent(false);
  CloseOpenDialogs();
  hide();
  // Connecting again closes the link that the removed mouse left open; a mouse that came back in
  // the meantime arrives again.
  if (context_.device.Connect() == Result::Ok) {
    (void)target_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
  }
  UpdateModelChoice();
}

void CVexloDlg::ApplyOnArrival() {
  ProfileStore& profiles = context_.profiles;
  ProfileData& profile = profiles.Data();
  // The injection device comes with the mouse's software; without it host functions send nothing.
  if (!context_.injector.IsOpen()) (void)context_.injector.OpenInjectionDevice();
  // A file that cannot be read leaves the profile in memory as it was.
  (void)ReadProfile(profiles.CurrentPath(), &profile.device, nullptr, &profile.link);
  CaptureWindowsSettings(*context_.platform.mouseSettings, profile.windows);
  (void)WriteProfile(profiles.CurrentPath(), profile);  // the profile in memory is what counts
  RefreshAll();
  if (context_.device.IsConnected() == Result::Ok) {
    DeviceCommands commands(context_.device, profile.device);
    (void)commands.ApplyDeviceSettings();  // a failed part is sent again at the next arrival
  }
  context_.monitor.RebuildLinkTable(profiles);
  (void)SaveProfilePath(context_.settings, profiles.CurrentPath());
  context_.settings.nDevModel = NarrowModel(context_.settings.nDevModel, context_.device.Model());
  UpdateModelChoice();
  (void)SaveDevModel(context_.settings);
  ComposeModelImages();
  context_.monitor.StartMonitor();
}

void CVexloDlg::OnLinkedProfile(const std::string& profilePath) {
  ProfileStore& profiles = context_.profiles;
  if (EqualsNoCase(profilePath, profiles.CurrentPath())) return;
  // What the old profile's buttons hold or run ends with it (a macro that waits for a second press).
  dispatcher_.ReleaseEverything();
  // A file that cannot be read leaves the contents as they were; they are applied all the same.
  (void)profiles.SelectProfile(profilePath);
  ApplyWholeProfile();
  RefreshAll();
  (void)SaveProfilePath(context_.settings, profiles.CurrentPath());
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
    hide();  // the program goes on in the background
    return;
  }
  CloseForGood();
}

void CVexloDlg::CloseForGood() {
  // The mouse and the desktop go back to the defaults; the profile files keep the user's values.
  ProfileData& profile = context_.profiles.Data();
  FillDefaults(profile);
  ApplyWholeProfile();
  dispatcher_.ReleaseEverything();
  (void)context_.player.StopNow();  // it has stopped when this returns, whatever it answers
  watchdog_.stop();
  companion_.Close();
  tray_->SetPresent(false);
  closedForGood_ = true;
  done(QDialog::Accepted);
}

void CVexloDlg::accept() {
  if (exitRequested_) CloseForGood();
}

void CVexloDlg::reject() {
  if (exitRequested_) CloseForGood();
}

}  // namespace vexlo
