#include <gtest/gtest.h>

#include "engine/ExtensionNumber.h"

namespace vexlo {
namespace {

TEST(ParseExtensionNumber, ReadsAsBaseTenWcstoul) {
  const struct {
    const char* text;
    std::uint32_t value;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"773", 773},
      {"007", 7},
      {"12a", 12},
      {"  42", 42},
      {"\t\n 9", 9},
      {"+5", 5},
      {"-1", 0xFFFFFFFF},
      {" -3", 0xFFFFFFFD},
      {"-65521", 0xFFFF000F},
      {"-2147483648", 0x80000000},
      {"2147483647", 0x7FFFFFFF},
      {"2147483648", 0x80000000},
      {"4294967295", 0xFFFFFFFF},
      {"-4294967295", 1},
      {"4294967296", 0xFFFFFFFF},
      {"-4294967296", 0xFFFFFFFF},
      {"99999999999999999999999", 0xFFFFFFFF},
      {"0x10", 0},
      {"abc", 0},
      {"-", 0},
      {"+-1", 0},
      {"1 2", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseExtensionNumber(c.text), c.value) << c.text;
}

TEST(FormatExtensionNumber, WritesSignedDecimal) {
  const struct {
    std::uint32_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {773, "773"},
      {0x7FFFFFFF, "2147483647"},
      {0x80000000, "-2147483648"},
      {0xFFFF000F, "-65521"},
      {0xFFFFFFFF, "-1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatExtensionNumber(c.value), c.text);
    EXPECT_EQ(ParseExtensionNumber(c.text), c.value) << c.text;
  }
}

TEST(FireKeyNumber, Unpacks) {
  const struct {
    std::uint32_t value;
    FireKeyNumber fireKey;
  } cases[] = {
      {0x0305, {5, 3}}, {0x0001, {1, 0}},       {0xFFFF, {255, 255}},
      {0xFFFF01FF, {255, 1}},  // bits 31..16 carry nothing
      {0x0000, {1, 0}},        {0x0700, {1, 7}},  // no zero click period, whatever the file says
  };
  for (const auto& c : cases) EXPECT_EQ(UnpackFireKey(c.value), c.fireKey) << c.value;
}

TEST(FireKeyNumber, Packs) {
  const struct {
    FireKeyNumber fireKey;
    std::uint32_t value;
  } cases[] = {
      {{5, 3}, 0x0305}, {{1, 0}, 0x0001}, {{255, 255}, 0xFFFF}, {{0, 0}, 0x0001}, {{0, 7}, 0x0701},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackFireKey(c.fireKey), c.value)
        << int{c.fireKey.interval} << "/" << int{c.fireKey.clicks};
  }
}

TEST(MacroNumber, Unpacks) {
  const struct {
    std::uint32_t value;
    MacroNumber macro;
  } cases[] = {
      {0x00030002, {2, MacroLoopMode::RepeatCount, 3}},
      {0x00010105, {5, MacroLoopMode::StopOnSecondPress, 1}},
      {0x0001020F, {15, MacroLoopMode::StopOnRelease, 1}},
      {0xFFFF0000, {0, MacroLoopMode::RepeatCount, 65535}},
      {300, {0x2C, MacroLoopMode::StopOnSecondPress, 0}},
      {0x0000FF10, {16, static_cast<MacroLoopMode>(0xFF), 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(UnpackMacro(c.value), c.macro) << c.value;
}

TEST(MacroNumber, Packs) {
  const struct {
    MacroNumber macro;
    std::uint32_t value;
  } cases[] = {
      {{2, MacroLoopMode::RepeatCount, 3}, 0x00030002},
      {{15, MacroLoopMode::RepeatCount, 65535}, 0xFFFF000F},
      {{0, MacroLoopMode::RepeatCount, 0}, 0x00010000},
      {{0, MacroLoopMode::RepeatCount, 1}, 0x00010000},
      {{5, MacroLoopMode::StopOnRelease, 9}, 0x00010205},
      {{5, MacroLoopMode::StopOnSecondPress, 0}, 0x00010105},
      {{255, MacroLoopMode::RepeatCount, 255}, 0x00FF00FF},
  };
  for (const auto& c : cases) EXPECT_EQ(PackMacro(c.macro), c.value) << c.value;
}

TEST(ExtensionNumber, TextsRoundTrip) {
  EXPECT_EQ(EncodeFireKey({5, 3}), "773");
  EXPECT_EQ(DecodeFireKey("773"), (FireKeyNumber{5, 3}));
  const MacroNumber longest{15, MacroLoopMode::RepeatCount, 65535};
  EXPECT_EQ(EncodeMacro(longest), "-65521");
  EXPECT_EQ(DecodeMacro("-65521"), longest);
  EXPECT_EQ(DecodeMacro("4294901775"), longest);  // the same number written unsigned
  EXPECT_EQ(DecodeMacro(""), (MacroNumber{0, MacroLoopMode::RepeatCount, 0}));
}

}  // namespace
}  // namespace vexlo
