#include "GalleryWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "common/IniDocument.h"
#include "grid/CGridColumnTraitEdit.h"
#include "grid/CGridListCtrlEx.h"
#include "grid/CGridRowTraitXP.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/SkinFile.h"
#include "skin/SkinStyles.h"

namespace vexlo::gallery {
namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}
bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Controls that the program places but never shows.
bool NeverShown(const std::string& key) {
  if (key == "BTN_MASK" || key == "BTN_MOUSE_LINE_COR" || EndsWith(key, "_CHANNEL")) return true;
  if (StartsWith(key, "SLD_LIGHT_") || StartsWith(key, "EDIT_LIGHT_")) return true;
  if (StartsWith(key, "STA_LIGHT_")) return key != "STA_LIGHT_MODE";
  if (StartsWith(key, "BTN_LIGHT_")) return key != "BTN_LIGHT_MODE" && key != "BTN_LIGHT_RESET";
  return false;
}

// The six step pictures of the macro list, drawn by the skin generator in one row.
std::vector<QPixmap> ActionIcons(const std::filesystem::path& skinFolder) {
  const QPixmap strip(QString::fromStdString((skinFolder / "MacroSteps.png").string()));
  std::vector<QPixmap> icons;
  if (strip.isNull()) return icons;
  for (int icon = 0; icon < 6; ++icon) {
    icons.push_back(strip.copy(icon * strip.height(), 0, strip.height(), strip.height()));
  }
  return icons;
}

class Swatch final : public QWidget {
 public:
  Swatch(QWidget* parent, QColor colour) : QWidget(parent), colour_(colour) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
  }

 private:
  QColor colour_;
};

}  // namespace

GalleryWindow::GalleryWindow(const std::filesystem::path& programFolder,
                             const LanguageTable& language)
    : programFolder_(programFolder), language_(language) {
  SetImages(ImageMode::Opaque, &background_, nullptr);
}

DibImage& GalleryWindow::KeepImage() {
  kept_.push_back(std::make_unique<DibImage>());
  return *kept_.back();
}

QString GalleryWindow::Text(const std::string& key) const {
  const auto it = texts_.find(key);
  if (it != texts_.end()) return it->second;
  return QString::fromStdString(language_.LookupText(key));
}

CImageBtn* GalleryWindow::Button(const std::string& key) const {
  return findChild<CImageBtn*>(QString::fromStdString(key));
}

void GalleryWindow::AddControls(const std::filesystem::path& skinIni, const SkinImage& main,
                                const SkinImage& highlight) {
  IniDocument doc;
  (void)doc.Load(skinIni);  // a missing skin file places nothing, as in the program
  for (const std::string& key : doc.Keys(kControlSection)) {
    if (NeverShown(key)) continue;
    if (StartsWith(key, "BTN_MOUSE_CPI_COLOR")) {
      AddSwatch(skinIni, key);
    } else if (StartsWith(key, "BTN_") || StartsWith(key, "RAD_") || StartsWith(key, "CHK_")) {
      AddButton(skinIni, key, main, highlight);
    } else if (StartsWith(key, "STA_")) {
      AddLabel(skinIni, key);
    } else if (StartsWith(key, "EDIT_")) {
      AddEdit(skinIni, key);
    } else if (StartsWith(key, "SLD_")) {
      AddSlider(skinIni, key, main, highlight);
    } else if (StartsWith(key, "LIST_")) {
      AddList(skinIni, key);
    }
  }
}

void GalleryWindow::AddButton(const std::filesystem::path& ini, const std::string& key,
                              const SkinImage& main, const SkinImage& highlight) {
  auto* button = new CImageBtn(ButtonStyleFor(key).kind, this);
  const bool radioFromMain = StartsWith(key, "RAD_FLAG_");
  button->SetImages(ini, key, &main, radioFromMain ? &main : &highlight,
                    radioFromMain ? &main : &highlight, &main, &highlight);
  // A key without a text is a picture or an icon button: no caption.
  QString caption = Text(key);
  if (caption == QString::fromStdString(key)) caption.clear();
  ApplyButtonStyle(*button, key, caption, QStringLiteral("Open Sans"));
  if (StartsWith(key, "BTN_MOUSE_PIC") || StartsWith(key, "BTN_LINE_COR_") || key == "BTN_INFO" ||
      key == "BTN_SUBTITLE") {
    button->setEnabled(false);
  }
}

void GalleryWindow::AddLabel(const std::filesystem::path& ini, const std::string& key) {
  const LabelStyle style = LabelStyleFor(key);
  auto* label = new QLabel(
      Text(key == "STA_MOUSE_SPEED" || key == "STA_MOUSE_SPEED2" ? "BTN" + key.substr(3) : key),
      this);
  PlaceControl(ini, key, *label);
  label->setFont(CreateSkinFont(style.height, style.weight, QStringLiteral("Open Sans")));
  label->setAlignment(style.align);
  label->setWordWrap(style.wrap);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, style.colour);
  if (style.background.isValid()) {
    palette.setColor(QPalette::Window, style.background);
    label->setAutoFillBackground(true);
  }
  label->setPalette(palette);
}

void GalleryWindow::AddEdit(const std::filesystem::path& ini, const std::string& key) {
  auto* edit = new QLineEdit(Text(key), this);
  PlaceControl(ini, key, *edit);
  edit->setFrame(false);
  edit->setFont(CreateSkinFont(-14, 400, QStringLiteral("Open Sans")));
  edit->setStyleSheet(
      QStringLiteral("QLineEdit { background: #06111E; color: #C8C8C8; padding-left: 6px; }"));
}

void GalleryWindow::AddSlider(const std::filesystem::path& ini, const std::string& key,
                              const SkinImage& main, const SkinImage& highlight) {
  GdiplusImage& thumb = StartsWith(key, "SLD_MOUSE_CPI") ? thumbCpi_ : thumb_;
  if (!thumb.IsLoaded()) {
    (void)LoadImageFile(
        programFolder_ / "Skins" / (&thumb == &thumbCpi_ ? "Thumb3.png" : "Thumb2.png"), thumb);
  }
  auto* slider = new CImageSlider(this);
  SetupSlider(ini, key, *slider, &main, &highlight, {&thumb, &thumb, &thumb, &thumb});
  const QStringList value = Text(key).split(QLatin1Char('/'));
  (void)slider->SetRange(0, std::max(1, value.value(1).toInt()));
  slider->SetNotifyAlways(false);
  slider->SetPos(value.value(0).toInt(), false, false);
}

void GalleryWindow::AddList(const std::filesystem::path& ini, const std::string& key) {
  auto* list = new CGridListCtrlEx(this);
  PlaceControl(ini, key, *list);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setFont(CreateSkinFont(-13, 400, QStringLiteral("Open Sans")));
  QPalette colours = list->palette();
  colours.setColor(QPalette::Button, QColor(0x0F, 0x1C, 0x2B));
  colours.setColor(QPalette::ButtonText, QColor(0x8D, 0xA2, 0xB8));
  colours.setColor(QPalette::Mid, QColor(0x1C, 0x2E, 0x43));
  colours.setColor(QPalette::Highlight, QColor(0x08, 0x69, 0xBA));
  list->setPalette(colours);
  list->SetCellMargin(1.2);
  auto rows = std::make_unique<CGridRowTraitXP>();
  rows->textColour = ColorFromRef(0xC8C8C8);
  rows->backColour = Qt::black;
  list->SetDefaultRowTrait(std::move(rows));
  list->SetImageList(ActionIcons(programFolder_ / "Skins"));
  list->InsertHiddenLabelColumn();
  list->InsertColumnTrait(1, Text("INFO_MACRO_ACTION_COLUMN_DATE"), Qt::AlignLeft, 173,
                          std::make_unique<CGridColumnTraitEdit>());
  list->InsertColumnTrait(2, Text("INFO_MACRO_ACTION_COLUMN_TYPE"), Qt::AlignLeft, 75);
  // Each row: "name|kind" with kind k (key), m (mouse) or d (delay) and press/release in the
  // second text.
  const QStringList entries = Text(key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& row : entries) {
    const QStringList cells = row.split(QLatin1Char('|'));
    const int at = list->InsertItem(list->GetItemCount());
    const QString kind = cells.value(2);
    list->SetItemText(at, 1, cells.value(0));
    list->SetItemText(at, 2, cells.value(1));
    list->SetCellImage(at, 1, kind == "m" ? 0 : kind == "k" ? 1 : 2);
    const bool up = cells.value(1) == Text("INFO_MACRO_ACTION_UP");
    list->SetCellImage(at, 2, kind == "d" ? 5 : up ? 4 : 3);
  }
}

void GalleryWindow::AddSwatch(const std::filesystem::path& ini, const std::string& key) {
  auto* swatch = new Swatch(this, QColor(Text(key)));
  PlaceControl(ini, key, *swatch);
}

}  // namespace vexlo::gallery
