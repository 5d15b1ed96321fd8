#include "DialogSkins.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "SkinTheme.h"
#include "SkinWindow.h"

namespace vexlo::skin {
namespace {

constexpr int kButtonBar = 58;  // height of the strip that holds a dialog's buttons

// A dialog's chrome: an accent line along the top and, when it has buttons, a darker button
// strip along the bottom.
SkinWindow Dialog(QSize size, bool buttonBar) {
  SkinWindow window(size);
  window.Backdrop([size, buttonBar](QPainter& painter, bool) {
    const QRect all(QPoint(0, 0), size);
    QLinearGradient fill(all.topLeft(), all.bottomLeft());
    fill.setColorAt(0, QColor(0x12, 0x21, 0x33));
    fill.setColorAt(1, kCard);
    painter.fillRect(all.adjusted(1, 1, -1, -1), fill);
    QLinearGradient accent(QPointF(0, 0), QPointF(size.width(), 0));
    accent.setColorAt(0, kAccentDeep);
    accent.setColorAt(1, kAccent);
    painter.fillRect(QRect(1, 1, size.width() - 2, 3), accent);
    if (buttonBar) {
      const int top = size.height() - kButtonBar;
      painter.fillRect(QRect(1, top, size.width() - 2, kButtonBar - 1), kWindow);
      DrawSeparator(painter, 1, size.width() - 1, top);
    }
  });
  return window;
}

// OK at the right of the button strip, Cancel left of it.
void OkCancel(SkinWindow& window) {
  const QSize size = window.Size();
  const int y = size.height() - kButtonBar + 12;
  window.Control("BTN_OK", QRect(size.width() - 124, y, 104, 34), Look::PrimaryButton);
  window.Control("BTN_CANCEL", QRect(size.width() - 236, y, 104, 34), Look::Button);
}

SkinWindow MessageSkin() {
  SkinWindow window = Dialog(QSize(460, 220), true);
  window.Control("STA_TITLE", QRect(24, 20, 412, 28));
  window.Control("BTN_INFO", QRect(24, 56, 412, 96));
  OkCancel(window);
  return window;
}

SkinWindow SingleKeySkin() {
  SkinWindow window = Dialog(QSize(420, 320), true);
  window.Control("STA_TITLE", QRect(24, 20, 320, 28));
  window.Control("BTN_CLOSE", QRect(370, 14, 36, 36), Look::TitleButton, Icon::Close);
  window.Control("BTN_SUBTITLE", QRect(24, 54, 372, 52));
  const QRect key(110, 140, 200, 56);
  window.Backdrop([key](QPainter& painter, bool) {
    // A soft glow under the key cap.
    DrawGlow(painter, QRectF(key).center() + QPointF(0, 10), 150, 60, QColor(0x2F, 0x86, 0xE8, 60));
  });
  window.Decor(key, Look::KeyCap);
  window.Control("STA_KEY", key);
  window.Control("BTN_APPLY", QRect(296, 320 - kButtonBar + 12, 104, 34), Look::PrimaryButton);
  return window;
}

SkinWindow FireKeySkin() {
  SkinWindow window = Dialog(QSize(420, 260), true);
  window.Control("STA_TITLE", QRect(24, 20, 372, 28));
  window.Control("STA_INTVL", QRect(24, 68, 236, 36));
  window.Control("EDIT_INTVL", QRect(286, 70, 110, 32), Look::Field);
  window.Control("STA_COUNT", QRect(24, 120, 236, 36));
  window.Control("EDIT_COUNT", QRect(286, 122, 110, 32), Look::Field);
  OkCancel(window);
  return window;
}

SkinWindow MacroKeySkin() {
  SkinWindow window = Dialog(QSize(440, 380), true);
  window.Control("STA_TITLE", QRect(24, 20, 392, 28));
  window.Control("BTN_SUBTITLE", QRect(24, 52, 392, 44));
  window.Control("BTN_MACRO_LIST", QRect(24, 106, 392, 40), Look::Dropdown);
  // The rings of the radio buttons line up with the texts and the list above them.
  window.Control("RAD_FLAG_CYCLES", QRect(24, 166, 260, 32), Look::SmallRadio);
  window.Control("EDIT_REPEAT_COUNT", QRect(306, 166, 110, 32), Look::Field);
  window.Control("RAD_FLAG_RELEASE_STOP", QRect(24, 210, 392, 32), Look::SmallRadio);
  window.Control("RAD_FLAG_PRESS_STOP", QRect(24, 254, 392, 32), Look::SmallRadio);
  OkCancel(window);
  return window;
}

SkinWindow AboutSkin() {
  const QSize size(420, 320);
  SkinWindow window = Dialog(size, false);
  window.Backdrop([size](QPainter& painter, bool) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size.width() / 2.0, 92);
    DrawGlow(painter, centre, 180, 110, QColor(0x2F, 0x86, 0xE8, 70));
    DrawLogoMark(painter, QRectF(centre.x() - 36, 44, 72, 72));
    DrawWordmark(painter, size.width() / 2.0, 130, 30, true);
    DrawSeparator(painter, 60, size.width() - 60, 214);
  });
  window.Control("STA_SW_VER", QRect(24, 226, 372, 24));
  window.Control("BTN_CLOSE", QRect(150, 264, 120, 34), Look::Button);
  return window;
}

// A round slider knob with a soft shadow, 24 x 24 with transparent corners.
QImage Thumb(const QColor& ring, const QColor& face) {
  QImage picture(24, 24, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient shadow(QPointF(12, 13), 12);
  shadow.setColorAt(0.6, QColor(0, 0, 0, 120));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shadow);
  painter.drawEllipse(QPointF(12, 13), 12, 12);
  painter.setBrush(ring);
  painter.drawEllipse(QPointF(12, 12), 9, 9);
  QLinearGradient fill(QPointF(0, 5), QPointF(0, 19));
  fill.setColorAt(0, face.lighter(110));
  fill.setColorAt(1, face.darker(108));
  painter.setBrush(fill);
  painter.drawEllipse(QPointF(12, 12), 5.5, 5.5);
  painter.end();
  return picture;
}

}  // namespace

void WriteDialogSkins(const std::filesystem::path& folder) {
  MessageSkin().Write(folder, "Msg.ini", "Msg.png", "Msg2.png");
  SingleKeySkin().Write(folder, "SngKbd.ini", "SngKbd.png", "SngKbd2.png");
  FireKeySkin().Write(folder, "FireKey.ini", "FireKey.png", "FireKey2.png",
                      SkinWindow::Pictures::Fixed);
  MacroKeySkin().Write(folder, "MacroKey.ini", "MacroKey.png", "MacroKey2.png",
                       SkinWindow::Pictures::Fixed);
  AboutSkin().Write(folder, "About.ini", "About.png", "", SkinWindow::Pictures::Fixed);
  const QColor white(0xF4, 0xF8, 0xFC);
  SavePicture(Thumb(kAccent, white), folder / "Thumb1.png");
  SavePicture(Thumb(kAccent, white), folder / "Thumb2.png");
  SavePicture(Thumb(white, kAccent), folder / "Thumb3.png");
  SavePicture(Thumb(kAccentSoft, white), folder / "Thumb4.png");
}

}  // namespace vexlo::skin
