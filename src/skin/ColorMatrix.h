#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace vexlo {

// A 5 x 5 colour matrix as the image library of the original platform applies it: a pixel is
// the row vector (r, g, b, a, 1) with components from 0 to 1 (not premultiplied), multiplied by
// the matrix; row 4 is the translation. Results are clamped to [0, 1] and rounded to bytes.
struct ColorMatrix {
  std::array<std::array<float, 5>, 5> m{};

  static ColorMatrix Identity();

  // Turns every pixel into (1 - t) x its colour + t x the tint colour with t = alpha / 255,
  // keeping its alpha. `argb` is 0xAARRGGBB.
  static ColorMatrix Tint(std::uint32_t argb);

  QRgb Apply(QRgb pixel) const;  // non-premultiplied ARGB in and out

  // The image in non-premultiplied ARGB32 with the matrix applied to every pixel.
  QImage Apply(const QImage& image) const;
};

}  // namespace vexlo
