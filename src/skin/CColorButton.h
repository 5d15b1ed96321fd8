#pragma once

#include <QAbstractButton>
#include <QPolygonF>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vexlo {

// A colour swatch button: a rectangle in its fill colour inside a border whose colour follows the
// button's state, optionally with a mark in a corner (narrow buttons) or a drop-down arrow at the
// right (buttons at least twice as wide as high). Colours are COLORREF values. The parent hears a
// click through QAbstractButton::clicked.
class CColorButton final : public QAbstractButton {
 public:
  enum class MarkMode {
    None = 0,
    MarkColour = 1,   // the mark in the mark colour
    InverseFill = 2,  // the mark in the inverse of the fill colour, so it shows on any fill
  };
  enum State : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
  using BorderColours = std::array<std::uint32_t, 4>;  // by State

  // The two triangles of a mark: an outline in the mark colour blended half-way towards white,
  // and the mark on top of it. Coordinates in the button's pixels, pixel centres on whole numbers.
  struct Mark {
    QPolygonF outline;
    QPolygonF mark;
  };

  explicit CColorButton(QWidget* parent = nullptr);
  ~CColorButton() override;

  void SetFillColour(std::uint32_t colorref);  // repaints
  std::uint32_t FillColour() const { return fill_; }
  // A width of 0 draws no border.
  void SetBorder(const BorderColours& colours, int width);
  void SetMark(MarkMode mode, std::uint32_t colorref);

  // The state the next paint draws: disabled, else pressed, else hover, else normal.
  int CurrentState() const;

  // Where the mark of a button of this size and border width lies.
  static Mark MarkGeometry(QSize size, int borderWidth);
  // The colour the mark's outline is drawn in.
  static std::uint32_t MarkOutlineColour(std::uint32_t markColour);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  std::uint32_t fill_ = 0x800000;
  MarkMode markMode_ = MarkMode::None;
  std::uint32_t markColour_ = 0;
  BorderColours borders_ = {0xFF0000, 0x800000, 0x8000, 0x808080};
  int borderWidth_ = 0;
  bool hover_ = false;
  bool keyboardFocus_ = false;
};

// Places the button from the skin file, gives it its fill, border and mark and the tool tip (an
// empty text gives none).
void SetupColorButton(const std::filesystem::path& skinIni, std::string_view key,
                      CColorButton& button, std::uint32_t fill,
                      const CColorButton::BorderColours& borders, int borderWidth,
                      const QString& toolTip, CColorButton::MarkMode markMode,
                      std::uint32_t markColour);

}  // namespace vexlo
