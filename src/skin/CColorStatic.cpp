#include "skin/CColorStatic.h"

#include "skin/ColorRef.h"
#include "skin/SkinFile.h"

namespace vexlo {

CColorStatic::CColorStatic(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);
}

void CColorStatic::SetTextColour(std::uint32_t colorref) {
  QPalette colours = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::WindowText, ColorFromRef(colorref));
  }
  setPalette(colours);
}

void CColorStatic::SetBackground(bool transparent, std::uint32_t colorref) {
  if (!transparent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorFromRef(colorref));
    setPalette(colours);
  }
  SetTransparent(transparent);
}

void CColorStatic::SetTransparent(bool transparent) {
  setAutoFillBackground(!transparent);
  update();
}

QColor CColorStatic::TextColour() const {
  return palette().color(QPalette::Active, QPalette::WindowText);
}

QColor CColorStatic::BackgroundColour() const {
  return palette().color(QPalette::Active, QPalette::Window);
}

void SetupColorStatic(const std::filesystem::path& skinIni, std::string_view key,
                      CColorStatic& label, std::uint32_t textColour, std::uint32_t background,
                      bool transparent, const QFont* font) {
  PlaceControl(skinIni, key, label);
  label.SetTextColour(textColour);
  label.SetBackground(transparent, background);
  if (font) label.setFont(*font);
}

}  // namespace vexlo
