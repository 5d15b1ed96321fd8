#include "app/panels/PerformancePanel.h"

#include <QLabel>
#include <QRegularExpressionValidator>
#include <QWidget>

#include <array>

#include "app/AppContext.h"
#include "app/MainWindowLayout.h"
#include "app/panels/PageControls.h"
#include "app/panels/PerformancePanelValues.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "device/DeviceCommands.h"
#include "device/DeviceSession.h"
#include "engine/WheelLinesWorker.h"
#include "engine/WindowsMouseSettings.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/CColorEdit.h"
#include "skin/CImageBtn.h"
#include "skin/CImageSlider.h"
#include "skin/CMenuEx.h"

namespace vexlo {
namespace {

constexpr int kIdPointerSpeed = 1080;
constexpr int kIdDoubleClick = 1132;
constexpr int kFirstReportRateCommand = 32781;  // 32781..32784: indexes 0..3

}  // namespace

PerformancePanel::PerformancePanel(QWidget& window, AppContext& app, SkinFile<DibImage>& pageSkin)
    : app_(app), present_(FindDesktopSettings(*app.platform.mouseSettings)) {
  // Without the thumb picture the sliders draw a plain thumb.
  (void)LoadImageFile(std::filesystem::path(app.settings.SkinFolder) / "Thumb2.png", thumb_);
  const PageControls make(window, pageSkin, app.language,
                          QString::fromStdString(app.settings.CommonFontName));
  // Every control of the page shows and hides with it.
  auto add = [this](auto* control) {
    controls_.push_back(control);
    return control;
  };
  add(make.Label("STA_DBL_CLK_TIME"));
  add(make.Label("STA_DBL_CLK_TIME2"));
  doubleClick_ =
      add(make.Slider("SLD_DBL_CLK_TIME", thumb_, kDoubleClickPositions, &target_, kIdDoubleClick));
  add(make.Label("STA_DBL_CLK_TIME_SLOW"));
  add(make.Label("STA_DBL_CLK_TIME_FAST"));
  add(make.Label("STA_MOUSE_SPEED", "BTN_MOUSE_SPEED"));
  add(make.Label("STA_MOUSE_SPEED2", "BTN_MOUSE_SPEED2"));
  pointerSpeed_ = add(
      make.Slider("SLD_MOUSE_SPEED", thumb_, kPointerSpeedPositions, &target_, kIdPointerSpeed));
  add(make.Label("STA_MOUSE_REPORT_RATE"));
  add(make.Label("STA_MOUSE_REPORT_RATE2"));
  reportRate_ = add(make.ValueButton("BTN_MOUSE_REPORT_RATE"));
  add(make.Label("STA_MOUSE_WHEEL"));
  wheelLines_ = add(make.Button("RAD_MOUSE_WHEEL_LINES"));
  wheelPage_ = add(make.Button("RAD_MOUSE_WHEEL_PAGE"));
  wheelEdit_ = add(make.Edit("EDIT_MOUSE_WHEEL_LINES"));
  wheelUp_ = add(make.Button("BTN_MOUSE_WHEEL_LINES_UP"));
  wheelDown_ = add(make.Button("BTN_MOUSE_WHEEL_LINES_DOWN"));
  wheelEdit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), wheelEdit_));

  connect(reportRate_, &QAbstractButton::clicked, this, [this] { OpenReportRateMenu(); });
  connect(wheelLines_, &QAbstractButton::clicked, this, [this] { OnWheelLines(); });
  connect(wheelPage_, &QAbstractButton::clicked, this, [this] { OnWheelPage(); });
  connect(wheelUp_, &QAbstractButton::clicked, this, [this] { OnWheelStep(1); });
  connect(wheelDown_, &QAbstractButton::clicked, this, [this] { OnWheelStep(-1); });
  // Only what the user types counts, and only once the typing has been handled (the edit may be
  // corrected): the handling runs after the change, as a message the window posts to itself.
  connect(wheelEdit_, &QLineEdit::textEdited, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { OnWheelEdited(); }, Qt::QueuedConnection);
  });
  MarkMissingSettings();
  ShowPage(kNoPage);
  Refresh();
}

void PerformancePanel::MarkMissingSettings() {
  const QString missing =
      QString::fromStdString(app_.language.LookupText("INFO_DESKTOP_SETTING_MISSING"));
  const auto mark = [&missing](QWidget* control) {
    control->setEnabled(false);
    control->setToolTip(missing);
  };
  if (!present_.doubleClick) mark(doubleClick_);
  if (!present_.pointerSpeed) mark(pointerSpeed_);
  if (!present_.wheelLines) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{wheelLines_, wheelEdit_, wheelUp_, wheelDown_}) {
      mark(control);
    }
  }
  if (!present_.wheelPage) mark(wheelPage_);
}

PerformancePanel::~PerformancePanel() {
  // The sliders belong to the window and may outlive the panel (a drag the window's end abandons).
  doubleClick_->SetNotifyWindow(nullptr, 0);
  pointerSpeed_->SetNotifyWindow(nullptr, 0);
}

bool PerformancePanel::event(QEvent* event) {
  return DispatchWindowMessage(event, *this) || QObject::event(event);
}

std::intptr_t PerformancePanel::OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
  if (message != UM_SLIDER_CHANGED || lParam != 1) return 0;  // only a release chooses
  const int controlId = static_cast<int>(wParam);
  if (controlId == kIdDoubleClick) OnSliderReleased(controlId, doubleClick_->GetPos());
  if (controlId == kIdPointerSpeed) OnSliderReleased(controlId, pointerSpeed_->GetPos());
  return 0;
}

void PerformancePanel::Refresh() {
  const DeviceSettings& device = app_.profiles.Data().device;
  const WindowsSettings& windows = app_.profiles.Data().windows;
  reportRate_->setText(QString::fromLatin1(ReportRateText(device.byReportRateIndex)));
  doubleClick_->SetPos(DoubleClickPosition(windows.uDoubleClickTime), false, false);
  pointerSpeed_->SetPos(PointerSpeedPosition(windows.uMouseSpeed), false, false);
  const bool page = windows.uWheelScrollLines == kWheelPage;
  wheelLines_->SetCheck(page ? 0 : 1);
  wheelPage_->SetCheck(page ? 1 : 0);
  EnableWheelLines(!page);
  if (!page) {
    ShowWheelLines(windows.uWheelScrollLines);
  } else if (const auto number = WheelNumber(wheelEdit_->text().toStdU16String());
             !number || ClampWheelLines(number) != *number) {
    // The edit keeps a number to return to; the text set here stores nothing.
    ShowWheelLines(kWheelLinesFallback);
  }
}

void PerformancePanel::ShowPage(int page) {
  for (QWidget* control : controls_) control->setVisible(page == kPagePerformance);
}

void PerformancePanel::OnSliderReleased(int controlId, int position) {
  WindowsSettings& windows = app_.profiles.Data().windows;
  const std::string& file = app_.profiles.CurrentPath();
  // The desktop refusing a value leaves the profile's value; nothing is reported.
  if (controlId == kIdDoubleClick) {
    windows.uDoubleClickTime = DoubleClickTimeAt(position);
    (void)ApplyDoubleClickTime(*app_.platform.mouseSettings, windows);
    WarnIfUnsaved(app_.messages, WriteDoubleClickTime(file, windows.uDoubleClickTime));
  } else {
    windows.uMouseSpeed = PointerSpeedAt(position);
    (void)ApplyPointerSpeed(*app_.platform.mouseSettings, windows);
    WarnIfUnsaved(app_.messages, WritePointerSpeed(file, windows.uMouseSpeed));
  }
}

void PerformancePanel::OpenReportRateMenu() {
  CMenuEx menu(reportRate_, reportRate_);
  for (int index = 0; index < kReportRateCount; ++index) {
    menu.AppendItem(kFirstReportRateCommand + index,
                    QString::fromLatin1(ReportRateText(static_cast<std::uint8_t>(index))));
  }
  const int command = TrackPageMenu(menu, *reportRate_, kValueMenuColours);
  if (command >= kFirstReportRateCommand && command < kFirstReportRateCommand + kReportRateCount) {
    ChooseReportRate(command - kFirstReportRateCommand);
  }
}

void PerformancePanel::ChooseReportRate(int index) {
  if (index < 0 || index >= kReportRateCount) return;
  DeviceSettings& device = app_.profiles.Data().device;
  device.byReportRateIndex = static_cast<std::uint8_t>(index);
  reportRate_->setText(QString::fromLatin1(ReportRateText(device.byReportRateIndex)));
  if (app_.device.IsConnected() == Result::Ok) {
    // A mouse that refuses it gets it again with the next whole profile.
    DeviceCommands commands(app_.device, device);
    (void)commands.ApplyReportRate();
  }
  WarnIfUnsaved(app_.messages,
                WriteReportRateIndex(app_.profiles.CurrentPath(), device.byReportRateIndex));
}

void PerformancePanel::OnWheelLines() {
  const std::optional<std::uint32_t> number = WheelNumber(wheelEdit_->text().toStdU16String());
  std::uint32_t lines = number.value_or(0);
  if (lines < kWheelLinesMin || lines > kWheelLinesMax) {
    lines = kWheelLinesFallback;
    ShowWheelLines(lines);
  }
  app_.profiles.Data().windows.uWheelScrollLines = lines;
  ApplyWheel();
  EnableWheelLines(true);
}

void PerformancePanel::OnWheelPage() {
  app_.profiles.Data().windows.uWheelScrollLines = kWheelPage;
  ApplyWheel();
  EnableWheelLines(false);
}

void PerformancePanel::OnWheelStep(int step) {
  std::uint32_t& lines = app_.profiles.Data().windows.uWheelScrollLines;
  if (lines == kWheelPage) return;  // the buttons are off then
  if (step > 0 && lines < kWheelLinesMax) ++lines;
  if (step < 0 && lines >= kWheelLinesMin + 1) --lines;
  lines = ClampWheelLines(lines);
  ShowWheelLines(lines);
  ApplyWheel();
}

void PerformancePanel::OnWheelEdited() {
  // Typing that is handled after one screen per notch was chosen changes nothing.
  if (app_.profiles.Data().windows.uWheelScrollLines == kWheelPage) return;
  const std::optional<std::uint32_t> number = WheelNumber(wheelEdit_->text().toStdU16String());
  const std::uint32_t lines = ClampWheelLines(number);
  if (number != lines) ShowWheelLines(lines);
  app_.profiles.Data().windows.uWheelScrollLines = lines;
  ApplyWheel();
}

void PerformancePanel::ApplyWheel() {
  WindowsSettings& windows = app_.profiles.Data().windows;
  // A worker that cannot start takes the value with the next change; the profile keeps it.
  (void)QueueWheelLines(app_.wheelLines, windows);
  WarnIfUnsaved(app_.messages,
                WriteWheelScrollLines(app_.profiles.CurrentPath(), windows.uWheelScrollLines));
}

void PerformancePanel::EnableWheelLines(bool enable) {
  enable = enable && present_.wheelLines;
  wheelEdit_->setEnabled(enable);
  wheelUp_->setEnabled(enable);
  wheelDown_->setEnabled(enable);
}

void PerformancePanel::ShowWheelLines(std::uint32_t lines) {
  wheelEdit_->setText(QString::number(lines));  // setText is no typing: it stores nothing
}

}  // namespace vexlo
