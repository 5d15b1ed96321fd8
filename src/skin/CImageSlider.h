#pragma once

#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "skin/ColorMatrix.h"
#include "skin/SkinImage.h"

namespace vexlo {

class MessageTarget;

// Where a slider's thumb sits and which position a point selects. The one place that decides
// both, for painting and for the mouse alike. Integer arithmetic; divisions truncate.
struct SliderGeometry {
  QRect track;  // the thumb's centre moves from track.x() to track.x() + track.width()
  QSize thumb;  // the thumb picture's size
  int minimum = 0;
  int maximum = 100;  // always above minimum

  // The track over a rectangle in slider coordinates: its full width, as tall as the thumb and
  // centred on it vertically, at least 1 x 1.
  static QRect TrackOver(const QRect& rect, int thumbHeight);

  // The thumb's centre for a position; the channel changes picture there too.
  int CentreX(int position) const;
  QRect ThumbRect(int position) const;
  // The position a point selects: the ends beyond the track, else the nearest step.
  int PositionAt(int x) const;
};

// The horizontal slider of the skinned windows. Its channel is cut from two whole-window skin
// images (the one left of the thumb and the one right of it), so only the thumb seems to move
// over the window. Position changes go to a notify window as UM_SLIDER_CHANGED with the control
// ID and a final flag: 0 while the user drags, 1 when the position is chosen (release, keys).
//
// A drag that ends any other way (Escape, the slider disabled, the focus lost) puts the thumb
// back where it was when the button went down, with one message that is not final, so that
// nothing shows a value the owner never applied.
class CImageSlider final : public QWidget {
 public:
  // State index of the thumb pictures and tints.
  enum State : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
  static constexpr int kStateCount = 4;
  using ThumbImages = std::array<const SkinImage*, kStateCount>;
  using ThumbTints = std::array<std::uint32_t, kStateCount>;

  // The thumb's size without a picture.
  static constexpr QSize kPlainThumb{10, 20};
  // How strongly a disabled slider shows its normal thumb when it has no disabled picture.
  static constexpr double kFadedOpacity = 0.45;
  // The default track leaves this much of the client area free at each end.
  static constexpr int kTrackInset = 6;

  explicit CImageSlider(QWidget* parent = nullptr);
  ~CImageSlider() override;

  // The channel pictures (whole-window images, drawn opaque from the slider's position `source`
  // inside them) and the thumb pictures per state (drawn alpha-composited). Not owned.
  void SetImages(QPoint source, const SkinImage* channelRight, const SkinImage* channelLeft,
                 const ThumbImages& thumbs);

  // Tints each state's thumb picture with an ARGB colour (see ColorMatrix::Tint).
  void SetThumbTint(const ThumbTints& argb);

  // The track over a channel rectangle in slider coordinates; none: the client area less
  // kTrackInset at each end, following the slider's size.
  void SetTrack(std::optional<QRect> channel);

  // Refuses a range whose maximum is not above its minimum (false, the old range stays). The
  // position is kept inside the new range without a message.
  bool SetRange(int minimum, int maximum);

  // Clamps the position to the range, moves the thumb and repaints at once. Posts to the notify
  // window when the user made the change (`user`) or the slider notifies always.
  void SetPos(int position, bool user, bool final);

  // Where UM_SLIDER_CHANGED goes (none: nowhere) and the control ID it carries. Not owned.
  void SetNotifyWindow(MessageTarget* window, int controlId);
  // Whether positions set by the program are posted too (the default).
  void SetNotifyAlways(bool always) { notifyAlways_ = always; }

  int GetPos() const { return position_; }
  int GetRangeMin() const { return minimum_; }
  int GetRangeMax() const { return maximum_; }
  SliderGeometry Geometry() const;
  bool IsDragging() const { return pressed_; }
  int CurrentState() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QSize ThumbSize() const;
  QRect ThumbRect() const { return Geometry().ThumbRect(position_); }
  // The drag's pointer x: less the grab offset while the thumb is held.
  int DragX(int x) const { return hover_ ? x - dragOffset_ : x; }
  void AbandonDrag();
  void PaintChannel(QPainter& painter, int split) const;
  void PaintThumb(QPainter& painter, const QRect& thumb) const;

  bool hover_ = false;
  bool pressed_ = false;
  bool keyboardFocus_ = false;
  QPoint source_;
  const SkinImage* channelRight_ = nullptr;
  const SkinImage* channelLeft_ = nullptr;
  ThumbImages thumbs_{};
  bool tinted_ = false;
  std::array<ColorMatrix, kStateCount> tintMatrices_;
  std::optional<QRect> channel_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  int pressPosition_ = 0;  // where a drag returns to when it is abandoned
  int dragOffset_ = 0;     // press point minus thumb centre, when the thumb was grabbed
  MessageTarget* notify_ = nullptr;
  int controlId_ = 0;
  bool notifyAlways_ = true;
};

// Places the slider at the key's rectangle, takes its channel from the two whole-window images at
// that place and its track from the key with the suffix "_CHANNEL" (the default track when the
// skin has none). Returns the slider's rectangle.
QRect SetupSlider(const std::filesystem::path& skinIni, std::string_view key, CImageSlider& slider,
                  const SkinImage* channelRight, const SkinImage* channelLeft,
                  const CImageSlider::ThumbImages& thumbs);

}  // namespace vexlo
