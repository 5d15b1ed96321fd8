#include "device/TranslationTable.h"

namespace vexlo {
namespace {

constexpr std::size_t kGroupCount = 4;
constexpr std::size_t kEntriesPerGroup = 5;
constexpr std::array<std::uint8_t, kGroupCount> kUsages = {0xCD, 0xB7, 0xE9, 0xEA};
constexpr std::array<std::uint8_t, kGroupCount> kEventCodes = {0x14, 0x15, 0x16, 0x17};

static_assert(kGroupCount * kEntriesPerGroup == kTranslationEntryCount);

}  // namespace

TranslationTable BuildTranslationTable() {
  TranslationTable table{};
  for (std::size_t group = 0; group < kGroupCount; ++group) {
    std::uint8_t* head = &table[group * kEntriesPerGroup * kTranslationEntrySize];
    head[1] = 0x01;
    // The four entries after the head carry the usage, nothing, the event code, nothing.
    const std::array<std::uint8_t, 4> values = {kUsages[group], 0x00, kEventCodes[group], 0x00};
    for (std::size_t k = 0; k < values.size(); ++k) {
      std::uint8_t* entry = head + (k + 1) * kTranslationEntrySize;
      entry[0] = 0x07;
      entry[4] = 0x02;
      entry[5] = values[k];
    }
  }
  return table;
}

}  // namespace vexlo
