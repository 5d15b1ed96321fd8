#pragma once

#include <QColor>

// The colours of our default skin: a dark navy theme with one blue accent. They sit between the
// fixed colours the windows use for text (0xC8C8C8 grey, white on hover), menus (navy 0x321E0A)
// edits (0x1E1106) and selections (blue 0xBA6908), all COLORREF, so the drawn and the coded parts
// of a window match.
namespace vexlo::skin {

inline const QColor kWindow{0x0B, 0x15, 0x20};
inline const QColor kHeaderTop{0x11, 0x1F, 0x30};
inline const QColor kHeaderBottom{0x0D, 0x19, 0x27};
inline const QColor kLine{0x1B, 0x2C, 0x40};
inline const QColor kCard{0x0F, 0x1C, 0x2B};
inline const QColor kCardBorder{0x1C, 0x2E, 0x43};
inline const QColor kField{0x06, 0x11, 0x1E};  // the edits' own background
inline const QColor kFieldBorder{0x25, 0x3C, 0x55};
inline const QColor kButtonTop{0x1A, 0x2D, 0x44};
inline const QColor kButtonBottom{0x14, 0x25, 0x39};
inline const QColor kButtonBorder{0x28, 0x42, 0x60};
inline const QColor kHotTop{0x1F, 0x4A, 0x7C};
inline const QColor kHotBottom{0x19, 0x3D, 0x68};
inline const QColor kAccent{0x2F, 0x86, 0xE8};
inline const QColor kAccentDeep{0x1A, 0x62, 0xC0};
inline const QColor kAccentSoft{0x9C, 0xC8, 0xFF};
inline const QColor kIcon{0xA9, 0xBB, 0xCF};
inline const QColor kIconHot{0xFF, 0xFF, 0xFF};
inline const QColor kMuted{0x5C, 0x70, 0x87};
inline const QColor kDanger{0xD9, 0x43, 0x4E};
inline const QColor kRecord{0xE5, 0x48, 0x4D};
inline const QColor kTile{0x13, 0x2A, 0x47};

// Face of the brand lettering drawn into the pictures (not a text of the language file).
inline constexpr const char* kBrandFace = "Open Sans";

}  // namespace vexlo::skin
