#include "skin/CImageColorPicker.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "skin/ColorRef.h"
#include "skin/SkinFile.h"

namespace vexlo {

CImageColorPicker::CImageColorPicker(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CImageColorPicker::~CImageColorPicker() = default;

void CImageColorPicker::SetImage(ImageMode mode, const SkinImage* image, QPoint source) {
  imageMode_ = mode;
  image_ = image;
  source_ = source;
  update();
}

void CImageColorPicker::SetPickCallback(PickCallback callback) {
  callback_ = std::move(callback);
}

QImage CImageColorPicker::Render() const {
  QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
  const bool hasImage = imageMode_ != ImageMode::None && image_ && image_->IsLoaded();
  // Alpha-composited pictures land on black, as on a fresh off-screen bitmap.
  picture.fill(hasImage ? QColor(Qt::black) : palette().color(QPalette::Base));
  if (!hasImage) return picture;
  QPainter painter(&picture);
  const QRect all = picture.rect();
  const QRect source(source_, size());
  if (imageMode_ == ImageMode::Opaque) {
    image_->DrawOpaque(painter, all, source);
  } else {
    image_->DrawBlended(painter, all, source);
  }
  return picture;
}

void CImageColorPicker::Pick(QPoint position) {
  if (width() <= 0 || height() <= 0) return;
  pickedPoint_ =
      QPoint(std::clamp(position.x(), 0, width() - 1), std::clamp(position.y(), 0, height() - 1));
  pickedColour_ = RefFromRgb(Render().pixel(pickedPoint_));
  if (callback_) callback_(pressed_, pickedColour_);
}

void CImageColorPicker::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(0, 0, Render());
}

void CImageColorPicker::mousePressEvent(QMouseEvent* event) {
  // A double click arrives here too (the widget's default), so it picks like a press.
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressed_ = true;
  Pick(event->position().toPoint());
  event->accept();
}

void CImageColorPicker::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  Pick(event->position().toPoint());
  event->accept();
}

void CImageColorPicker::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  pressed_ = false;
  Pick(event->position().toPoint());
  event->accept();
}

void SetupColorPicker(const std::filesystem::path& skinIni, CImageColorPicker& picker,
                      const SkinImage* image) {
  const QRect rect = PlaceControl(skinIni, "BTN_LIGHT_COLOR_PICKER", picker);
  picker.SetImage(ImageMode::Opaque, image, rect.topLeft());
}

}  // namespace vexlo
