// Control rectangles of skin files: any value gives either none or a rectangle whose numbers
// stay far from the int limit, so that the arithmetic of QRect and of the layout cannot overflow.
#include <QRect>

#include "FuzzSupport.h"
#include "skin/SkinFile.h"

using namespace vexlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  const std::optional<QRect> rect = ParseControlRect(value);
  if (!rect) return 0;
  FUZZ_CHECK(std::abs(rect->left()) <= kMaxSkinCoordinate);
  FUZZ_CHECK(std::abs(rect->top()) <= kMaxSkinCoordinate);
  FUZZ_CHECK(rect->width() >= 0 && rect->width() <= kMaxSkinCoordinate);
  FUZZ_CHECK(rect->height() >= 0 && rect->height() <= kMaxSkinCoordinate);
  // What the windows do with it: move it, grow it, unite it with another.
  const QRect moved = rect->translated(rect->width(), rect->height()).adjusted(-1, -1, 1, 1);
  FUZZ_CHECK((moved | *rect).contains(rect->center()) || rect->isEmpty());
  return 0;
}
