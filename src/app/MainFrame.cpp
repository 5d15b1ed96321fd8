#include "app/MainFrame.h"

#include "app/MainWindowLayout.h"
#include "app/MainWindowSkins.h"
#include "common/LanguageTable.h"
#include "skin/CImageBtn.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

QString Text(const LanguageTable& language, const std::string& key) {
  return QString::fromStdString(language.LookupText(key));
}

}  // namespace

MainFrame::MainFrame(QWidget& window, MainWindowSkins& skins, const LanguageTable& language,
                     const QString& fontFace, std::function<void(int id)> onCommand)
    : skins_(skins) {
  SkinFile<DibImage>& main = skins_.Main();
  for (const FrameControl& control : FrameControls()) {
    const std::string key(control.key);
    auto* button = new CImageBtn(ButtonStyleFor(key).kind, &window);
    controls_[control.id] = button;
    if (control.kind == FrameKind::KeyPicture) continue;  // placed by PlaceKeyPictures
    const bool picture = control.kind == FrameKind::Picture;
    const SkinImage* normal = picture ? &skins_.ComposedMain() : &main.Main();
    const SkinImage* lit = picture ? &skins_.ComposedMainHighlight() : &main.Highlight();
    button->SetImages(main.Path(), key, normal, lit, lit, normal, lit);
    if (picture) {
      button->setEnabled(false);
      continue;
    }
    QString caption = Text(language, key);
    if (control.kind == FrameKind::ModelRadio) {
      caption = Text(language, key + "_LINE1") + QLatin1Char('\n') + Text(language, key + "_LINE2");
    }
    if (caption == QString::fromStdString(key)) caption.clear();  // an icon button
    ApplyButtonStyle(*button, key, caption, fontFace);
    if (!control.toolTip.empty()) button->SetToolTip(Text(language, std::string(control.toolTip)));
    QObject::connect(button, &QAbstractButton::clicked, &window,
                     [onCommand, id = control.id] { onCommand(id); });
  }
  Control(kIdApply)->setEnabled(false);
  Control(kIdPageLineCorrection)->hide();
}

CImageBtn* MainFrame::Control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void MainFrame::ShowPage(int page) {
  for (const int id : {kIdPageMouse, kIdPageMacro, kIdPageKeys, kIdPagePerformance,
                       kIdPageLighting, kIdPageLineCorrection}) {
    Control(id)->SetCheck((CheckedPagesOf(id) & PageBit(page)) ? 1 : 0);
  }
  for (const auto& [id, control] : controls_) {
    const std::uint8_t pages = PagesOf(id);
    if (pages != 0) control->setVisible((pages & PageBit(page)) != 0);
  }
}

void MainFrame::ShowModelChoice(int deviceKind, std::size_t model) {
  for (int choice = 0; choice < kModelCount; ++choice) {
    CImageBtn* radio = Control(kIdFirstModelRadio + choice);
    const auto index = static_cast<std::size_t>(choice);
    radio->setEnabled(deviceKind == 0 || DeviceModels()[index].deviceKind == deviceKind);
    radio->SetCheck(index == model ? 1 : 0);
  }
}

void MainFrame::PlaceKeyPictures(std::size_t model) {
  const SkinFile<GdiplusImage>& skin = skins_.Model(model);
  const DibImage& plain = skins_.ComposedMain();
  const DibImage& lit = skins_.ComposedMainHighlight();
  for (int n = 0; n < 7; ++n) {
    CImageBtn* picture = Control(kIdFirstKeyPicture + n);
    const std::string key = "BTN_MOUSE_PIC" + std::to_string(n + 1);
    // Lit while its key button is pointed at; dark (the plain picture) the rest of the time.
    picture->SetImages(skin.Path(), key, &lit, &lit, &lit, &plain, &lit);
    picture->SetCheckedImageOverride(CImageBtn::kOverrideHover | CImageBtn::kOverridePressed |
                                     CImageBtn::kOverrideDisabled);
    picture->setEnabled(false);
  }
}

}  // namespace vexlo
