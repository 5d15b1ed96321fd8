#include "skin/CImageDlg.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "skin/SkinImage.h"
#include "skin/WindowRegion.h"

namespace vexlo {

CImageDlg::CImageDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  // The paint handler covers every pixel, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CImageDlg::~CImageDlg() = default;

void CImageDlg::SetImages(ImageMode mode, const SkinImage* background, const SkinImage* region) {
  imageMode_ = mode;
  background_ = background;
  region_ = region;
}

void CImageDlg::SetPositionMode(PositionMode mode, QPoint stored) {
  positionMode_ = mode;
  storedPosition_ = stored;
}

void CImageDlg::ApplyImageFrame() {
  if (imageMode_ != ImageMode::None && background_ && background_->IsLoaded()) {
    setFixedSize(background_->Size());
    raise();
  }
  if (imageMode_ == ImageMode::None || !region_ || !region_->IsLoaded()) return;
  setMask(imageMode_ == ImageMode::Blended ? RegionFromBitmap(CompositeOverBlack(region_->Pixels()))
                                           : RegionFromBitmap(region_->Pixels()));
}

void CImageDlg::PaintBackground(QPainter& painter, const QRect* rect) const {
  const bool hasImage = imageMode_ != ImageMode::None && background_ && background_->IsLoaded();
  if (!hasImage) {
    painter.fillRect(rect ? *rect : this->rect(), palette().color(QPalette::Button));
    return;
  }
  const QRect area = rect ? *rect : QRect(QPoint(0, 0), background_->Size());
  if (imageMode_ == ImageMode::Blended) {
    // Composited over black, as the outline is taken: transparent pixels show black.
    painter.fillRect(area, Qt::black);
    background_->DrawBlended(painter, area, area);
  } else {
    background_->DrawOpaque(painter, area, area);
  }
}

void CImageDlg::InitDialog() {
  if (initialised_) return;
  initialised_ = true;
  OnInitDialog();
}

void CImageDlg::OnInitDialog() {
  ApplyImageFrame();
  move(InitialPosition());
}

QPoint CImageDlg::InitialPosition() const {
  switch (positionMode_) {
    case PositionMode::TopLeft:
      return QPoint(0, 0);
    case PositionMode::Stored:
      return storedPosition_;
    case PositionMode::Centred:
      break;
  }
  if (const QWidget* parent = parentWidget()) {
    const QRect outer = parent->window()->frameGeometry();
    return QPoint(outer.left() + (outer.width() - width()) / 2,
                  outer.top() + (outer.height() - height()) / 2);
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QPoint(0, 0);
  const QRect area = screen->geometry();
  return QPoint(area.left() + area.width() / 2 - width() / 2,
                area.top() + area.height() / 2 - height() / 2);
}

void CImageDlg::done(int result) {
  // Ending the window is the end of this showing: the next one initialises afresh.
  initialised_ = false;
  dragging_ = false;
  QDialog::done(result);
}

void CImageDlg::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  PaintBackground(painter);
}

void CImageDlg::showEvent(QShowEvent* event) {
  InitDialog();
  QDialog::showEvent(event);
}

void CImageDlg::changeEvent(QEvent* event) {
  // The window is exactly its image: a maximise request from anywhere is refused.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized)) {
    setWindowState(windowState() & ~Qt::WindowMaximized);
  }
  QDialog::changeEvent(event);
}

void CImageDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  // The window system moves the window when it can; otherwise the window follows the pointer.
  QWindow* handle = windowHandle();
  dragging_ = !(handle && handle->startSystemMove());
  dragOffset_ = event->globalPosition().toPoint() - pos();
  event->accept();
}

void CImageDlg::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - dragOffset_);
    event->accept();
    return;
  }
  QDialog::mouseMoveEvent(event);
}

void CImageDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace vexlo
