#include "skin/SkinStyles.h"

#include "skin/ColorRef.h"
#include "skin/DrawText.h"

namespace vexlo {
namespace {

// How far a disabled button's picture fades into its ground (alpha of the tint, 0..255).
constexpr std::uint32_t kDisabledFadeAlpha = 0x8C;

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

}  // namespace

bool IsDropdownKey(const std::string& key) {
  return EndsWith(key, "_LIST") || key == "BTN_LIGHT_MODE" || key == "BTN_MOUSE_REPORT_RATE" ||
         (StartsWith(key, "BTN_MOUSE_KEY") && key.size() == 14);
}

ButtonStyle ButtonStyleFor(const std::string& key) {
  ButtonStyle style;
  style.colours = kButtonText;
  style.format = kCentredLine;
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
  } else if (IsDropdownKey(key)) {
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

void ApplyButtonStyle(CImageBtn& button, const std::string& key, const QString& caption,
                      const QString& fontFace) {
  const ButtonStyle style = ButtonStyleFor(key);
  button.SetRadioGroup(style.group);
  // The skin draws a disabled button with its normal picture, which would look clickable: the
  // picture fades into the ground it stands on.
  if (const QColor ground = button.GroundColour(); ground.isValid()) {
    CImageBtn::StateColours tint{};  // alpha 0: the other states' pictures as they are
    tint[CImageBtn::kDisabled] = kDisabledFadeAlpha << 24 | (ground.rgb() & 0xFFFFFFu);
    button.SetTint(CImageBtn::kTintPicture, tint);
  }
  if (caption.isEmpty()) return;
  button.SetTextStyle(style.height, style.weight, fontFace, style.colours, style.format);
  button.SetTextMargins(style.left, style.top, style.right, 0);
  button.setText(caption);
}

}  // namespace vexlo
