#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexlo {

// The mouse filter's button interception table: six records of 24 bytes, in this order: left
// down, left up, right down, right up, middle down, middle up. An enabled record makes the filter
// swallow that transition of the button and signal the record's event instead.
//
// Record layout: byte 0 enabled (1 or 0); byte 1 action (2 when enabled, else 0); bytes 4..5 the
// mouse-class button flag of the transition, little-endian (0x0001, 0x0002, ... 0x0020); bytes
// 16..23 the event that the filter signals, as a signed 64-bit little-endian value (0 when not
// enabled); every other byte 0.
inline constexpr std::size_t kInterceptRecordSize = 24;
inline constexpr std::size_t kInterceptRecordCount = 6;
inline constexpr std::size_t kInterceptionTableSize = kInterceptRecordSize * kInterceptRecordCount;
using InterceptionTable = std::array<std::uint8_t, kInterceptionTableSize>;

// `intercepted`: the left, right and middle button; `events`: the value that names event 0..5 (one
// per record) to the filter.
InterceptionTable BuildInterceptionTable(const std::array<bool, 3>& intercepted,
                                         const std::array<std::int64_t, 6>& events);

}  // namespace vexlo
