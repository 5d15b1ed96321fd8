#pragma once

#include <QRect>
#include <QString>

#include <cstdint>

class QFont;
class QFontMetrics;
class QPainter;

namespace vexlo {

// Text layout flags of the original platform's DrawText, which the skinned windows pass around
// as plain numbers (37 = centred on one line, 0x80000015 = wrapped and centred, ...).
namespace dt {
inline constexpr std::uint32_t kLeft = 0x0;
inline constexpr std::uint32_t kCenter = 0x1;
inline constexpr std::uint32_t kRight = 0x2;
inline constexpr std::uint32_t kVCenter = 0x4;
inline constexpr std::uint32_t kBottom = 0x8;
inline constexpr std::uint32_t kWordBreak = 0x10;
inline constexpr std::uint32_t kSingleLine = 0x20;
inline constexpr std::uint32_t kExpandTabs = 0x40;
inline constexpr std::uint32_t kCalcRect = 0x400;
inline constexpr std::uint32_t kNoPrefix = 0x800;
inline constexpr std::uint32_t kEndEllipsis = 0x8000;
// The toolkit's own marker: vertically centre wrapped text (the platform centres only single
// lines).
inline constexpr std::uint32_t kCentreWrapped = 0x80000000u;
}  // namespace dt

// As the platform lays text out: vertical placement only for single lines (multi-line text
// starts at the top), word wrap with kWordBreak, '&' marks a mnemonic unless kNoPrefix.
int QtTextFlags(std::uint32_t format);

// The rectangle the text takes in `rect` (its width limits wrapping).
QRect MeasureText(const QFontMetrics& metrics, const QRect& rect, const QString& text,
                  std::uint32_t format);

// Draws with the painter's font and pen; a single line with kEndEllipsis is cut with "...".
void DrawText(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t format);

// The font of a skinned control, made as the platform makes one from a face name: a negative
// height is the character height in pixels, a positive one the cell height (with internal
// leading), 0 the default size; weights 100 to 900 (400 normal, 700 bold), 0 for normal.
QFont CreateSkinFont(int height, int weight, const QString& face);

}  // namespace vexlo
