// Frames of the virtual mouse's socket, however the bytes are split: the frames cut out are the
// same as from one piece, each encodes back to exactly the bytes it came from, the reader holds
// no more than one frame and one piece, and the payload decoders give back what they encode.
#include <algorithm>
#include <cstring>

#include "FuzzSupport.h"
#include "platform/sim/SimProtocol.h"

using namespace vexlo;

namespace {

struct Cut {
  std::vector<SimFrame> frames;
  SimFrameReader::Status last = SimFrameReader::Status::NeedMore;
};

// Feeds the bytes in pieces of the given sizes (cycled), taking frames after every piece.
Cut CutFrames(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> pieces) {
  Cut cut;
  SimFrameReader reader;
  for (std::size_t i = 0; !bytes.empty() && cut.last != SimFrameReader::Status::Bad; ++i) {
    const std::size_t piece =
        pieces.empty() ? bytes.size() : std::min<std::size_t>(bytes.size(), pieces[i % pieces.size()] + 1);
    reader.Append(bytes.first(piece));
    bytes = bytes.subspan(piece);
    SimFrame frame;
    while ((cut.last = reader.Next(frame)) == SimFrameReader::Status::Frame) {
      cut.frames.push_back(frame);
    }
    FUZZ_CHECK(reader.Buffered() <= sizeof(SimFrameHeader) + kSimMaxPayload + piece);
  }
  return cut;
}

void CheckDecoders(std::span<const std::uint8_t> payload) {
  std::vector<std::string> texts;
  if (DecodeStrings(payload, texts)) {
    const std::vector<std::uint8_t> again = EncodeStrings(texts);
    FUZZ_CHECK(std::equal(again.begin(), again.end(), payload.begin(), payload.end()));
  }
  SimHidInfo info;
  if (DecodeHidInfo(payload, info)) {
    const std::vector<std::uint8_t> again = EncodeHidInfo(info);
    FUZZ_CHECK(std::equal(again.begin(), again.end(), payload.begin(), payload.end()));
  }
  SimPointerSettings settings;
  if (DecodePointerSettings(payload, settings)) {
    const std::vector<std::uint8_t> again = EncodePointerSettings(settings);
    FUZZ_CHECK(std::equal(again.begin(), again.end(), payload.begin(), payload.end()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t pieceCount = std::min<std::size_t>(data[0] % 8, size - 1);
  const std::span<const std::uint8_t> pieces(data + 1, pieceCount);
  const std::span<const std::uint8_t> bytes(data + 1 + pieceCount, size - 1 - pieceCount);

  const Cut whole = CutFrames(bytes, {});
  const Cut split = CutFrames(bytes, pieces);
  FUZZ_CHECK(split.frames.size() == whole.frames.size());
  std::vector<std::uint8_t> encoded;
  for (std::size_t i = 0; i < whole.frames.size(); ++i) {
    FUZZ_CHECK(split.frames[i].payload == whole.frames[i].payload);
    FUZZ_CHECK(std::memcmp(&split.frames[i].header, &whole.frames[i].header,
                           sizeof(SimFrameHeader)) == 0);
    AppendFrame(whole.frames[i], encoded);
    CheckDecoders(whole.frames[i].payload);
  }
  FUZZ_CHECK(encoded.size() <= bytes.size());
  FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), bytes.begin()));
  return 0;
}
