#include "GalleryWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTableWidget>

#include "common/IniDocument.h"
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

// What the image slider shows: the channel cut from the two images split at the thumb, and the
// thumb over it.
class SliderPreview final : public QWidget {
 public:
  SliderPreview(QWidget* parent, QRect track, const SkinImage& right, const SkinImage& left,
                const SkinImage& thumb, int position, int maximum)
      : QWidget(parent),
        track_(track),
        right_(right),
        left_(left),
        thumb_(thumb),
        position_(position),
        maximum_(maximum) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int split = track_.left() + track_.width() * position_ / maximum_;
    const QPoint source = geometry().topLeft();
    left_.DrawOpaque(painter, QRect(0, 0, split, height()), QRect(source, QSize(split, height())));
    right_.DrawOpaque(painter, QRect(split, 0, width() - split, height()),
                      QRect(source + QPoint(split, 0), QSize(width() - split, height())));
    const QRect knob(split - thumb_.Width() / 2, track_.center().y() - thumb_.Height() / 2 + 1,
                     thumb_.Width(), thumb_.Height());
    thumb_.DrawBlended(painter, knob, QRect(QPoint(0, 0), thumb_.Size()));
  }

 private:
  QRect track_;
  const SkinImage& right_;
  const SkinImage& left_;
  const SkinImage& thumb_;
  int position_;
  int maximum_;
};

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
  const QRect rect = ReadControlRect(ini, key);
  const QRect channel = ReadControlRect(ini, key + "_CHANNEL").translated(-rect.topLeft());
  if (thumb_.Width() == 0) {
    (void)LoadImageFile(
        programFolder_ / "Skins" / (StartsWith(key, "SLD_MOUSE_CPI") ? "Thumb3.png" : "Thumb2.png"),
        thumb_);
  }
  const QStringList value = Text(key).split(QLatin1Char('/'));
  const int position = value.value(0).toInt();
  const int maximum = std::max(1, value.value(1).toInt());
  auto* slider = new SliderPreview(this, channel, main, highlight, thumb_, position, maximum);
  slider->setGeometry(rect);
}

void GalleryWindow::AddList(const std::filesystem::path& ini, const std::string& key) {
  auto* list = new QTableWidget(0, 2, this);
  PlaceControl(ini, key, *list);
  list->setFont(CreateSkinFont(-13, 400, QStringLiteral("Open Sans")));
  list->setHorizontalHeaderLabels(
      {Text("INFO_MACRO_ACTION_COLUMN_DATE"), Text("INFO_MACRO_ACTION_COLUMN_TYPE")});
  list->setColumnWidth(0, 173);
  list->setColumnWidth(1, 75);
  list->verticalHeader()->hide();
  list->setShowGrid(false);
  list->setFrameShape(QFrame::NoFrame);
  list->horizontalHeader()->setStretchLastSection(true);
  list->setStyleSheet(QStringLiteral(
      "QTableWidget { background: black; color: #C8C8C8; selection-background-color: #0869BA; }"
      "QHeaderView::section { background: #0F1C2B; color: #8DA2B8; border: none;"
      " border-bottom: 1px solid #1C2E43; padding: 4px 8px; }"));
  const QStringList rows = Text(key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& row : rows) {
    const QStringList cells = row.split(QLatin1Char('|'));
    const int at = list->rowCount();
    list->insertRow(at);
    for (int column = 0; column < 2; ++column) {
      list->setItem(at, column, new QTableWidgetItem(cells.value(column)));
    }
    list->setRowHeight(at, 26);
  }
}

void GalleryWindow::AddSwatch(const std::filesystem::path& ini, const std::string& key) {
  auto* swatch = new Swatch(this, QColor(Text(key)));
  PlaceControl(ini, key, *swatch);
}

}  // namespace vexlo::gallery
