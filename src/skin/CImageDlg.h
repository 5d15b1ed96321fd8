#pragma once

#include <QDialog>
#include <QPoint>

#include "skin/SkinImage.h"

namespace vexlo {

// The base of every skinned window: a dialog without caption or border whose client area is one
// skin image, whose outline may follow the non-white pixels of a region image, which moves when
// the user drags its background, and which never maximises. The controls on it are separate
// child widgets placed from the skin file.
class CImageDlg : public QDialog {
 public:
  enum class PositionMode { TopLeft = 0, Centred = 1, Stored = 2 };

  explicit CImageDlg(QWidget* parent = nullptr);
  ~CImageDlg() override;

  // What a derived window's skin-loading step sets. The images belong to their loader and must
  // outlive the window's use of them.
  void SetImages(ImageMode mode, const SkinImage* background, const SkinImage* region);
  void SetPositionMode(PositionMode mode, QPoint stored = QPoint());

  ImageMode GetImageMode() const { return imageMode_; }
  const SkinImage* Background() const { return background_; }

  // Sizes the window to the background image (keeping its top-left corner) and sets its outline
  // from the region image. Called at initialisation and whenever the background is swapped.
  void ApplyImageFrame();

  // Draws the background: with a rectangle only that part, at the same coordinates; without,
  // the whole image from (0, 0). Without an image, the button-face colour.
  void PaintBackground(QPainter& painter, const QRect* rect = nullptr) const;

  // Runs OnInitDialog unless it has run since the window was last ended with done(). Showing
  // the window does this by itself; a window that initialises while hidden calls it directly.
  void InitDialog();

  // Ends the window; its next showing initialises it again.
  void done(int result) override;

 protected:
  // The window's initialisation: frames it to its image and moves it to its position. Derived
  // windows call this first and then set up their controls.
  virtual void OnInitDialog();

  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPoint InitialPosition() const;

  ImageMode imageMode_ = ImageMode::None;
  const SkinImage* background_ = nullptr;
  const SkinImage* region_ = nullptr;
  PositionMode positionMode_ = PositionMode::Centred;
  QPoint storedPosition_;
  bool initialised_ = false;
  bool dragging_ = false;  // moving by hand where the window system cannot move the window
  QPoint dragOffset_;      // press point minus window position
};

}  // namespace vexlo
