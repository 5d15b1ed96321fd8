#include "platform/linux/HidReportDescriptor.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace vexlo {
namespace {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

constexpr std::uint8_t kMainInput = 0x8;
constexpr std::uint8_t kMainOutput = 0x9;
constexpr std::uint8_t kMainCollection = 0xA;
constexpr std::uint8_t kMainFeature = 0xB;
constexpr std::uint8_t kMainEndCollection = 0xC;
constexpr std::uint8_t kGlobalUsagePage = 0x0;
constexpr std::uint8_t kGlobalReportSize = 0x7;
constexpr std::uint8_t kGlobalReportId = 0x8;
constexpr std::uint8_t kGlobalReportCount = 0x9;
constexpr std::uint8_t kGlobalPush = 0xA;
constexpr std::uint8_t kGlobalPop = 0xB;
constexpr std::uint8_t kLocalUsage = 0x0;
constexpr std::uint8_t kLocalUsageMinimum = 0x1;
constexpr std::uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
  std::uint16_t usagePage = 0;
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
};

enum class ReportKind { Input, Output, Feature };

// Bits of each report, by collection, kind and report ID.
using ReportBits = std::map<std::tuple<std::size_t, ReportKind, std::uint8_t>, std::uint32_t>;

std::uint16_t LengthInBytes(std::uint32_t bits) {
  return static_cast<std::uint16_t>((bits + 7) / 8 + 1);  // and the report ID byte
}

void FillLengths(const ReportBits& bits, HidDescriptorLayout& layout) {
  for (const auto& [key, count] : bits) {
    const auto& [collection, kind, id] = key;
    HidTopCollection& top = layout.collections[collection];
    std::uint16_t& length = kind == ReportKind::Input    ? top.inputReportLength
                            : kind == ReportKind::Output ? top.outputReportLength
                                                         : top.featureReportLength;
    length = std::max(length, LengthInBytes(count));
    if (kind == ReportKind::Input && layout.usesReportIds) top.inputReportIds.push_back(id);
  }
}

}  // namespace

Result ParseReportDescriptor(std::span<const std::uint8_t> descriptor,
                             HidDescriptorLayout& layout) {
  layout = {};
  if (descriptor.size() > kMaxReportDescriptorSize) return Result::BadData;
  GlobalState global;
  std::vector<GlobalState> pushed;
  std::vector<std::uint32_t> usages;  // local: extended usages (page << 16 | usage)
  int depth = 0;
  ReportBits bits;

  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::uint8_t prefix = descriptor[at];
    if (prefix == kLongItemPrefix) {
      if (at + 2 >= descriptor.size()) return Result::BadData;
      at += 3 + descriptor[at + 1];
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (at + 1 + size > descriptor.size()) return Result::BadData;
    std::uint32_t data = 0;
    for (std::size_t i = 0; i < size; ++i) data |= std::uint32_t{descriptor[at + 1 + i]} << (8 * i);
    const auto type = static_cast<ItemType>((prefix >> 2) & 3);
    const auto tag = static_cast<std::uint8_t>(prefix >> 4);
    at += 1 + size;

    if (type == ItemType::Global) {
      switch (tag) {
        case kGlobalUsagePage: global.usagePage = static_cast<std::uint16_t>(data); break;
        case kGlobalReportSize: global.reportSize = data; break;
        case kGlobalReportCount: global.reportCount = data; break;
        case kGlobalReportId:
          global.reportId = static_cast<std::uint8_t>(data);
          layout.usesReportIds = true;
          break;
        case kGlobalPush: pushed.push_back(global); break;
        case kGlobalPop:
          if (pushed.empty()) return Result::BadData;
          global = pushed.back();
          pushed.pop_back();
          break;
        default: break;
      }
      continue;
    }
    if (type == ItemType::Local) {
      // A four-byte usage carries its own page in the high half.
      if (tag == kLocalUsage || tag == kLocalUsageMinimum) {
        usages.push_back(size == 4 ? data : std::uint32_t{global.usagePage} << 16 | data);
      }
      continue;
    }
    if (type != ItemType::Main) continue;
    switch (tag) {
      case kMainCollection:
        if (depth++ == 0) {
          const std::uint32_t usage = usages.empty() ? 0 : usages.front();
          HidTopCollection& top = layout.collections.emplace_back();
          top.usagePage = static_cast<std::uint16_t>(usage >> 16);
          top.usage = static_cast<std::uint16_t>(usage);
        }
        break;
      case kMainEndCollection:
        if (depth-- == 0) return Result::BadData;
        break;
      case kMainInput:
      case kMainOutput:
      case kMainFeature:
        // Reports outside every collection belong to no interface.
        if (depth > 0) {
          const ReportKind kind = tag == kMainInput    ? ReportKind::Input
                                  : tag == kMainOutput ? ReportKind::Output
                                                       : ReportKind::Feature;
          bits[{layout.collections.size() - 1, kind, global.reportId}] +=
              global.reportSize * global.reportCount;
        }
        break;
      default: break;
    }
    usages.clear();  // local items last until the next main item
  }
  if (depth != 0) return Result::BadData;
  FillLengths(bits, layout);
  return Result::Ok;
}

}  // namespace vexlo
