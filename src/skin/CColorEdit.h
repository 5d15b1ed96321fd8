#pragma once

#include <QLineEdit>

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vexlo {

// A one-line edit field without a frame in fixed colours: one background while enabled, another
// while disabled, and a text colour. Starts in the desktop's window, button-face and window-text
// colours.
class CColorEdit final : public QLineEdit {
 public:
  explicit CColorEdit(QWidget* parent = nullptr);

  // COLORREF values.
  void SetColours(std::uint32_t enabledBackground, std::uint32_t disabledBackground,
                  std::uint32_t text);

  // The background the field shows in its present state.
  QColor BackgroundColour() const;
  QColor TextColour() const;
};

// The dark background that skinned edits share, RGB(0x06, 0x11, 0x1E).
inline constexpr std::uint32_t kSkinEditBackground = 0x1E1106;

// Places the edit from the skin file, gives it the text colour and the skin's edit background in
// both states, and the font when one is given.
void SetupColorEdit(const std::filesystem::path& skinIni, std::string_view key, CColorEdit& edit,
                    std::uint32_t textColour, const QFont* font = nullptr);

// Puts the single line of text where the skinned windows want it: its top (client height - font
// height) / 2 - 1 pixels below the field's top.
void CenterEditText(QLineEdit& edit);

}  // namespace vexlo
