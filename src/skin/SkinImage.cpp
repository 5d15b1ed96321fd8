#include "skin/SkinImage.h"

#include <QByteArray>
#include <QPainter>

#include <string>

#include "common/FileIo.h"
#include "skin/ColorMatrix.h"

namespace vexlo {

Result SkinImage::Load(const std::filesystem::path& file) {
  pixels_ = QImage();
  std::string bytes;
  if (const Result r = ReadFileBytes(file, bytes, kMaxImageFileBytes); r != Result::Ok) return r;
  const QImage decoded = QImage::fromData(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoded.isNull()) return Result::BadData;
  pixels_ = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return Result::Ok;
}

void SkinImage::Assign(const QImage& pixels) {
  pixels_ = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QRgb SkinImage::Pixel(int x, int y) const {
  return pixels_.valid(x, y) ? qUnpremultiply(pixels_.pixel(x, y)) : 0;
}

void SkinImage::DrawOpaque(QPainter& painter, const QRect& target, const QRect& source) const {
  if (!IsLoaded()) return;
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(target, pixels_, source);
  painter.setCompositionMode(mode);
}

void SkinImage::DrawBlended(QPainter& painter, const QRect& target, const QRect& source,
                            const ColorMatrix* matrix) const {
  if (!IsLoaded()) return;
  if (matrix == nullptr) {
    painter.drawImage(target, pixels_, source);
    return;
  }
  // The matrix works on the copied source only; any part of it outside the picture copies as
  // transparent pixels.
  painter.drawImage(target, matrix->Apply(pixels_.copy(source)));
}

void SkinImage::DrawWithOpacity(QPainter& painter, const QRect& target, const QRect& source,
                                double opacity) const {
  if (!IsLoaded()) return;
  const double previous = painter.opacity();
  painter.setOpacity(previous * opacity);
  painter.drawImage(target, pixels_, source);
  painter.setOpacity(previous);
}

Result LoadImageFile(const std::filesystem::path& file, SkinImage& image) {
  return image.Load(file);
}

}  // namespace vexlo
