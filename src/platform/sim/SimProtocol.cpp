#include "platform/sim/SimProtocol.h"

#include <array>
#include <cstring>

#include "platform/linux/RuntimeFolder.h"

namespace vexlo {
namespace {

template <typename T>
void Put(std::vector<std::uint8_t>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

template <typename T>
bool Take(std::span<const std::uint8_t>& from, T& value) {
  if (from.size() < sizeof value) return false;
  std::memcpy(&value, from.data(), sizeof value);
  from = from.subspan(sizeof value);
  return true;
}

constexpr std::size_t kHidInfoFields = 8;

}  // namespace

std::string SimSocketPath() {
  return RuntimeFolder() + "vexlo-sim.sock";
}

SimFrame MakeFrame(SimFrameType type, std::uint64_t endpoint, std::uint32_t value,
                   std::uint32_t extra) {
  SimFrame frame;
  frame.header.type = static_cast<std::uint16_t>(type);
  frame.header.endpoint = endpoint;
  frame.header.value = value;
  frame.header.extra = extra;
  return frame;
}

void AppendFrame(const SimFrame& frame, std::vector<std::uint8_t>& out) {
  SimFrameHeader header = frame.header;
  header.magic = kSimFrameMagic;
  header.length = static_cast<std::uint32_t>(frame.payload.size());
  Put(out, header);
  out.insert(out.end(), frame.payload.begin(), frame.payload.end());
}

void SimFrameReader::Append(std::span<const std::uint8_t> bytes) {
  // The frames cut out so far go, so that the buffer holds at most one frame and one read even
  // when every read ends inside a frame.
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

SimFrameReader::Status SimFrameReader::Next(SimFrame& frame) {
  std::span<const std::uint8_t> pending(buffer_.data() + start_, buffer_.size() - start_);
  SimFrameHeader header;
  if (!Take(pending, header)) return Status::NeedMore;
  if (header.magic != kSimFrameMagic || header.length > kSimMaxPayload) return Status::Bad;
  if (pending.size() < header.length) return Status::NeedMore;
  frame.header = header;
  frame.payload.assign(pending.begin(), pending.begin() + header.length);
  start_ += sizeof header + header.length;
  if (start_ == buffer_.size()) {
    buffer_.clear();
    start_ = 0;
  }
  return Status::Frame;
}

void PutString(std::vector<std::uint8_t>& out, std::string_view text) {
  Put(out, static_cast<std::uint32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

std::vector<std::uint8_t> EncodeStrings(std::span<const std::string> texts) {
  std::vector<std::uint8_t> out;
  for (const std::string& text : texts) PutString(out, text);
  return out;
}

bool DecodeStrings(std::span<const std::uint8_t> bytes, std::vector<std::string>& texts) {
  texts.clear();
  while (!bytes.empty()) {
    std::uint32_t length = 0;
    if (!Take(bytes, length) || bytes.size() < length) return false;
    texts.emplace_back(reinterpret_cast<const char*>(bytes.data()), length);
    bytes = bytes.subspan(length);
  }
  return true;
}

std::string PayloadText(const SimFrame& frame) {
  return std::string(frame.payload.begin(), frame.payload.end());
}

std::vector<std::uint8_t> TextPayload(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> EncodeHidInfo(const SimHidInfo& info) {
  const std::array<std::uint16_t, kHidInfoFields> fields = {info.attributes.vendorId,
                                                            info.attributes.productId,
                                                            info.attributes.versionNumber,
                                                            info.capabilities.usage,
                                                            info.capabilities.usagePage,
                                                            info.capabilities.inputReportLength,
                                                            info.capabilities.outputReportLength,
                                                            info.capabilities.featureReportLength};
  std::vector<std::uint8_t> out;
  Put(out, fields);
  return out;
}

bool DecodeHidInfo(std::span<const std::uint8_t> bytes, SimHidInfo& info) {
  std::array<std::uint16_t, kHidInfoFields> fields{};
  if (bytes.size() != sizeof fields || !Take(bytes, fields)) return false;
  info.attributes = {fields[0], fields[1], fields[2]};
  info.capabilities = {fields[3], fields[4], fields[5], fields[6], fields[7]};
  return true;
}

std::vector<std::uint8_t> EncodePointerSettings(const SimPointerSettings& settings) {
  std::vector<std::uint8_t> out;
  Put(out, settings.doubleClickTime);
  Put(out, settings.pointerSpeed);
  Put(out, settings.wheelScrollLines);
  return out;
}

bool DecodePointerSettings(std::span<const std::uint8_t> bytes, SimPointerSettings& settings) {
  return bytes.size() == 12 && Take(bytes, settings.doubleClickTime) &&
         Take(bytes, settings.pointerSpeed) && Take(bytes, settings.wheelScrollLines);
}

std::uint32_t EncodeOpenOptions(const HidOpenOptions& options) {
  return (options.read ? 1u : 0u) | (options.write ? 2u : 0u) | (options.overlapped ? 4u : 0u) |
         (options.exclusive ? 8u : 0u);
}

HidOpenOptions DecodeOpenOptions(std::uint32_t bits) {
  return HidOpenOptions{.read = (bits & 1) != 0,
                        .write = (bits & 2) != 0,
                        .overlapped = (bits & 4) != 0,
                        .exclusive = (bits & 8) != 0};
}

}  // namespace vexlo
