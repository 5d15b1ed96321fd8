#pragma once

#include <QColor>

#include <cstdint>
#include <string>

#include "skin/CImageBtn.h"

// The default skin's look of each control, by skin key: what kind of button it is, its caption
// font, colours, layout and margins, and how labels are drawn. Every window that places controls
// from the skin takes its captions' look from here, so all windows look alike.
namespace vexlo {

struct ButtonStyle {
  CImageBtn::Kind kind = CImageBtn::Kind::Push;
  int height = -14;
  int weight = 400;
  CImageBtn::StateColours colours{};
  std::uint32_t format = 0;
  int left = 0, top = 0, right = 0;
  int group = 0;  // radio group
};

struct LabelStyle {
  int height = -13;
  int weight = 400;
  QColor colour{0x8D, 0xA2, 0xB8};
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
  bool wrap = false;
  QColor background;  // invalid: transparent
};

// Menu-like buttons that show their value at the left and a chevron at the right.
bool IsDropdownKey(const std::string& key);

ButtonStyle ButtonStyleFor(const std::string& key);
LabelStyle LabelStyleFor(const std::string& key);

// Turns the button's caption on in its key's style with the given text (no caption for an empty
// text) and puts it in its radio group.
void ApplyButtonStyle(CImageBtn& button, const std::string& key, const QString& caption,
                      const QString& fontFace);

}  // namespace vexlo
