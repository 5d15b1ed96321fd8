#pragma once

#include <QImage>
#include <QRect>

#include <filesystem>

#include "common/Result.h"

class QPainter;

namespace vexlo {

struct ColorMatrix;

// How a window or control draws its skin images: not at all, alpha-composited (the images are
// GdiplusImage) or copied opaque (DibImage).
enum class ImageMode { None = 0, Blended = 1, Opaque = 2 };

// A decoded skin picture (PNG with alpha). The windows draw it either opaque, as a bit-block copy
// of its pixels, or alpha-composited, optionally through a colour matrix; which one is the
// caller's image mode. An image that failed to load stays empty and draws nothing.
class SkinImage {
 public:
  // Decodes the file: Ok, BadData when it is not a picture the decoder reads, otherwise the
  // refusal of ReadFileBytes (FileNotFound when nothing exists at the path; no FIFO, device or
  // file above kMaxImageFileBytes is read). A failed load leaves the image empty.
  [[nodiscard]] Result Load(const std::filesystem::path& file);

  // Replaces the pixels, for pictures composed at run time.
  void Assign(const QImage& pixels);

  bool IsLoaded() const { return !pixels_.isNull(); }
  int Width() const { return pixels_.width(); }
  int Height() const { return pixels_.height(); }
  QSize Size() const { return pixels_.size(); }
  const QImage& Pixels() const { return pixels_; }

  // The colour of one pixel, not premultiplied; 0 outside the image.
  QRgb Pixel(int x, int y) const;

  // Each draws the source rectangle of the image onto the destination rectangle (scaled when the
  // sizes differ).
  void DrawOpaque(QPainter& painter, const QRect& target, const QRect& source) const;
  void DrawBlended(QPainter& painter, const QRect& target, const QRect& source,
                   const ColorMatrix* matrix = nullptr) const;
  // Alpha-composited with a constant opacity from 0 to 1 on top of the per-pixel alpha.
  void DrawWithOpacity(QPainter& painter, const QRect& target, const QRect& source,
                       double opacity) const;

 protected:
  SkinImage() = default;
  ~SkinImage() = default;
  SkinImage(const SkinImage&) = default;
  SkinImage& operator=(const SkinImage&) = default;

 private:
  QImage pixels_;  // premultiplied ARGB, the format the painter draws fastest
};

// Both kinds hold the same pixels; the names say how a skin file's images are meant to be drawn:
// alpha-composited (the device model overlays, the slider thumbs) or copied opaque (everything
// else).
class GdiplusImage final : public SkinImage {};
class DibImage final : public SkinImage {};

// Loads a picture by its full path (the dialogs' fixed picture files): see SkinImage::Load.
[[nodiscard]] Result LoadImageFile(const std::filesystem::path& file, SkinImage& image);

}  // namespace vexlo
