#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>

#include "skin/SkinImage.h"

namespace vexlo {

// A colour field cut out of the window's skin image: pressing it and dragging picks the colour of
// the pixel under the pointer, live. While the button is held the pointer may leave the control;
// the pick then comes from the nearest edge pixel. Releasing picks once more, reported as not
// pressed, so the owner knows the choice is final.
class CImageColorPicker final : public QWidget {
 public:
  // Called with (pressed, COLORREF of the picked pixel) for every pick.
  using PickCallback = std::function<void(bool pressed, std::uint32_t colour)>;

  explicit CImageColorPicker(QWidget* parent = nullptr);
  ~CImageColorPicker() override;

  // The whole-window image (not owned) and the control's position inside it. Mode None shows the
  // desktop's window colour.
  void SetImage(ImageMode mode, const SkinImage* image, QPoint source);
  void SetPickCallback(PickCallback callback);

  // The last pixel picked, (-1, -1) before any, and its colour (0 before any).
  QPoint PickedPoint() const { return pickedPoint_; }
  std::uint32_t PickedColour() const { return pickedColour_; }
  bool IsPressed() const { return pressed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // What the control shows; painting and picking both read it.
  QImage Render() const;
  void Pick(QPoint position);

  ImageMode imageMode_ = ImageMode::None;
  const SkinImage* image_ = nullptr;
  QPoint source_;
  bool pressed_ = false;
  QPoint pickedPoint_{-1, -1};
  std::uint32_t pickedColour_ = 0;
  PickCallback callback_;
};

// Places the picker at BTN_LIGHT_COLOR_PICKER and shows the image's pixels under it, opaque.
void SetupColorPicker(const std::filesystem::path& skinIni, CImageColorPicker& picker,
                      const SkinImage* image);

}  // namespace vexlo
