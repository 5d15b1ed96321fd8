#include "MainWindowSkins.h"

#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "MouseArt.h"
#include "SkinTheme.h"
#include "SkinWindow.h"

namespace vexlo::skin {
namespace {

// The main window: caption bar, page tabs with the model choice, and a content area of three
// columns. Every page picture repeats the frame, so a page switch only repaints the content.
constexpr QSize kSize{1080, 680};
constexpr int kHeaderHeight = 60;
constexpr int kTabsBottom = 116;
const QRect kContent{0, kTabsBottom + 1, kSize.width(), kSize.height() - kTabsBottom - 1};
const QRect kColumnA{20, 132, 320, 532};
const QRect kStage{356, 132, 368, 532};
const QRect kColumnC{740, 132, 320, 532};

// Adds controls either with their keys (in the skin file that places them) or as looks only (in
// the pictures of the other pages, which show the same controls).
class Builder {
 public:
  Builder(SkinWindow& window, bool keys) : window_(window), keys_(keys) {}
  void operator()(const std::string& key, const QRect& rect, Look look = Look::None,
                  Icon icon = Icon::None) const {
    if (keys_) {
      window_.Control(key, rect, look, icon);
    } else {
      window_.Decor(rect, look, icon);
    }
  }

 private:
  SkinWindow& window_;
  bool keys_;
};

void Card(SkinWindow& window, const QRect& rect) {
  window.Backdrop([rect](QPainter& painter, bool) { DrawCard(painter, rect); });
}

void Separator(SkinWindow& window, int left, int right, int y) {
  window.Backdrop([=](QPainter& painter, bool) { DrawSeparator(painter, left, right, y); });
}

// A card's heading: an icon tile and, right of it, the heading label (and a sub-heading below
// it when there is one).
void CardHead(SkinWindow& window, const Builder& add, const QRect& card, Icon icon,
              const std::string& heading, const std::string& subheading = std::string()) {
  const QRect tile(card.left() + 20, card.top() + 20, 40, 40);
  window.Backdrop([tile, icon](QPainter& painter, bool) { DrawIconTile(painter, tile, icon); });
  const int left = tile.right() + 13;
  const int width = card.right() - 19 - left;
  if (subheading.empty()) {
    add(heading, QRect(left, tile.top(), width, 40));
  } else {
    add(heading, QRect(left, tile.top() - 2, width, 24));
    add(subheading, QRect(left, tile.top() + 22, width, 40));
  }
}

// A slider: the control, its channel (a track, empty in the normal picture and filled in the
// highlighted one, which the slider shows left of its thumb) and tick marks for its steps.
void Slider(SkinWindow& window, const Builder& add, const std::string& key, const QRect& rect,
            int steps) {
  const QRect channel(rect.left() + 12, rect.top() + (rect.height() - 16) / 2, rect.width() - 24,
                      16);
  add(key, rect);
  add(key + "_CHANNEL", channel, Look::Track);
  if (steps > 0) {
    window.Overlay(
        [channel, steps](QPainter& painter, bool) { DrawTicks(painter, channel, steps); });
  }
}

void DrawHeader(QPainter& painter) {
  const QRect header(0, 0, kSize.width(), kHeaderHeight);
  QLinearGradient fill(header.topLeft(), header.bottomLeft());
  fill.setColorAt(0, kHeaderTop);
  fill.setColorAt(1, kHeaderBottom);
  painter.fillRect(header.adjusted(1, 1, -1, 0), fill);
  DrawSeparator(painter, 1, kSize.width() - 1, kHeaderHeight);
  DrawSeparator(painter, 1, kSize.width() - 1, kTabsBottom);
  DrawLogoMark(painter, QRectF(20, 14, 32, 32));
  DrawWordmark(painter, 64, 13, 17, false);
}

// Caption bar, page tabs and model choice: the frame controls of Main.ini.
void AddFrame(SkinWindow& window, bool keys) {
  const Builder add(window, keys);
  window.Backdrop([](QPainter& painter, bool) { DrawHeader(painter); });
  add("BTN_MOUSE", QRect(300, 12, 128, 36), Look::TopTab);
  add("BTN_MACRO", QRect(436, 12, 128, 36), Look::TopTab);
  add("BTN_ABOUT", QRect(952, 12, 36, 36), Look::TitleButton, Icon::Info);
  add("BTN_MINIMIZE", QRect(992, 12, 36, 36), Look::TitleButton, Icon::Minimize);
  add("BTN_CLOSE", QRect(1032, 12, 36, 36), Look::CloseButton, Icon::Close);
  add("BTN_MOUSE_KEY", QRect(20, 68, 148, 48), Look::SubTab);
  add("BTN_MOUSE_ADV", QRect(172, 68, 148, 48), Look::SubTab);
  add("BTN_MOUSE_LIGHT", QRect(324, 68, 148, 48), Look::SubTab);
  add("BTN_MOUSE_LINE_COR", QRect(476, 68, 96, 48));  // never shown: nothing drawn for it
  for (int i = 0; i < 4; ++i) {
    add("RAD_DEV" + std::to_string(i + 1), QRect(572 + i * 124, 68, 116, 46), Look::ModelCard);
  }
  add("BTN_MASK", kContent);
}

// The profile panel of the button and performance pages.
void AddProfilePanel(SkinWindow& window, bool keys) {
  const Builder add(window, keys);
  const QRect card(kColumnC.left(), kColumnC.top(), kColumnC.width(), 320);
  const int left = card.left() + 20;
  const int width = card.width() - 40;
  Card(window, card);
  CardHead(window, add, card, Icon::Profile, "STA_PROFILE_SUBTITLE");
  add("BTN_PROFILE_LIST", QRect(left, 208, width, 40), Look::Dropdown);
  add("BTN_PROFILE_ADD", QRect(left, 258, 40, 36), Look::IconButton, Icon::Plus);
  add("BTN_PROFILE_DELETE", QRect(left + 48, 258, 40, 36), Look::IconButton, Icon::Trash);
  add("BTN_PROFILE_MORE", QRect(left + 96, 258, 40, 36), Look::IconButton, Icon::More);
  Separator(window, left, left + width, 308);
  add("STA_PROFILE_NAME", QRect(left, 318, width, 24));
  add("EDIT_PROFILE_NAME", QRect(left + 2, 350, 186, 32), Look::Field);
  add("BTN_APPLY", QRect(left + 198, 348, width - 198, 36), Look::Button);
  Separator(window, left, left + width, 398);
  add("CHK_PROFILE_LINK", QRect(left - 8, 406, width - 40, 40), Look::CheckBox);
  add("BTN_PROFILE_LINK", QRect(left + width - 36, 408, 36, 36), Look::IconButton, Icon::Folder);
}

void Stage(SkinWindow& window) {
  window.Backdrop([](QPainter& painter, bool) { DrawMouseStage(painter, kStage); });
}

SkinWindow MainSkin() {
  SkinWindow window(kSize);
  AddFrame(window, true);
  const Builder add(window, true);
  Card(window, kColumnA);
  for (int i = 0; i < 7; ++i) {
    const int y = 150 + i * 62;
    add("BTN_MOUSE_KEY" + std::to_string(i + 1), QRect(72, y, 252, 40), Look::Dropdown);
    window.Overlay(
        [y, i](QPainter& painter, bool) { DrawBadge(painter, QPointF(46, y + 20), i + 1, false); });
  }
  Separator(window, 36, 324, 588);
  add("BTN_RESTORE", QRect(36, 604, 288, 40), Look::Button);
  Stage(window);
  add("BTN_MOUSE_PIC0", QRect(kStage.left() + 16, kStage.top() + 8, kStage.width() - 32, 440));
  add("BTN_MOUSE_PIC0B", QRect(kStage.left() + 16, kStage.top() + 452, kStage.width() - 32, 72));
  AddProfilePanel(window, true);
  return window;
}

SkinWindow ModelSkin(MouseModel model) {
  SkinWindow window(kSize, true);
  // Drawing the mouse gives its button rectangles, so the controls come from a first drawing.
  QImage scratch(kSize, QImage::Format_ARGB32_Premultiplied);
  QPainter scratchPainter(&scratch);
  const auto rects = DrawMouse(scratchPainter, model, kStage, false);
  scratchPainter.end();
  for (int i = 0; i < kMouseButtons; ++i) {
    for (int j = 0; j < i; ++j) {
      if (rects[i].intersects(rects[j])) {
        std::fprintf(stderr, "vexlo-skingen: mouse buttons %d and %d overlap\n", j + 1, i + 1);
        std::exit(1);
      }
    }
    window.Control("BTN_MOUSE_PIC" + std::to_string(i + 1), rects[i]);
  }
  window.Backdrop([model](QPainter& painter, bool highlighted) {
    DrawMouse(painter, model, kStage, highlighted);
  });
  return window;
}

// A page: the frame drawn without keys, then the page's own controls.
SkinWindow Page() {
  SkinWindow window(kSize);
  AddFrame(window, false);
  return window;
}

SkinWindow AdvSkin() {
  SkinWindow window = Page();
  const Builder add(window, true);
  const QRect cards[4] = {
      {20, 132, 344, 258}, {380, 132, 344, 258}, {20, 406, 344, 258}, {380, 406, 344, 258}};
  for (const QRect& card : cards) Card(window, card);

  QRect c = cards[0];
  CardHead(window, add, c, Icon::DoubleClick, "STA_DBL_CLK_TIME", "STA_DBL_CLK_TIME2");
  Slider(window, add, "SLD_DBL_CLK_TIME", QRect(c.left() + 20, c.top() + 140, 304, 36), 10);
  add("STA_DBL_CLK_TIME_SLOW", QRect(c.left() + 20, c.top() + 190, 150, 22));
  add("STA_DBL_CLK_TIME_FAST", QRect(c.left() + 174, c.top() + 190, 150, 22));

  c = cards[1];
  CardHead(window, add, c, Icon::Speed, "STA_MOUSE_SPEED", "STA_MOUSE_SPEED2");
  Slider(window, add, "SLD_MOUSE_SPEED", QRect(c.left() + 20, c.top() + 140, 304, 36), 10);
  window.Overlay([c](QPainter& painter, bool) {
    DrawIcon(painter, Icon::Slow, QRectF(c.left() + 24, c.top() + 190, 18, 18), kMuted);
    DrawIcon(painter, Icon::Fast, QRectF(c.right() - 42, c.top() + 190, 18, 18), kMuted);
  });

  c = cards[2];
  CardHead(window, add, c, Icon::Pulse, "STA_MOUSE_REPORT_RATE", "STA_MOUSE_REPORT_RATE2");
  add("BTN_MOUSE_REPORT_RATE", QRect(c.left() + 20, c.top() + 150, 180, 40), Look::Dropdown);

  c = cards[3];
  CardHead(window, add, c, Icon::Wheel, "STA_MOUSE_WHEEL");
  add("RAD_MOUSE_WHEEL_LINES", QRect(c.left() + 12, c.top() + 120, 176, 36), Look::Radio);
  add("BTN_MOUSE_WHEEL_LINES_DOWN", QRect(c.left() + 196, c.top() + 120, 36, 36), Look::IconButton,
      Icon::Minus);
  add("EDIT_MOUSE_WHEEL_LINES", QRect(c.left() + 240, c.top() + 122, 44, 32), Look::Field);
  add("BTN_MOUSE_WHEEL_LINES_UP", QRect(c.left() + 288, c.top() + 120, 36, 36), Look::IconButton,
      Icon::Plus);
  add("RAD_MOUSE_WHEEL_PAGE", QRect(c.left() + 12, c.top() + 170, 312, 36), Look::Radio);

  AddProfilePanel(window, false);
  return window;
}

SkinWindow LightSkin() {
  SkinWindow window = Page();
  const Builder add(window, true);
  for (int i = 0; i < 4; ++i) {
    const QRect card(kColumnA.left(), kColumnA.top() + i * 136, kColumnA.width(), 124);
    const std::string n = std::to_string(i + 1);
    Card(window, card);
    add("STA_MOUSE_CPI" + n, QRect(card.left() + 20, card.top() + 16, 170, 28));
    add("STA_MOUSE_CPI_VALUE" + n, QRect(card.left() + 192, card.top() + 16, 64, 28));
    // Nothing drawn under the colour button: it draws its own frame, and hides with it.
    add("BTN_MOUSE_CPI_COLOR" + n, QRect(card.right() - 55, card.top() + 16, 36, 28));
    Slider(window, add, "SLD_MOUSE_CPI" + n, QRect(card.left() + 8, card.top() + 56, 304, 36), 20);
  }
  Stage(window);

  const QRect card(kColumnC.left(), kColumnC.top(), kColumnC.width(), 188);
  const int left = card.left() + 20;
  Card(window, card);
  CardHead(window, add, card, Icon::Light, "STA_LIGHT_MODE");
  add("BTN_LIGHT_MODE", QRect(left, 208, 280, 40), Look::Dropdown);
  add("BTN_LIGHT_RESET", QRect(left, 260, 280, 40), Look::Button);

  // Controls the program places but never shows: they get sensible places below the card and
  // nothing drawn.
  add("STA_LIGHT_BRIGHTNESS", QRect(left, 344, 120, 28));
  add("SLD_LIGHT_BRIGHTNESS", QRect(left + 124, 342, 156, 32));
  add("SLD_LIGHT_BRIGHTNESS_CHANNEL", QRect(left + 136, 350, 132, 16));
  add("STA_LIGHT_SPEED", QRect(left, 384, 120, 28));
  add("SLD_LIGHT_SPEED", QRect(left + 124, 382, 156, 32));
  add("SLD_LIGHT_SPEED_CHANNEL", QRect(left + 136, 390, 132, 16));
  add("STA_LIGHT_DIRECT", QRect(left, 424, 196, 28));
  add("BTN_LIGHT_DIRECT_ACW", QRect(left + 204, 420, 36, 36));
  add("BTN_LIGHT_DIRECT_CW", QRect(left + 244, 420, 36, 36));
  add("STA_LIGHT_COLOR", QRect(left, 468, 196, 28));
  add("BTN_LIGHT_COLOR", QRect(left + 244, 466, 36, 32));
  for (int i = 0; i < 9; ++i) {
    add("BTN_LIGHT_COLOR" + std::to_string(i + 1), QRect(left + i * 32, 508, 24, 24));
  }
  add("BTN_LIGHT_COLOR_PICKER", QRect(left, 544, 150, 100));
  const char* channels[3] = {"RED", "GREEN", "BLUE"};
  for (int i = 0; i < 3; ++i) {
    add(std::string("STA_LIGHT_COLOR_") + channels[i], QRect(left + 162, 544 + i * 36, 26, 32));
    add(std::string("EDIT_LIGHT_COLOR_") + channels[i], QRect(left + 192, 544 + i * 36, 88, 32));
  }
  return window;
}

void DrawLineSample(QPainter& painter, const QRect& rect, bool corrected) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kFieldBorder, 1));
  painter.setBrush(kField);
  painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
  QPainterPath line;
  const qreal y = rect.center().y();
  line.moveTo(rect.left() + 16, y);
  if (corrected) {
    line.lineTo(rect.right() - 16, y);
  } else {
    const qreal step = (rect.width() - 32) / 4.0;
    for (int i = 0; i < 4; ++i) {
      const qreal x = rect.left() + 16 + i * step;
      line.cubicTo(x + step / 3, y - 9, x + 2 * step / 3, y + 9, x + step, y);
    }
  }
  painter.setPen(QPen(corrected ? kAccent : kMuted, 2.4, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(line);
  painter.restore();
}

SkinWindow LineCorSkin() {
  SkinWindow window = Page();
  const Builder add(window, true);
  const QRect card(20, 132, 704, 200);
  Card(window, card);
  CardHead(window, add, card, Icon::Ruler, "STA_LINE_COR", "STA_LINE_COR2");
  add("CHK_LINE_COR", QRect(card.left() + 12, card.top() + 112, 300, 40), Look::CheckBox);
  const QRect before(card.left() + 360, card.top() + 100, 150, 64);
  const QRect after(card.left() + 534, card.top() + 100, 150, 64);
  add("BTN_LINE_COR_OFF", before);
  add("BTN_LINE_COR_ON", after);
  window.Backdrop([before, after](QPainter& painter, bool) {
    DrawLineSample(painter, before, false);
    DrawLineSample(painter, after, true);
  });
  AddProfilePanel(window, false);
  return window;
}

SkinWindow MacroSkin() {
  SkinWindow window = Page();
  const Builder add(window, true);

  const QRect macro(kColumnA.left(), kColumnA.top(), kColumnA.width(), 268);
  const int left = macro.left() + 20;
  Card(window, macro);
  CardHead(window, add, macro, Icon::Macro, "STA_MACRO_SUBTITLE");
  add("BTN_MACRO_LIST", QRect(left, 208, 280, 40), Look::Dropdown);
  add("BTN_MACRO_ADD", QRect(left, 258, 40, 36), Look::IconButton, Icon::Plus);
  add("BTN_MACRO_DELETE", QRect(left + 48, 258, 40, 36), Look::IconButton, Icon::Trash);
  add("BTN_MACRO_MORE", QRect(left + 96, 258, 40, 36), Look::IconButton, Icon::More);
  Separator(window, left, left + 280, 308);
  add("STA_MACRO_NAME", QRect(left, 318, 280, 24));
  add("EDIT_MACRO_NAME", QRect(left + 2, 350, 186, 32), Look::Field);
  add("BTN_MACRO_APPLY", QRect(left + 198, 348, 82, 36), Look::Button);

  Card(window, kStage);
  add("LIST_MACRO_ACTION", QRect(kStage.left() + 16, kStage.top() + 16, kStage.width() - 32, 444),
      Look::List);
  const int toolbar = kStage.bottom() - 55;
  const Icon order[4] = {Icon::ToTop, Icon::Up, Icon::Down, Icon::ToBottom};
  const char* moves[4] = {"BTN_MACRO_ACTION_TOP", "BTN_MACRO_ACTION_UP", "BTN_MACRO_ACTION_DOWN",
                          "BTN_MACRO_ACTION_BOTTOM"};
  for (int i = 0; i < 4; ++i) {
    add(moves[i], QRect(kStage.left() + 16 + i * 48, toolbar, 40, 40), Look::IconButton, order[i]);
  }
  add("BTN_MACRO_ACTION_DELETE", QRect(kStage.right() - 103, toolbar, 40, 40), Look::IconButton,
      Icon::Remove);
  add("BTN_MACRO_ACTION_CLEAR", QRect(kStage.right() - 55, toolbar, 40, 40), Look::IconButton,
      Icon::Clear);

  const QRect record(kColumnC.left(), kColumnC.top(), kColumnC.width(), 236);
  const int rleft = record.left() + 20;
  Card(window, record);
  add("CHK_MACRO_ACTION_RECORD", QRect(rleft, 152, 280, 48), Look::Record);
  Separator(window, rleft, rleft + 280, 216);
  add("RAD_MACRO_ACTION_DELAY_NATIVE", QRect(rleft - 8, 228, 288, 36), Look::Radio);
  add("RAD_MACRO_ACTION_DELAY_NONE", QRect(rleft - 8, 270, 288, 36), Look::Radio);
  add("RAD_MACRO_ACTION_DELAY_FIXED", QRect(rleft - 8, 312, 192, 36), Look::Radio);
  add("EDIT_MACRO_ACTION_DELAY", QRect(rleft + 196, 314, 84, 32), Look::Field);
  return window;
}

}  // namespace

void WriteMainWindowSkins(const std::filesystem::path& folder) {
  MainSkin().Write(folder, "Main.ini", "Main.png", "Main2.png");
  const struct {
    MouseModel model;
    const char* name;
  } models[] = {{MouseModel::Kobal, "Kobal"},
                {MouseModel::Pirul, "Pirul"},
                {MouseModel::Sorna, "Sorna"},
                {MouseModel::Zefta, "Zefta"}};
  for (const auto& [model, name] : models) {
    const std::string base(name);
    ModelSkin(model).Write(folder, base + ".ini", base + ".png", base + "2.png");
  }
  AdvSkin().Write(folder, "Adv.ini", "Adv.png", "Adv2.png");
  LightSkin().Write(folder, "Light.ini", "Light.png", "Light2.png");
  LineCorSkin().Write(folder, "LineCor.ini", "LineCor.png", "LineCor2.png");
  MacroSkin().Write(folder, "Macro.ini", "Macro.png", "Macro2.png");
}

}  // namespace vexlo::skin
