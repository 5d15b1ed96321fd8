#include "skin/WindowRegion.h"

#include <QPainter>

#include <vector>

namespace vexlo {
namespace {

bool IsWhite(QRgb pixel) {
  return (pixel & 0x00FFFFFF) == 0x00FFFFFF;
}

// The maximal runs [x0, x1) of non-white pixels of one row.
void CollectRuns(const QRgb* row, int width, std::vector<std::pair<int, int>>& runs) {
  runs.clear();
  int x = 0;
  while (x < width) {
    while (x < width && IsWhite(row[x])) ++x;
    const int start = x;
    while (x < width && !IsWhite(row[x])) ++x;
    if (x > start) runs.emplace_back(start, x);
  }
}

}  // namespace

QRegion RegionFromBitmap(const QImage& bitmap) {
  // Each band is a run of rows with the same runs, so a plain outline needs few rectangles. The
  // rectangles come out sorted by y and then x, without overlaps and without touching
  // neighbours in a band, as QRegion::setRects requires.
  const QImage pixels = bitmap.convertToFormat(QImage::Format_ARGB32);
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> band;
  std::vector<std::pair<int, int>> runs;
  int bandTop = 0;
  const auto closeBand = [&](int bottom) {
    for (const auto& [x0, x1] : band) rects.emplace_back(x0, bandTop, x1 - x0, bottom - bandTop);
  };
  for (int y = 0; y < pixels.height(); ++y) {
    CollectRuns(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), pixels.width(), runs);
    if (runs == band) continue;
    closeBand(y);
    band.swap(runs);
    bandTop = y;
  }
  closeBand(pixels.height());
  QRegion region;
  if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

QImage CompositeOverBlack(const QImage& picture) {
  QImage result(picture.size(), QImage::Format_RGB32);
  result.fill(Qt::black);
  QPainter painter(&result);
  painter.drawImage(0, 0, picture);
  return result;
}

}  // namespace vexlo
