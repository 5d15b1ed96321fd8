#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimService.h"

// How a program talks to a running vexlo-sim over its local socket: frames of a 32-byte header
// and a payload. A host sends requests and gets one response to each, in order; the environment
// sends notifications (input reports, signalled events, endpoints gone, injected lines) whenever
// they happen. Both ends run on the same machine, so numbers are in the machine's byte order.
namespace vexlo {

// Where vexlo-sim listens: "vexlo-sim.sock" in the runtime folder.
std::string SimSocketPath();

inline constexpr std::uint32_t kSimFrameMagic = 0x56585331;  // "VXS1"
inline constexpr std::size_t kSimMaxPayload = std::size_t{1} << 20;

enum class SimFrameType : std::uint16_t {
  // Requests (SimService). endpoint: endpoint id or node; value and extra as noted.
  ListHidPaths = 1,         // -> payload: strings
  InterfaceNode = 2,        // payload: path -> endpoint: node
  ParentNode = 3,           // endpoint: node -> endpoint: parent
  NodeInstanceId = 4,       // endpoint: node -> payload: text
  NodeDriverKey = 5,        // endpoint: node -> payload: text
  OpenDriver = 6,           // payload: name -> endpoint: id
  OpenHid = 7,              // payload: path, extra: option bits -> endpoint: id, payload: HID info
  CloseEndpoint = 8,        // endpoint: id
  IoControl = 9,            // endpoint, value: code, extra: output capacity, payload: input
                            //   -> payload: output
  WriteReport = 10,         // endpoint, payload: report
  SetFeature = 11,          // endpoint, payload: report
  GetPointerSettings = 12,  // -> payload: settings
  SetPointerSetting = 13,   // value: which, extra: value
  ForegroundPath = 14,      // -> extra: 1 when there is one, payload: text
  InstallSplitDrivers = 15,
  // Requests of the vexlo-sim command line.
  Command = 20,  // payload: strings (the words) -> payload: text
  Follow = 21,   // -> then an InjectedLine for every line logged so far and every new one
  Stop = 22,     // the server answers, then ends
  WatchDevices = 23,  // -> then a DevicesChanged at every arrival and removal of the mouse
  // The answer to a request: sequence as in the request, value: result.
  Response = 100,
  // Notifications: sequence 0.
  InputReport = 200,     // endpoint, payload: report
  EventSignalled = 201,  // endpoint, payload: the 8-byte driver value
  EndpointGone = 202,    // endpoint
  InjectedLine = 203,    // payload: text
  DevicesChanged = 204,  // value: 1 the mouse arrived, 0 it went
};

struct SimFrameHeader {
  std::uint32_t magic = kSimFrameMagic;
  std::uint32_t length = 0;  // payload bytes after the header
  std::uint16_t type = 0;    // SimFrameType
  std::uint16_t reserved = 0;
  std::uint32_t sequence = 0;
  std::uint64_t endpoint = 0;
  std::uint32_t value = 0;
  std::uint32_t extra = 0;
};
static_assert(sizeof(SimFrameHeader) == 32);
static_assert(offsetof(SimFrameHeader, type) == 8);
static_assert(offsetof(SimFrameHeader, endpoint) == 16);
static_assert(offsetof(SimFrameHeader, extra) == 28);

struct SimFrame {
  SimFrameHeader header;
  std::vector<std::uint8_t> payload;

  SimFrameType Type() const { return static_cast<SimFrameType>(header.type); }
};

SimFrame MakeFrame(SimFrameType type, std::uint64_t endpoint = 0, std::uint32_t value = 0,
                   std::uint32_t extra = 0);

// Appends the frame's bytes (the header's length taken from the payload) to `out`.
void AppendFrame(const SimFrame& frame, std::vector<std::uint8_t>& out);

// Cuts frames out of the bytes a socket delivers, however they were split.
class SimFrameReader {
 public:
  enum class Status { Frame, NeedMore, Bad };

  void Append(std::span<const std::uint8_t> bytes);
  // The next whole frame; Bad when the bytes are not frames (wrong magic, oversized payload).
  Status Next(SimFrame& frame);
  // The bytes held: at most the part of one frame not yet cut out and the last bytes appended.
  std::size_t Buffered() const { return buffer_.size(); }

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;
};

// Payload pieces.
void PutString(std::vector<std::uint8_t>& out, std::string_view text);
std::vector<std::uint8_t> EncodeStrings(std::span<const std::string> texts);
[[nodiscard]] bool DecodeStrings(std::span<const std::uint8_t> bytes,
                                 std::vector<std::string>& texts);
std::string PayloadText(const SimFrame& frame);
std::vector<std::uint8_t> TextPayload(std::string_view text);

std::vector<std::uint8_t> EncodeHidInfo(const SimHidInfo& info);
[[nodiscard]] bool DecodeHidInfo(std::span<const std::uint8_t> bytes, SimHidInfo& info);
std::vector<std::uint8_t> EncodePointerSettings(const SimPointerSettings& settings);
[[nodiscard]] bool DecodePointerSettings(std::span<const std::uint8_t> bytes,
                                         SimPointerSettings& settings);
std::uint32_t EncodeOpenOptions(const HidOpenOptions& options);
HidOpenOptions DecodeOpenOptions(std::uint32_t bits);

}  // namespace vexlo
