#include "skin/CImageSlider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <string>

#include "common/Messages.h"
#include "platform/ports/MessageTarget.h"
#include "skin/FocusRing.h"
#include "skin/SkinFile.h"

namespace vexlo {

QRect SliderGeometry::TrackOver(const QRect& rect, int thumbHeight) {
  const int top = (rect.y() + rect.y() + rect.height()) / 2 - thumbHeight / 2;
  return QRect(rect.x(), top, std::max(1, rect.width()), std::max(1, thumbHeight));
}

int SliderGeometry::CentreX(int position) const {
  return track.x() + track.width() * (position - minimum) / (maximum - minimum);
}

QRect SliderGeometry::ThumbRect(int position) const {
  const int left = CentreX(position) - thumb.width() / 2;
  const int top = (track.y() + track.y() + track.height()) / 2 - thumb.height() / 2;
  return QRect(left, top, std::max(1, thumb.width()), std::max(1, thumb.height()));
}

int SliderGeometry::PositionAt(int x) const {
  const int left = track.x();
  const int width = track.width();
  if (x <= left) return minimum;
  if (x >= left + width) return maximum;
  return minimum + ((x - left) * (maximum - minimum) + width / 2) / width;
}

CImageSlider::CImageSlider(QWidget* parent) : QWidget(parent) {
  tintMatrices_.fill(ColorMatrix::Identity());
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // the thumb lights up under the pointer
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CImageSlider::~CImageSlider() = default;

void CImageSlider::SetImages(QPoint source, const SkinImage* channelRight,
                             const SkinImage* channelLeft, const ThumbImages& thumbs) {
  source_ = source;
  channelRight_ = channelRight;
  channelLeft_ = channelLeft;
  thumbs_ = thumbs;
  update();
}

void CImageSlider::SetThumbTint(const ThumbTints& argb) {
  tinted_ = true;
  for (int state = 0; state < kStateCount; ++state) {
    tintMatrices_[state] = ColorMatrix::Tint(argb[state]);
  }
  update();
}

void CImageSlider::SetTrack(std::optional<QRect> channel) {
  channel_ = channel;
  update();
}

bool CImageSlider::SetRange(int minimum, int maximum) {
  // Every position is scaled by the range's width, so an empty or reversed range is refused.
  if (maximum <= minimum) return false;
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position_, minimum_, maximum_);
  update();
  return true;
}

void CImageSlider::SetPos(int position, bool user, bool final) {
  position_ = std::clamp(position, minimum_, maximum_);
  if (notify_ && (user || notifyAlways_)) {
    // A notify window that has gone away has nobody left to tell.
    (void)notify_->Post(UM_SLIDER_CHANGED, static_cast<std::uintptr_t>(controlId_), final ? 1 : 0);
  }
  repaint();
}

void CImageSlider::SetNotifyWindow(MessageTarget* window, int controlId) {
  notify_ = window;
  controlId_ = controlId;
}

QSize CImageSlider::ThumbSize() const {
  const SkinImage* normal = thumbs_[kNormal];
  return normal && normal->IsLoaded() ? normal->Size() : kPlainThumb;
}

SliderGeometry CImageSlider::Geometry() const {
  // Without a channel the track follows the slider's size.
  const QRect over = channel_.value_or(rect().adjusted(kTrackInset, 0, -kTrackInset, 0));
  const QSize thumb = ThumbSize();
  return SliderGeometry{SliderGeometry::TrackOver(over, thumb.height()), thumb, minimum_, maximum_};
}

int CImageSlider::CurrentState() const {
  if (!isEnabled()) return kDisabled;
  if (pressed_) return kPressed;
  if (hover_) return kHover;
  return kNormal;
}

void CImageSlider::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const SliderGeometry geometry = Geometry();
  PaintChannel(painter, std::clamp(geometry.CentreX(position_), 0, width()));
  const QRect thumb = geometry.ThumbRect(position_);
  PaintThumb(painter, thumb);
  if (hasFocus() && keyboardFocus_) DrawFocusRing(painter, thumb.adjusted(-3, -3, 3, 3), palette());
}

void CImageSlider::PaintChannel(QPainter& painter, int split) const {
  if (channelLeft_ || channelRight_) {
    const int h = height();
    if (channelLeft_) {
      channelLeft_->DrawOpaque(painter, QRect(0, 0, split, h), QRect(source_, QSize(split, h)));
    }
    if (channelRight_) {
      const int rest = width() - split;
      channelRight_->DrawOpaque(painter, QRect(split, 0, rest, h),
                                QRect(source_ + QPoint(split, 0), QSize(rest, h)));
    }
    return;
  }
  // Without skin images: a plain groove, filled up to the thumb.
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const QRect track = Geometry().track;
  const QRect groove(track.x(), track.center().y() - 2, track.width(), 4);
  painter.fillRect(groove, palette().color(QPalette::Mid));
  painter.fillRect(QRect(groove.x(), groove.y(), split - groove.x(), groove.height()),
                   palette().color(QPalette::Highlight));
}

void CImageSlider::PaintThumb(QPainter& painter, const QRect& thumb) const {
  const int state = CurrentState();
  const ColorMatrix* tint = tinted_ ? &tintMatrices_[state] : nullptr;
  const SkinImage* image = thumbs_[state];
  if (image && image->IsLoaded()) {
    // Without a picture of its own for the disabled state the normal one fades.
    const bool faded = state == kDisabled && image == thumbs_[kNormal];
    painter.save();
    if (faded) painter.setOpacity(kFadedOpacity);
    image->DrawBlended(painter, QRect(thumb.topLeft(), image->Size()),
                       QRect(QPoint(0, 0), image->Size()), tint);
    painter.restore();
    return;
  }
  static constexpr QPalette::ColorRole kFill[kStateCount] = {QPalette::Button, QPalette::Light,
                                                             QPalette::Highlight, QPalette::Mid};
  QColor fill = palette().color(kFill[state]);
  if (tint) fill = QColor::fromRgba(tint->Apply(fill.rgba()));
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(palette().color(QPalette::Dark));
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  painter.restore();
}

void CImageSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  event->accept();
  const QPoint point = event->position().toPoint();
  const SliderGeometry geometry = Geometry();
  const QRect thumb = geometry.ThumbRect(position_);
  const bool onThumb = thumb.contains(point);
  if (!onThumb && !geometry.track.contains(point)) return;
  pressed_ = true;
  pressPosition_ = position_;
  if (onThumb) {
    // Held by the thumb: it keeps its distance to the pointer for the whole drag.
    hover_ = true;
    dragOffset_ = point.x() - (thumb.x() + thumb.x() + thumb.width()) / 2;
    update();
    return;
  }
  dragOffset_ = 0;
  const int at = geometry.PositionAt(point.x());
  if (at != position_) {
    SetPos(at, true, false);
  } else {
    update();
  }
}

void CImageSlider::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);  // a double click is two presses
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const QRect thumb = ThumbRect();
  const bool held = event->buttons() & Qt::LeftButton;
  const bool hover = thumb.contains(point) || (hover_ && held);
  const bool hoverChanged = hover != hover_;
  hover_ = hover;
  if (pressed_) {
    const int at = Geometry().PositionAt(DragX(point.x()));
    if (at != position_) {
      SetPos(at, true, false);
      return;
    }
  }
  if (hoverChanged) update(thumb);
}

void CImageSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  event->accept();
  const QPoint point = event->position().toPoint();
  const bool dragging = pressed_;
  pressed_ = false;
  // Final even when nothing moved: the owner applies and saves on this one.
  if (dragging) SetPos(Geometry().PositionAt(DragX(point.x())), true, true);
  if (!ThumbRect().contains(point)) hover_ = false;
  update();
}

void CImageSlider::leaveEvent(QEvent* event) {
  if (hover_ && !pressed_) {
    hover_ = false;
    update(ThumbRect());
  }
  QWidget::leaveEvent(event);
}

void CImageSlider::keyPressEvent(QKeyEvent* event) {
  std::optional<int> target;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
      target = position_ - 1;
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      target = position_ + 1;
      break;
    case Qt::Key_Home:
      target = minimum_;
      break;
    case Qt::Key_End:
      target = maximum_;
      break;
    case Qt::Key_Escape:
      if (pressed_) {
        AbandonDrag();
        event->accept();
        return;
      }
      break;
    default:
      break;
  }
  if (!target) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (pressed_) return;  // the mouse holds the thumb until it lets go
  const int position = std::clamp(*target, minimum_, maximum_);
  if (position != position_) SetPos(position, true, true);
}

void CImageSlider::focusInEvent(QFocusEvent* event) {
  keyboardFocus_ = IsKeyboardFocusReason(event->reason());
  QWidget::focusInEvent(event);
  update();
}

void CImageSlider::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  AbandonDrag();
}

void CImageSlider::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange && !isEnabled()) AbandonDrag();
}

void CImageSlider::AbandonDrag() {
  const bool dragging = pressed_;
  pressed_ = false;
  hover_ = false;
  // The owner acts only on final positions, so a drag that never got one must not leave the
  // thumb at a value that was never applied.
  if (dragging) {
    SetPos(pressPosition_, true, false);
  } else {
    update();
  }
}

QRect SetupSlider(const std::filesystem::path& skinIni, std::string_view key, CImageSlider& slider,
                  const SkinImage* channelRight, const SkinImage* channelLeft,
                  const CImageSlider::ThumbImages& thumbs) {
  const QRect rect = PlaceControl(skinIni, key, slider);
  slider.SetImages(rect.topLeft(), channelRight, channelLeft, thumbs);
  const QRect channel = ReadControlRect(skinIni, std::string(key) + "_CHANNEL");
  if (IsMissingControl(channel)) {
    slider.SetTrack(std::nullopt);
  } else {
    slider.SetTrack(channel.translated(-rect.topLeft()));
  }
  return rect;
}

}  // namespace vexlo
