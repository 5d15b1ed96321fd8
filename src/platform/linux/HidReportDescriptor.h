#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/Result.h"

// What a HID report descriptor says about its top-level collections, the way the platform's HID
// class lists them: each application collection as an interface of its own, with its usage, the
// report IDs it owns and the length of its longest report of each kind.
namespace vexlo {

struct HidTopCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::vector<std::uint8_t> inputReportIds;  // empty when the descriptor uses no report IDs
  // In bytes, counting the report ID byte as the platform does (also when the descriptor uses no
  // IDs); 0 when the collection has no report of that kind.
  std::uint16_t inputReportLength = 0;
  std::uint16_t outputReportLength = 0;
  std::uint16_t featureReportLength = 0;

  bool operator==(const HidTopCollection&) const = default;
};

struct HidDescriptorLayout {
  bool usesReportIds = false;
  std::vector<HidTopCollection> collections;  // in descriptor order
};

// The largest descriptor the kernel hands out (HID_MAX_DESCRIPTOR_SIZE).
inline constexpr std::size_t kMaxReportDescriptorSize = 4096;

// Reads the collections of a report descriptor. BadData for one that is longer than the kernel
// allows, ends inside an item, closes more collections than it opens or leaves one open.
[[nodiscard]] Result ParseReportDescriptor(std::span<const std::uint8_t> descriptor,
                                           HidDescriptorLayout& layout);

}  // namespace vexlo
