#include "device/InterceptionTable.h"

namespace vexlo {
namespace {

constexpr std::size_t kEnabledOffset = 0;
constexpr std::size_t kActionOffset = 1;
constexpr std::size_t kButtonFlagOffset = 4;
constexpr std::size_t kEventOffset = 16;
constexpr std::uint8_t kActionSignal = 2;

static_assert(kEventOffset + sizeof(std::int64_t) == kInterceptRecordSize);

}  // namespace

InterceptionTable BuildInterceptionTable(const std::array<bool, 3>& intercepted,
                                         const std::array<std::int64_t, 6>& events) {
  InterceptionTable table{};
  for (std::size_t index = 0; index < kInterceptRecordCount; ++index) {
    std::uint8_t* record = &table[index * kInterceptRecordSize];
    const auto buttonFlag = static_cast<std::uint16_t>(1u << index);
    record[kButtonFlagOffset] = static_cast<std::uint8_t>(buttonFlag & 0xFF);
    record[kButtonFlagOffset + 1] = static_cast<std::uint8_t>(buttonFlag >> 8);
    if (!intercepted[index / 2]) continue;
    record[kEnabledOffset] = 1;
    record[kActionOffset] = kActionSignal;
    const auto event = static_cast<std::uint64_t>(events[index]);
    for (std::size_t i = 0; i < sizeof event; ++i) {
      record[kEventOffset + i] = static_cast<std::uint8_t>(event >> (8 * i));
    }
  }
  return table;
}

}  // namespace vexlo
