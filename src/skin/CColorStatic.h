#pragma once

#include <QLabel>

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vexlo {

// A text label in colours of its own: a text colour and a background colour, or no background at
// all so that the window's skin shows through. Plain text, left-aligned from the top and wrapped
// at words unless the window sets another alignment. Starts opaque in the desktop's button-face
// colour with window-text colour.
class CColorStatic final : public QLabel {
 public:
  explicit CColorStatic(QWidget* parent = nullptr);

  // COLORREF; used while the label is enabled (a disabled label greys its text as the desktop
  // does).
  void SetTextColour(std::uint32_t colorref);
  // Transparent: nothing is painted behind the text. Otherwise the COLORREF fills the label.
  void SetBackground(bool transparent, std::uint32_t colorref);
  void SetTransparent(bool transparent);

  bool IsTransparent() const { return !autoFillBackground(); }
  QColor TextColour() const;
  QColor BackgroundColour() const;
};

// Places the label from the skin file and gives it its colours; a background colour counts only
// when the label is not transparent. A font, when given, replaces the label's.
void SetupColorStatic(const std::filesystem::path& skinIni, std::string_view key,
                      CColorStatic& label, std::uint32_t textColour, std::uint32_t background,
                      bool transparent, const QFont* font = nullptr);

}  // namespace vexlo
