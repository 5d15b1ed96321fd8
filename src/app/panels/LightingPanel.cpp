#include "app/panels/LightingPanel.h"

#include <QLabel>
#include <QWidget>

#include <string>

#include "app/AppContext.h"
#include "app/MainWindowLayout.h"
#include "app/panels/LightingPanelValues.h"
#include "app/panels/PageControls.h"
#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "device/DeviceCommands.h"
#include "device/DeviceSession.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/CColorButton.h"
#include "skin/CColorEdit.h"
#include "skin/CImageBtn.h"
#include "skin/CImageColorPicker.h"
#include "skin/CImageSlider.h"
#include "skin/CMenuEx.h"

namespace vexlo {
namespace {

constexpr int kIdFirstLevelSlider = 1135;  // 1135..1138: levels 0..3
constexpr PageMenuColours kColourMenuColours{0x4B2D0F, 0xC8C8C8, 0xC86E3C};
// The swatches' border by state (COLORREF): quiet, lit under the pointer, the accent when pressed.
constexpr CColorButton::BorderColours kSwatchBorder = {0x5C4A38, 0xE0E0E0, 0xBA6908, 0x404040};
constexpr int kSwatchBorderWidth = 2;

std::string Numbered(const char* key, int level) {
  return key + std::to_string(level + 1);
}

std::size_t At(int level) {
  return static_cast<std::size_t>(level);
}

}  // namespace

LightingPanel::LightingPanel(QWidget& window, AppContext& app, SkinFile<DibImage>& pageSkin)
    : app_(app), page_(kNoPage) {
  // Without the thumb picture the sliders draw a plain thumb.
  (void)LoadImageFile(std::filesystem::path(app.settings.SkinFolder) / "Thumb3.png", thumb_);
  const PageControls make(window, pageSkin, app.language,
                          QString::fromStdString(app.settings.CommonFontName));
  shown_.push_back(make.Label("STA_LIGHT_MODE"));
  mode_ = make.ValueButton("BTN_LIGHT_MODE");
  shown_.push_back(mode_);
  CImageBtn* reset = make.Button("BTN_LIGHT_RESET");
  shown_.push_back(reset);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    shown_.push_back(make.Label(Numbered("STA_MOUSE_CPI", level)));
    levels_[At(level)] = make.Slider(Numbered("SLD_MOUSE_CPI", level), thumb_, kLevelPositions,
                                     &target_, kIdFirstLevelSlider + level);
    shown_.push_back(levels_[At(level)]);
    values_[At(level)] = make.Label(Numbered("STA_MOUSE_CPI_VALUE", level), std::string());
    shown_.push_back(values_[At(level)]);
    auto* colour = new CColorButton(&window);
    pageSkin.Place(Numbered("BTN_MOUSE_CPI_COLOR", level), *colour);
    colour->SetBorder(kSwatchBorder, kSwatchBorderWidth);
    colour->setToolTip(make.Text("BTN_MOUSE_CPI_COLOR_TIP"));
    connect(colour, &QAbstractButton::clicked, this, [this, level] { OpenColourMenu(level); });
    colours_[At(level)] = colour;
  }

  // The skin places controls for lighting that this mouse has no use for; they never show.
  for (const char* key :
       {"STA_LIGHT_BRIGHTNESS", "STA_LIGHT_SPEED", "STA_LIGHT_DIRECT", "STA_LIGHT_COLOR",
        "STA_LIGHT_COLOR_RED", "STA_LIGHT_COLOR_GREEN", "STA_LIGHT_COLOR_BLUE"}) {
    hidden_.push_back(make.Label(key));
  }
  for (const char* key : {"SLD_LIGHT_BRIGHTNESS", "SLD_LIGHT_SPEED"}) {
    hidden_.push_back(make.Slider(key, thumb_, 4, nullptr, 0));  // brightness, speed: 0..4
  }
  for (const char* key : {"BTN_LIGHT_DIRECT_ACW", "BTN_LIGHT_DIRECT_CW"}) {
    hidden_.push_back(make.Button(key));
  }
  for (const char* key :
       {"EDIT_LIGHT_COLOR_RED", "EDIT_LIGHT_COLOR_GREEN", "EDIT_LIGHT_COLOR_BLUE"}) {
    hidden_.push_back(make.Edit(key));
  }
  for (int preset = 0; preset <= 9; ++preset) {
    auto* swatch = new CColorButton(&window);
    pageSkin.Place(preset == 0 ? "BTN_LIGHT_COLOR" : Numbered("BTN_LIGHT_COLOR", preset - 1),
                   *swatch);
    hidden_.push_back(swatch);
  }
  auto* picker = new CImageColorPicker(&window);
  pageSkin.Place("BTN_LIGHT_COLOR_PICKER", *picker);
  hidden_.push_back(picker);

  connect(mode_, &QAbstractButton::clicked, this, [this] { OpenModeMenu(); });
  connect(reset, &QAbstractButton::clicked, this, [this] { Reset(); });
  for (QWidget* control : hidden_) control->hide();
  ShowPage(kNoPage);
  Refresh();
}

LightingPanel::~LightingPanel() {
  // The sliders belong to the window and may outlive the panel (a drag the window's end abandons).
  for (CImageSlider* level : levels_) level->SetNotifyWindow(nullptr, 0);
}

bool LightingPanel::event(QEvent* event) {
  return DispatchWindowMessage(event, *this) || QObject::event(event);
}

std::intptr_t LightingPanel::OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
  const int level = static_cast<int>(wParam) - kIdFirstLevelSlider;
  if (message != UM_SLIDER_CHANGED || level < 0 || level >= kDpiLevelCount) return 0;
  // The value follows the thumb while it moves (and back, when a drag is abandoned); only the
  // release chooses it.
  const std::uint16_t value = LevelValueAt(levels_[At(level)]->GetPos());
  ShowLevelValue(level, value);
  if (lParam == 1) OnLevelReleased(level, value);
  return 0;
}

void LightingPanel::Refresh() {
  RefreshLevels();
  RefreshLighting();
}

void LightingPanel::RefreshLevels() {
  DeviceSettings& device = app_.profiles.Data().device;
  ClampLightingFields(device);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    const std::uint16_t value = device.pwDpi[At(level)];
    ShowLevelValue(level, value);
    levels_[At(level)]->SetPos(LevelPosition(value), false, false);
  }
}

void LightingPanel::RefreshLighting() {
  DeviceSettings& device = app_.profiles.Data().device;
  ClampLightingFields(device);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    colours_[At(level)]->SetFillColour(LevelColour(device.pbyCpiColorIdx[At(level)]));
  }
  const bool modes = app_.settings.nDevModel != 0;
  mode_->setEnabled(modes);
  mode_->setText(QString::fromStdString(app_.language.LookupText(
      modes ? LightModes()[device.byLightMode].textKey : "INFO_LIGHT_MODE_COLORFUL")));
  ApplyLightingTable();
}

void LightingPanel::ShowPage(int page) {
  page_ = page;
  if (page == kPageLighting) {
    ApplyLightingTable();
    return;
  }
  for (QWidget* control : shown_) control->hide();
  for (CColorButton* colour : colours_) colour->hide();
}

void LightingPanel::ApplyLightingTable() {
  if (page_ != kPageLighting) return;
  const bool colours =
      LevelColoursShown(app_.settings.nDevModel, app_.profiles.Data().device.byLightMode);
  for (CColorButton* colour : colours_) {
    if (!colours) colour->hide();
  }
  for (QWidget* control : shown_) control->show();
  for (CColorButton* colour : colours_) {
    if (colours) colour->show();
  }
}

void LightingPanel::OpenModeMenu() {
  CMenuEx menu(mode_, mode_);
  for (const LightMode& mode : LightModes()) {
    menu.AppendItem(mode.commandId, QString::fromStdString(app_.language.LookupText(mode.textKey)));
  }
  const int mode = LightModeOfCommand(TrackPageMenu(menu, *mode_, kValueMenuColours));
  if (mode >= 0) ChooseMode(mode);
}

void LightingPanel::OpenColourMenu(int level) {
  CColorButton& button = *colours_[At(level)];
  CMenuEx menu(&button, &button);
  for (int index = 0; index < kColourCount; ++index) {
    menu.AppendItem(kFirstColourCommand + index,
                    QString::fromStdString(LevelColourItem(static_cast<std::uint8_t>(index))));
  }
  const int index = TrackPageMenu(menu, button, kColourMenuColours) - kFirstColourCommand;
  if (index >= 0 && index < kColourCount) ChooseColour(level, index);
}

void LightingPanel::ChooseMode(int mode) {
  if (mode < 0 || mode >= kLightModeCount) return;
  app_.profiles.Data().device.byLightMode = static_cast<std::uint8_t>(mode);
  mode_->setText(QString::fromStdString(app_.language.LookupText(LightModes()[At(mode)].textKey)));
  CommitLighting();
  ApplyLightingTable();
}

void LightingPanel::ChooseColour(int level, int index) {
  if (level < 0 || level >= kDpiLevelCount || index < 0 || index >= kColourCount) return;
  const auto colour = static_cast<std::uint8_t>(index);
  app_.profiles.Data().device.pbyCpiColorIdx[At(level)] = colour;
  colours_[At(level)]->SetFillColour(LevelColour(colour));
  CommitLighting();
}

void LightingPanel::Reset() {
  DeviceCommands commands(app_.device, app_.profiles.Data().device);
  // The mouse refusing part of it gets everything again with the next whole profile.
  (void)commands.ResetLighting(app_.profiles.CurrentPath());
  RefreshLevels();
  RefreshLighting();
}

void LightingPanel::ShowLevelValue(int level, std::uint16_t value) {
  values_[At(level)]->setText(QString::number(value));
}

void LightingPanel::OnLevelReleased(int level, std::uint16_t value) {
  DeviceSettings& device = app_.profiles.Data().device;
  device.pwDpi[At(level)] = value;
  if (app_.device.IsConnected() == Result::Ok) {
    // A mouse that refuses it gets it again with the next whole profile.
    DeviceCommands commands(app_.device, device);
    (void)commands.ApplyDpiLevel(level);
  }
  WarnIfUnsaved(app_.messages, WriteDpiLevel(app_.profiles.CurrentPath(), level, value));
}

void LightingPanel::CommitLighting() {
  DeviceSettings& device = app_.profiles.Data().device;
  if (app_.device.IsConnected() == Result::Ok) {
    DeviceCommands commands(app_.device, device);
    (void)commands.ApplyLighting();  // as above
  }
  WarnIfUnsaved(app_.messages,
                WriteLighting(app_.profiles.CurrentPath(), device.crLight, device.byLightBrightness,
                              device.byLightSpeed, device.byLightMode, device.byLightParameter,
                              device.pbyCpiColorIdx));
}

}  // namespace vexlo
