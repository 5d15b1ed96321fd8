#include "platform/linux/FilterRequests.h"

#include <cstring>

#include "common/Text.h"

namespace vexlo::filter {
namespace {

constexpr std::size_t kTransferRequestSize = 528;
constexpr std::size_t kTransferKeyBytes = 520;
constexpr std::size_t kInterceptRecordSize = 24;
constexpr std::size_t kReportRateRecordSize = 16;
constexpr std::size_t kTranslationTableSize = 640;
constexpr std::size_t kTranslationEntrySize = 32;
constexpr std::size_t kTranslationValueByte = 5;

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::int64_t ReadI64(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
  return static_cast<std::int64_t>(value);
}

}  // namespace

Result DecodeVendorTransfer(std::span<const std::uint8_t> input, VendorTransfer& request) {
  if (input.size() != kTransferRequestSize) return Result::InvalidParameter;
  std::u16string key;
  for (std::size_t at = 0; at + 1 < kTransferKeyBytes; at += 2) {
    const auto unit = static_cast<char16_t>(ReadU16(input, at));
    if (unit == 0) break;
    key.push_back(unit);
  }
  request.targetKey = ToUtf8(key);
  std::memcpy(request.setup.data(), input.data() + kTransferKeyBytes, request.setup.size());
  return Result::Ok;
}

Result DecodeInterceptTable(std::span<const std::uint8_t> input, InterceptTable& table) {
  if (input.size() != kInterceptRecordSize * kInterceptRecordCount) return Result::InvalidParameter;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const auto record = input.subspan(i * kInterceptRecordSize, kInterceptRecordSize);
    table[i] = InterceptRecord{.enabled = record[0] != 0,
                               .action = record[1],
                               .buttonFlag = ReadU16(record, 4),
                               .eventValue = ReadI64(record, 16)};
  }
  return Result::Ok;
}

Result DecodeReportRate(std::span<const std::uint8_t> input, double& factor) {
  if (input.size() != kReportRateRecordSize) return Result::InvalidParameter;
  double value = 0;
  std::memcpy(&value, input.data(), sizeof value);
  if (!(value > 0 && value <= 1)) return Result::InvalidParameter;
  factor = value;
  return Result::Ok;
}

Result DecodeTranslationTable(std::span<const std::uint8_t> input, TranslationGroups& groups) {
  if (input.size() != kTranslationTableSize) return Result::InvalidParameter;
  const auto valueOf = [&](std::size_t entry) -> std::uint16_t {
    return input[entry * kTranslationEntrySize + kTranslationValueByte];
  };
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::size_t first = 5 * g;
    groups[g] = {static_cast<std::uint16_t>(valueOf(first + 1) | valueOf(first + 2) << 8),
                 static_cast<std::uint16_t>(valueOf(first + 3) | valueOf(first + 4) << 8)};
  }
  return Result::Ok;
}

}  // namespace vexlo::filter
