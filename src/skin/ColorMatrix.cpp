#include "skin/ColorMatrix.h"

#include <algorithm>

namespace vexlo {
namespace {

// Rounds half up; the clamp keeps the sum in range before the conversion.
int ToByte(float unit) {
  return static_cast<int>(std::clamp(unit, 0.0f, 1.0f) * 255.0f + 0.5f);
}

}  // namespace

ColorMatrix ColorMatrix::Identity() {
  ColorMatrix identity;
  for (int i = 0; i < 5; ++i) identity.m[i][i] = 1.0f;
  return identity;
}

ColorMatrix ColorMatrix::Tint(std::uint32_t argb) {
  const float t = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
  ColorMatrix tint = Identity();
  for (int i = 0; i < 3; ++i) {
    const float channel = static_cast<float>((argb >> (16 - 8 * i)) & 0xFF) / 255.0f;
    tint.m[i][i] = 1.0f - t;
    tint.m[4][i] = t * channel;
  }
  return tint;
}

QRgb ColorMatrix::Apply(QRgb pixel) const {
  const float in[5] = {qRed(pixel) / 255.0f, qGreen(pixel) / 255.0f, qBlue(pixel) / 255.0f,
                       qAlpha(pixel) / 255.0f, 1.0f};
  float out[4] = {};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 5; ++row) out[column] += in[row] * m[row][column];
  }
  return qRgba(ToByte(out[0]), ToByte(out[1]), ToByte(out[2]), ToByte(out[3]));
}

QImage ColorMatrix::Apply(const QImage& image) const {
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) line[x] = Apply(line[x]);
  }
  return result;
}

}  // namespace vexlo
