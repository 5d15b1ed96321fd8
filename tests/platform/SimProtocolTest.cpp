#include "platform/sim/SimProtocol.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

SimFrame Sample() {
  SimFrame frame = MakeFrame(SimFrameType::IoControl, 0x0102030405060708, 0x222010, 0x20);
  frame.header.sequence = 0x11223344;
  frame.payload = {0xAA, 0xBB, 0xCC};
  return frame;
}

TEST(SimProtocolTest, HeaderBytes) {
  std::vector<std::uint8_t> bytes;
  AppendFrame(Sample(), bytes);
  const std::vector<std::uint8_t> expected = {0x31, 0x53, 0x58, 0x56,  // magic "VXS1"
                                              0x03, 0x00, 0x00, 0x00,  // payload length
                                              0x09, 0x00, 0x00, 0x00,  // type, reserved
                                              0x44, 0x33, 0x22, 0x11,  // sequence
                                              0x08, 0x07, 0x06, 0x05,
                                              0x04, 0x03, 0x02, 0x01,  // endpoint
                                              0x10, 0x20, 0x22, 0x00,  // value
                                              0x20, 0x00, 0x00, 0x00,  // extra
                                              0xAA, 0xBB, 0xCC};
  EXPECT_EQ(bytes, expected);
}

TEST(SimProtocolTest, FramesSurviveAnySplitting) {
  std::vector<std::uint8_t> bytes;
  AppendFrame(Sample(), bytes);
  AppendFrame(MakeFrame(SimFrameType::Stop), bytes);
  SimFrameReader reader;
  std::vector<SimFrame> frames;
  for (const std::uint8_t byte : bytes) {
    reader.Append(std::span(&byte, 1));
    SimFrame frame;
    while (reader.Next(frame) == SimFrameReader::Status::Frame) frames.push_back(frame);
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Type(), SimFrameType::IoControl);
  EXPECT_EQ(frames[0].header.sequence, 0x11223344u);
  EXPECT_EQ(frames[0].header.endpoint, 0x0102030405060708u);
  EXPECT_EQ(frames[0].payload, (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(frames[1].Type(), SimFrameType::Stop);
  EXPECT_TRUE(frames[1].payload.empty());
}

TEST(SimProtocolTest, FramesThatStraddleEveryReadKeepTheReaderSmall) {
  std::vector<std::uint8_t> frame;
  AppendFrame(Sample(), frame);  // 35 bytes, read in pieces of 34: reads seldom end on a frame
  std::vector<std::uint8_t> stream;
  for (int i = 0; i < 400; ++i) stream.insert(stream.end(), frame.begin(), frame.end());
  SimFrameReader reader;
  std::size_t frames = 0;
  for (std::size_t at = 0; at < stream.size(); at += 34) {
    reader.Append(std::span(stream).subspan(at, std::min<std::size_t>(34, stream.size() - at)));
    SimFrame read;
    while (reader.Next(read) == SimFrameReader::Status::Frame) ++frames;
    EXPECT_LE(reader.Buffered(), frame.size() + 34);
  }
  EXPECT_EQ(frames, 400u);
}

TEST(SimProtocolTest, BytesThatAreNotFramesAreRefused) {
  SimFrameReader reader;
  std::vector<std::uint8_t> junk(32, 0x41);
  reader.Append(junk);
  SimFrame frame;
  EXPECT_EQ(reader.Next(frame), SimFrameReader::Status::Bad);

  SimFrameReader oversized;
  std::vector<std::uint8_t> bytes;
  AppendFrame(MakeFrame(SimFrameType::Stop), bytes);
  bytes[6] = 0x20;  // a payload of 2 MiB
  oversized.Append(bytes);
  EXPECT_EQ(oversized.Next(frame), SimFrameReader::Status::Bad);

  SimFrameReader partial;
  partial.Append(std::span(bytes).first(31));
  EXPECT_EQ(partial.Next(frame), SimFrameReader::Status::NeedMore);
}

TEST(SimProtocolTest, Payloads) {
  const std::vector<std::string> texts = {"", "hidfiltr_QN5K8W", std::string(300, 'x')};
  std::vector<std::string> decoded;
  ASSERT_TRUE(DecodeStrings(EncodeStrings(texts), decoded));
  EXPECT_EQ(decoded, texts);
  std::vector<std::uint8_t> cut = EncodeStrings(texts);
  cut.pop_back();
  EXPECT_FALSE(DecodeStrings(cut, decoded));
  EXPECT_FALSE(DecodeStrings(std::vector<std::uint8_t>{0x01, 0x00}, decoded));

  const SimHidInfo info{{0x093A, 0x2533, 0x0100}, {0x01, 0x0C, 3, 0, 0}};
  SimHidInfo back;
  ASSERT_TRUE(DecodeHidInfo(EncodeHidInfo(info), back));
  EXPECT_EQ(back.attributes, info.attributes);
  EXPECT_EQ(back.capabilities, info.capabilities);
  EXPECT_FALSE(DecodeHidInfo(std::vector<std::uint8_t>(15), back));

  const SimPointerSettings pointer{700, 12, 0xFFFFFFFF};
  SimPointerSettings pointerBack;
  ASSERT_TRUE(DecodePointerSettings(EncodePointerSettings(pointer), pointerBack));
  EXPECT_EQ(pointerBack, pointer);
  EXPECT_FALSE(DecodePointerSettings(std::vector<std::uint8_t>(11), pointerBack));

  for (std::uint32_t bits = 0; bits < 16; ++bits) {
    EXPECT_EQ(EncodeOpenOptions(DecodeOpenOptions(bits)), bits);
  }
}

}  // namespace
}  // namespace vexlo
