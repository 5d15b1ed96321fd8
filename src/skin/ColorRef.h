#pragma once

#include <QColor>

#include <cstdint>

namespace vexlo {

// The skin files and the window code give colours in the two 32-bit layouts of the original
// platform: COLORREF (0x00BBGGRR) for text and fills, ARGB (0xAARRGGBB) for tints.
inline QColor ColorFromRef(std::uint32_t colorref) {
  return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                static_cast<int>((colorref >> 16) & 0xFF));
}

inline QColor ColorFromArgb(std::uint32_t argb) {
  return QColor::fromRgba(static_cast<QRgb>(argb));
}

// The COLORREF of a pixel's red, green and blue; alpha is dropped.
inline std::uint32_t RefFromRgb(QRgb rgb) {
  return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
         static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

// The colour with every channel inverted (255 - value).
inline std::uint32_t InverseRef(std::uint32_t colorref) {
  return ~colorref & 0xFFFFFF;
}

}  // namespace vexlo
