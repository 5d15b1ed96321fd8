#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexlo {

// The event translation table that the HID filter receives when the link opens: 20 entries of
// 32 bytes in four groups of five, one group per host-reported button (consumer usages 0xCD, 0xB7,
// 0xE9, 0xEA; event codes 0x14 to 0x17).
inline constexpr std::size_t kTranslationEntrySize = 32;
inline constexpr std::size_t kTranslationEntryCount = 20;
inline constexpr std::size_t kTranslationTableSize = kTranslationEntrySize * kTranslationEntryCount;
using TranslationTable = std::array<std::uint8_t, kTranslationTableSize>;

TranslationTable BuildTranslationTable();

}  // namespace vexlo
