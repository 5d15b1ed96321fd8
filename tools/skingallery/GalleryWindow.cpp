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

namespace vexlo::gallery {
namespace {

constexpr std::uint32_t Ref(int r, int g, int b) {
  return static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
}

// The caption colours of the default skin (COLORREF): grey text that turns white under the
// pointer, dim when disabled.
constexpr CImageBtn::StateColours kButtonText = {Ref(0xC8, 0xC8, 0xC8), Ref(0xFF, 0xFF, 0xFF),
                                                 Ref(0xFF, 0xFF, 0xFF), Ref(0x60, 0x60, 0x60),
                                                 Ref(0xFF, 0xFF, 0xFF)};
constexpr CImageBtn::StateColours kTabText = {Ref(0x9A, 0xAD, 0xC2), Ref(0xFF, 0xFF, 0xFF),
                                              Ref(0xFF, 0xFF, 0xFF), Ref(0x60, 0x60, 0x60),
                                              Ref(0xFF, 0xFF, 0xFF)};
constexpr std::uint32_t kLeftLine = dt::kLeft | dt::kVCenter | dt::kSingleLine | dt::kEndEllipsis;
constexpr std::uint32_t kCentredLine = dt::kCenter | dt::kVCenter | dt::kSingleLine;

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

struct ButtonStyle {
  CImageBtn::Kind kind = CImageBtn::Kind::Push;
  int height = -14;
  int weight = 400;
  CImageBtn::StateColours colours = kButtonText;
  std::uint32_t format = kCentredLine;
  int left = 0, top = 0, right = 0;
  int group = 0;
};

bool IsDropdown(const std::string& key) {
  return EndsWith(key, "_LIST") || key == "BTN_LIGHT_MODE" || key == "BTN_MOUSE_REPORT_RATE" ||
         (StartsWith(key, "BTN_MOUSE_KEY") && key.size() == 14);
}

ButtonStyle StyleFor(const std::string& key) {
  ButtonStyle style;
  if (StartsWith(key, "RAD_DEV")) {
    style.kind = CImageBtn::Kind::AutoRadio;
    style.height = -13;
    style.format = dt::kCenter | dt::kWordBreak;
    style.top = 3;
    style.group = 1;
  } else if (StartsWith(key, "RAD_FLAG_")) {  // the macro-key dialog's own values
    style.kind = CImageBtn::Kind::AutoRadio;
    style.format = 0x24;
    style.left = 18;
    style.colours = {Ref(0xC8, 0xC8, 0xC8), Ref(0xC8, 0xC8, 0xC8), Ref(0xC8, 0xC8, 0xC8),
                     Ref(0x60, 0x60, 0x60), Ref(0xC8, 0xC8, 0xC8)};
  } else if (StartsWith(key, "RAD_")) {
    style.kind = CImageBtn::Kind::AutoRadio;
    style.format = kLeftLine;
    style.left = 34;
    style.group = StartsWith(key, "RAD_MOUSE_WHEEL") ? 2 : 3;
  } else if (key == "CHK_MACRO_ACTION_RECORD") {
    style.kind = CImageBtn::Kind::AutoCheckBox;
    style.weight = 600;
    style.format = kLeftLine;
    style.left = 46;
  } else if (StartsWith(key, "CHK_")) {
    style.kind = CImageBtn::Kind::AutoCheckBox;
    style.format = kLeftLine;
    style.left = 34;
  } else if (key == "BTN_MOUSE" || key == "BTN_MACRO" || key == "BTN_MOUSE_KEY" ||
             key == "BTN_MOUSE_ADV" || key == "BTN_MOUSE_LIGHT") {
    style.weight = 600;
    style.colours = kTabText;
  } else if (IsDropdown(key)) {
    style.format = kLeftLine | dt::kNoPrefix;
    style.left = 14;
    style.right = -44;
  } else if (key == "BTN_INFO" || key == "BTN_SUBTITLE") {
    // Disabled text areas: one colour in every state.
    style.colours.fill(Ref(0xC8, 0xC8, 0xC8));
    style.height = -15;
    style.format = dt::kCentreWrapped | dt::kWordBreak | dt::kVCenter | dt::kCenter;
  } else {
    style.weight = 600;
  }
  return style;
}

// A label as the colour static of the later windows draws it: transparent, one colour.
struct LabelStyle {
  int height = -13;
  int weight = 400;
  QColor colour{0x8D, 0xA2, 0xB8};
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
  bool wrap = false;
  QColor background;  // invalid: transparent
};

LabelStyle LabelStyleFor(const std::string& key) {
  LabelStyle style;
  if (key == "STA_TITLE") {
    style.height = -17;
    style.weight = 700;
    style.colour = ColorFromRef(0xC86E3C);
  } else if (key == "STA_KEY") {
    style.height = -18;
    style.weight = 700;
    style.colour = ColorFromRef(0xC86E3C);
    style.align = Qt::AlignCenter;
    style.background = Qt::white;
  } else if (key == "STA_SW_VER") {
    style.colour = Qt::white;
    style.align = Qt::AlignCenter;
  } else if (StartsWith(key, "STA_MOUSE_CPI_VALUE")) {
    style.height = -16;
    style.weight = 700;
    style.colour = QColor(0x9C, 0xC8, 0xFF);
    style.align = Qt::AlignRight | Qt::AlignVCenter;
  } else if (key == "STA_DBL_CLK_TIME2" || key == "STA_MOUSE_SPEED2" ||
             key == "STA_MOUSE_REPORT_RATE2" || key == "STA_LINE_COR2") {  // sub-headings
    style.align = Qt::AlignLeft | Qt::AlignTop;
    style.wrap = true;
  } else if (key == "STA_INTVL" || key == "STA_COUNT") {
    style.height = -14;
    style.colour = QColor(0xC8, 0xC8, 0xC8);
  } else if (key == "STA_DBL_CLK_TIME_FAST") {
    style.align = Qt::AlignRight | Qt::AlignVCenter;
  } else if (key == "STA_PROFILE_NAME" || key == "STA_MACRO_NAME" || EndsWith(key, "_SLOW")) {
  } else {  // headings
    style.height = -15;
    style.weight = 600;
    style.colour = QColor(0xE8, 0xEE, 0xF5);
  }
  return style;
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
  const ButtonStyle style = StyleFor(key);
  auto* button = new CImageBtn(style.kind, this);
  const bool radioFromMain = StartsWith(key, "RAD_FLAG_");
  button->SetImages(ini, key, &main, radioFromMain ? &main : &highlight,
                    radioFromMain ? &main : &highlight, &main, &highlight);
  // A key without a text is a picture or an icon button: no caption.
  QString caption = Text(key);
  if (caption == QString::fromStdString(key)) caption.clear();
  if (!caption.isEmpty()) {
    button->SetTextStyle(style.height, style.weight, QStringLiteral("Open Sans"), style.colours,
                         style.format);
    button->SetTextMargins(style.left, style.top, style.right, 0);
    button->setText(caption);
  }
  button->SetRadioGroup(style.group);
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
