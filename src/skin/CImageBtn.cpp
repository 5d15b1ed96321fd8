#include "skin/CImageBtn.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/FocusRing.h"
#include "skin/SkinFile.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
constexpr std::uint32_t kCheckedFill = 0xEAD999;  // COLORREF of RGB(0x99, 0xD9, 0xEA)

int Alpha(std::uint32_t argb) {
  return static_cast<int>((argb >> 24) & 0xFF);
}

// Text colour blended towards the tint colour by the tint's alpha, in whole numbers.
QColor BlendTowards(const QColor& text, std::uint32_t tintArgb) {
  const int alpha = Alpha(tintArgb);
  const QColor tint = ColorFromArgb(tintArgb);
  const auto mix = [alpha](int from, int to) { return (from * (255 - alpha) + to * alpha) / 255; };
  return QColor(mix(text.red(), tint.red()), mix(text.green(), tint.green()),
                mix(text.blue(), tint.blue()));
}

}  // namespace

CImageBtn::CImageBtn(Kind kind, QWidget* parent)
    : QAbstractButton(parent),
      kind_(kind),
      textFormat_(dt::kCenter | dt::kVCenter | dt::kSingleLine) {
  tintColours_.fill(kOpaqueBlack);
  tintMatrices_.fill(ColorMatrix::Identity());
  // Every kind keeps a check state: page tabs are push buttons that the window checks.
  setCheckable(true);
  setFocusPolicy(Qt::StrongFocus);
}

CImageBtn::~CImageBtn() = default;

QRect CImageBtn::SetImages(const std::filesystem::path& skinIni, std::string_view key,
                           const SkinImage* normal, const SkinImage* hover,
                           const SkinImage* pressed, const SkinImage* disabled,
                           const SkinImage* checked) {
  const QRect rect = PlaceControl(skinIni, key, *this);
  source_ = rect.topLeft();
  images_ = {normal, hover, pressed, disabled, checked};
  imageOverride_ = kOverrideHover | kOverridePressed | kOverrideDisabled;
  imageMode_ = ImageMode::Opaque;
  update();
  return rect;
}

void CImageBtn::SetTextStyle(int height, int weight, const QString& face,
                             const StateColours& colours, std::uint32_t format) {
  textOn_ = true;
  setFont(CreateSkinFont(height, weight, face));
  textColours_ = colours;
  textFormat_ = format;
  textOverride_ = kOverrideHover | kOverridePressed;
  update();
}

QColor CImageBtn::GroundColour() const {
  const SkinImage* normal = images_[kNormal];
  if (!normal || !normal->IsLoaded()) return {};
  const QColor ground = QColor::fromRgba(normal->Pixel(source_.x(), source_.y()));
  return ground.alpha() == 255 ? ground : QColor();
}

void CImageBtn::SetTint(std::uint32_t flags, const StateColours& argb) {
  tintFlags_ = flags;
  tintColours_ = argb;
  if (flags != 0) {
    for (int state = 0; state < kStateCount; ++state) {
      tintMatrices_[state] = ColorMatrix::Tint(argb[state]);
    }
  }
  update();
}

void CImageBtn::SetToolTip(const QString& text) {
  setToolTip(text);
}

void CImageBtn::SetTextMargins(int left, int top, int right, int bottom) {
  marginLeft_ = left;
  marginTop_ = top;
  marginRight_ = right;
  marginBottom_ = bottom;
  update();
}

void CImageBtn::SetImageMode(ImageMode mode) {
  imageMode_ = mode;
  update();
}

void CImageBtn::SetSourcePosition(QPoint position) {
  source_ = position;
  update();
}

void CImageBtn::SetCheckedImageOverride(std::uint32_t bits) {
  imageOverride_ = bits;
  update();
}

void CImageBtn::SetAfterDraw(AfterDraw callback) {
  afterDraw_ = std::move(callback);
  update();
}

void CImageBtn::SetRadioGroup(int group) {
  radioGroup_ = group;
}

void CImageBtn::SetCheck(int value) {
  const bool checked = value != 0;
  if (checked == isChecked()) return;
  setChecked(checked);
  // Unchecking one radio button leaves the others as they are.
  if (checked && IsRadio()) ClearRadioGroup();
  update();
}

void CImageBtn::ClearRadioGroup() {
  QWidget* parent = parentWidget();
  if (!parent || !isEnabled()) return;
  // findChildren matches by meta-object, and this class has none of its own: every button
  // would pass, so the type is asked of each child instead.
  for (QObject* child : parent->children()) {
    auto* other = dynamic_cast<CImageBtn*>(child);
    if (!other || other == this || !other->IsRadio() || other->radioGroup_ != radioGroup_ ||
        !other->isChecked()) {
      continue;
    }
    other->setChecked(false);
    other->repaint();
  }
}

void CImageBtn::nextCheckState() {
  // What a click does to the check state, before the parent hears of the click.
  switch (kind_) {
    case Kind::AutoCheckBox:
      setChecked(!isChecked());
      break;
    case Kind::AutoRadio:
      if (!isChecked()) {
        setChecked(true);
        ClearRadioGroup();
      }
      break;
    case Kind::Push:
    case Kind::CheckBox:
    case Kind::Radio:
      break;
  }
}

int CImageBtn::CurrentState() const {
  if (!isEnabled()) return kDisabled;
  if (isDown()) return kPressed;
  if (hover_) return kHover;
  if (isChecked()) return kChecked;
  return kNormal;
}

int CImageBtn::Substitute(int state, std::uint32_t overrideBits) const {
  const bool overridden = state >= kHover && state <= kDisabled && (overrideBits & (1u << state));
  return isChecked() && overridden ? static_cast<int>(kChecked) : state;
}

QColor CImageBtn::CaptionColour() const {
  return CaptionColourFor(CurrentState());
}

QColor CImageBtn::CaptionColourFor(int state) const {
  const QColor text = ColorFromRef(textColours_[Substitute(state, textOverride_)]);
  return (tintFlags_ & kTintText) ? BlendTowards(text, tintColours_[state]) : text;
}

void CImageBtn::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const int state = CurrentState();
  PaintPicture(painter, state);
  if (textOn_ || imageMode_ == ImageMode::None) PaintCaption(painter, state);
  if (hasFocus() && keyboardFocus_) DrawFocusRing(painter, rect(), palette());
  painter.end();
  if (afterDraw_) afterDraw_(*this, state);
}

void CImageBtn::PaintPicture(QPainter& painter, int state) const {
  const QRect item = rect();
  if (imageMode_ == ImageMode::None) {
    // Without images the button is a plain box in the desktop's colours.
    QColor fill = palette().color(QPalette::Base);
    if (state == kDisabled) {
      fill = palette().color(QPalette::Disabled, QPalette::WindowText);
    } else if (state == kPressed) {
      fill = palette().color(QPalette::Link);
    } else if (state == kHover) {
      fill = palette().color(QPalette::Highlight);
    } else if (state == kChecked) {
      fill = ColorFromRef(kCheckedFill);
    }
    painter.fillRect(item, fill);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(item.adjusted(0, 0, -1, -1));
    return;
  }
  const SkinImage* image = images_[Substitute(state, imageOverride_)];
  if (!image || !image->IsLoaded()) return;  // no picture for this state; the caption still shows
  const QRect source(source_, item.size());
  const bool tinted = tintFlags_ & kTintPicture;
  if (imageMode_ == ImageMode::Blended) {
    image->DrawBlended(painter, item, source, tinted ? &tintMatrices_[state] : nullptr);
  } else if (!tinted) {
    image->DrawOpaque(painter, item, source);
  } else {
    painter.fillRect(item, ColorFromArgb(tintColours_[state] | kOpaqueBlack));
    image->DrawWithOpacity(painter, item, source, (255 - Alpha(tintColours_[state])) / 255.0);
  }
}

void CImageBtn::PaintCaption(QPainter& painter, int state) const {
  painter.setFont(font());
  painter.setPen(CaptionColourFor(state));
  QRect area = rect().adjusted(marginLeft_, marginTop_, marginRight_, marginBottom_);
  std::uint32_t format = textFormat_;
  if ((format & dt::kVCenter) && !(format & dt::kSingleLine) && (format & dt::kCentreWrapped)) {
    // Wrapped text is centred vertically as a block, and left-aligned once it needs more than
    // one line.
    const QFontMetrics metrics(font());
    const int height = MeasureText(metrics, area, text(), format).height();
    if (format & dt::kCenter) {
      const std::uint32_t oneLine = (format & ~dt::kVCenter) | dt::kSingleLine;
      if (MeasureText(metrics, area, text(), oneLine).height() < height) format &= ~dt::kCenter;
    }
    if (height < area.height()) area.setTop(area.top() + (area.height() - height) / 2);
  }
  DrawText(painter, area, text(), format);
}

void CImageBtn::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void CImageBtn::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void CImageBtn::focusInEvent(QFocusEvent* event) {
  keyboardFocus_ = IsKeyboardFocusReason(event->reason());
  QAbstractButton::focusInEvent(event);
}

void CImageBtn::keyPressEvent(QKeyEvent* event) {
  // A push button with the focus answers Enter as well as Space, once per press: a key held down
  // does not click again and again.
  if (kind_ == Kind::Push && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

}  // namespace vexlo
