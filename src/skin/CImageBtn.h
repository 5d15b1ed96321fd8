#pragma once

#include <QAbstractButton>
#include <QFont>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "skin/ColorMatrix.h"
#include "skin/SkinImage.h"

namespace vexlo {

// The one button of the skinned windows: push buttons, page tabs, menu buttons, check boxes and
// radio buttons. It shows the part of a whole-window skin image that lies under it, chosen by
// its state, optionally tinted, with an optional caption in per-state colours. The parent hears
// a click through QAbstractButton::clicked, after an automatic button has changed its check.
class CImageBtn : public QAbstractButton {
 public:
  enum class Kind { Push, CheckBox, AutoCheckBox, Radio, AutoRadio };

  // State index of images, text colours, tints and the after-draw callback.
  enum State : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3, kChecked = 4 };
  static constexpr int kStateCount = 5;

  // Override bits: while checked, these states use the checked image (or text colour).
  static constexpr std::uint32_t kOverrideHover = 1u << kHover;
  static constexpr std::uint32_t kOverridePressed = 1u << kPressed;
  static constexpr std::uint32_t kOverrideDisabled = 1u << kDisabled;

  // Tint flags.
  static constexpr std::uint32_t kTintPicture = 1;
  static constexpr std::uint32_t kTintText = 2;

  using StateColours = std::array<std::uint32_t, kStateCount>;
  using AfterDraw = std::function<void(CImageBtn& button, int state)>;

  explicit CImageBtn(Kind kind = Kind::Push, QWidget* parent = nullptr);
  ~CImageBtn() override;

  // Places the button from the skin file and takes its pictures from the five whole-window images
  // at its own position: image mode opaque, checked-image override for hover, pressed and
  // disabled. Returns the rectangle read.
  QRect SetImages(const std::filesystem::path& skinIni, std::string_view key,
                  const SkinImage* normal, const SkinImage* hover, const SkinImage* pressed,
                  const SkinImage* disabled, const SkinImage* checked);

  // Turns the caption on with a font made as CreateSkinFont makes it, five COLORREF colours in
  // state order and DrawText format flags (plus dt::kCentreWrapped); the checked colour then
  // overrides hover and pressed.
  void SetTextStyle(int height, int weight, const QString& face, const StateColours& colours,
                    std::uint32_t format);

  // Tint flags (kTintPicture, kTintText) and five ARGB colours in state order.
  void SetTint(std::uint32_t flags, const StateColours& argb);
  // The colour of the normal picture at the button's top left corner, the ground it stands on in
  // the skin; invalid without a picture or where that pixel is not opaque.
  QColor GroundColour() const;

  // A non-empty text shows as the tool tip; an empty one removes it.
  void SetToolTip(const QString& text);

  // Added to the edges of the caption rectangle (negative right and bottom values shrink it).
  void SetTextMargins(int left, int top, int right, int bottom);
  void SetImageMode(ImageMode mode);
  void SetSourcePosition(QPoint position);
  void SetCheckedImageOverride(std::uint32_t bits);
  void SetAfterDraw(AfterDraw callback);

  // Radio buttons with the same parent and group number form one group: checking one clears the
  // others. All radio buttons start in group 0.
  void SetRadioGroup(int group);

  // The check state as the platform's button messages see it: 1 checked, 0 not. Setting a value
  // whose truth equals the state does nothing; checking a radio button clears its group.
  int GetCheck() const { return isChecked() ? 1 : 0; }
  void SetCheck(int value);

  Kind GetKind() const { return kind_; }

  // The state the next paint draws, and the caption colour it uses (after tinting).
  int CurrentState() const;
  QColor CaptionColour() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void nextCheckState() override;

 private:
  bool IsRadio() const { return kind_ == Kind::Radio || kind_ == Kind::AutoRadio; }
  // Index of the state's picture or text colour: the checked one where the override bit says.
  int Substitute(int state, std::uint32_t overrideBits) const;
  QColor CaptionColourFor(int state) const;
  void PaintPicture(QPainter& painter, int state) const;
  void PaintCaption(QPainter& painter, int state) const;
  void ClearRadioGroup();

  Kind kind_;
  int radioGroup_ = 0;
  bool hover_ = false;
  bool keyboardFocus_ = false;  // focus came from the keyboard, so it is shown
  ImageMode imageMode_ = ImageMode::None;
  QPoint source_;
  std::array<const SkinImage*, kStateCount> images_{};
  std::uint32_t imageOverride_ = 0;
  bool textOn_ = false;
  StateColours textColours_{};
  std::uint32_t textFormat_;
  std::uint32_t textOverride_ = 0;
  int marginLeft_ = 0;
  int marginTop_ = 0;
  int marginRight_ = 0;
  int marginBottom_ = 0;
  std::uint32_t tintFlags_ = 0;
  StateColours tintColours_;
  std::array<ColorMatrix, kStateCount> tintMatrices_;
  AfterDraw afterDraw_;
};

}  // namespace vexlo
