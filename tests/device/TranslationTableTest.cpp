#include "device/TranslationTable.h"

#include <gtest/gtest.h>

#include <map>

namespace vexlo {
namespace {

TEST(TranslationTableTest, EveryByteIsAsSent) {
  // Every byte that is not zero, written out: per group a head entry (byte 1 = 1) and four
  // entries of 0x07 / 0x02 / value, the values being the usage, 0, the event code, 0.
  const std::map<std::size_t, std::uint8_t> expected = {
      {1, 0x01},   {32, 0x07},  {36, 0x02},  {37, 0xCD},  {64, 0x07},  {68, 0x02},  {96, 0x07},
      {100, 0x02}, {101, 0x14}, {128, 0x07}, {132, 0x02}, {161, 0x01}, {192, 0x07}, {196, 0x02},
      {197, 0xB7}, {224, 0x07}, {228, 0x02}, {256, 0x07}, {260, 0x02}, {261, 0x15}, {288, 0x07},
      {292, 0x02}, {321, 0x01}, {352, 0x07}, {356, 0x02}, {357, 0xE9}, {384, 0x07}, {388, 0x02},
      {416, 0x07}, {420, 0x02}, {421, 0x16}, {448, 0x07}, {452, 0x02}, {481, 0x01}, {512, 0x07},
      {516, 0x02}, {517, 0xEA}, {544, 0x07}, {548, 0x02}, {576, 0x07}, {580, 0x02}, {581, 0x17},
      {608, 0x07}, {612, 0x02},
  };
  const TranslationTable table = BuildTranslationTable();
  ASSERT_EQ(table.size(), 640u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const auto it = expected.find(i);
    EXPECT_EQ(table[i], it == expected.end() ? 0x00 : it->second) << "byte " << i;
  }
}

}  // namespace
}  // namespace vexlo
