#pragma once

#include <QImage>
#include <QRegion>

namespace vexlo {

// The outline of a window drawn from a bitmap: the union of all pixels that are not pure white
// (red, green and blue all 255; alpha is not looked at). A picture without white pixels gives
// its full rectangle, an all-white one an empty region.
QRegion RegionFromBitmap(const QImage& bitmap);

// The picture composited over opaque black, as an alpha-composited image becomes a bitmap before
// its outline is taken: fully transparent pixels turn black and so stay inside the outline.
QImage CompositeOverBlack(const QImage& picture);

}  // namespace vexlo
