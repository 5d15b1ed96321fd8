#include "app/panels/PageControls.h"

#include <QLabel>

#include "common/LanguageTable.h"
#include "platform/ports/UserMessages.h"
#include "skin/CColorEdit.h"
#include "skin/CImageBtn.h"
#include "skin/CMenuEx.h"
#include "skin/DrawText.h"
#include "skin/MenuBorder.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kMenuText = 0xC8C8C8;
constexpr std::uint32_t kMenuGreyText = 0x606060;
constexpr std::uint32_t kMenuSelection = 0xBA6908;
constexpr std::uint32_t kEditText = 0xC8C8C8;
constexpr int kEditFontHeight = -14;

}  // namespace

PageControls::PageControls(QWidget& window, SkinFile<DibImage>& skin, const LanguageTable& language,
                           const QString& fontFace)
    : window_(window), skin_(skin), language_(language), face_(fontFace) {}

QString PageControls::Text(const std::string& key) const {
  return QString::fromStdString(language_.LookupText(key));
}

namespace {

CImageBtn* MakeButton(QWidget& window, const SkinFile<DibImage>& skin, const std::string& key,
                      const QString& caption, const QString& face) {
  auto* button = new CImageBtn(ButtonStyleFor(key).kind, &window);
  button->SetImages(skin.Path(), key, &skin.Main(), &skin.Highlight(), &skin.Highlight(),
                    &skin.Main(), &skin.Highlight());
  ApplyButtonStyle(*button, key, caption, face);
  return button;
}

}  // namespace

CImageBtn* PageControls::Button(const std::string& key) const {
  QString caption = Text(key);
  if (caption == QString::fromStdString(key)) caption.clear();  // an icon button
  return MakeButton(window_, skin_, key, caption, face_);
}

CImageBtn* PageControls::ValueButton(const std::string& key) const {
  // A placeholder caption turns the caption's look on; the page sets the value.
  CImageBtn* button = MakeButton(window_, skin_, key, QStringLiteral(" "), face_);
  button->setText(QString());
  return button;
}

QLabel* PageControls::Label(const std::string& key, const std::string& textKey) const {
  const LabelStyle style = LabelStyleFor(key);
  auto* label = new QLabel(Text(textKey), &window_);
  skin_.Place(key, *label);
  label->setFont(CreateSkinFont(style.height, style.weight, face_));
  label->setAlignment(style.align);
  label->setWordWrap(style.wrap);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, style.colour);
  if (style.background.isValid()) {
    palette.setColor(QPalette::Window, style.background);
    label->setAutoFillBackground(true);
  }
  label->setPalette(palette);
  return label;
}

CColorEdit* PageControls::Edit(const std::string& key) const {
  auto* edit = new CColorEdit(&window_);
  const QFont font = CreateSkinFont(kEditFontHeight, 400, face_);
  SetupColorEdit(skin_.Path(), key, *edit, kEditText, &font);
  edit->setAlignment(Qt::AlignCenter);
  return edit;
}

CImageSlider* PageControls::Slider(const std::string& key, const SkinImage& thumb, int maximum,
                                   MessageTarget* notify, int controlId) const {
  auto* slider = new CImageSlider(&window_);
  SetupSlider(skin_.Path(), key, *slider, &skin_.Main(), &skin_.Highlight(),
              {&thumb, &thumb, &thumb, &thumb});
  (void)slider->SetRange(0, maximum);  // maximum is above 0
  slider->SetNotifyAlways(false);
  slider->SetNotifyWindow(notify, controlId);
  return slider;
}

MenuStyle PageMenuStyle(std::uint32_t background, std::uint32_t text, std::uint32_t textFormat,
                        int textGap) {
  MenuStyle style;
  style.itemBackground = background;
  style.iconColumnBackground = background;
  style.textColour = text;
  style.greyTextColour = kMenuGreyText;
  style.separatorColour = text;
  style.selectionBorder = kMenuSelection;
  style.selectionFill = kMenuSelection;
  style.textFormat = textFormat;
  style.iconWidth = 0;
  style.iconHeight = 0;
  style.iconMarginX = 0;
  style.iconMarginY = 0;
  style.textGap = textGap;
  return style;
}

int TrackPageMenu(CMenuEx& menu, QWidget& button, const PageMenuColours& colours) {
  const MenuStyle style = PageMenuStyle(colours.background, kMenuText);
  menu.Convert();
  menu.SetStyle(style);
  menu.SetFixedItemWidth(button.width());
  SetMenuBorderColours(colours.outerBorder, colours.innerBorder);
  return menu.Track(button.mapToGlobal(QPoint(0, button.height())));
}

void WarnIfUnsaved(UserMessages& messages, Result written) {
  if (written == Result::Ok) return;
  (void)messages.ShowMessage("STA_MSG_INFO_FILE_WRITE", "STA_MSG_TITLE_WARN", UserMessages::kNotice,
                             UserMessages::kWarningColour);
}

}  // namespace vexlo
