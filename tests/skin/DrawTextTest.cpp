#include "skin/DrawText.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace vexlo {
namespace {

struct FlagCase {
  std::uint32_t format;
  int flags;
};

class QtTextFlagsTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(QtTextFlagsTest, LaysTextOutAsThePlatformDoes) {
  EXPECT_EQ(QtTextFlags(GetParam().format), GetParam().flags) << std::hex << GetParam().format;
}

// Vertical placement applies to single lines only; multi-line text starts at the top.
INSTANTIATE_TEST_SUITE_P(
    Formats, QtTextFlagsTest,
    ::testing::Values(FlagCase{37, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine |
                                       Qt::TextShowMnemonic},
                      FlagCase{0x24, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine |
                                         Qt::TextShowMnemonic},
                      FlagCase{0x824, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine},
                      FlagCase{0x2A, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine |
                                         Qt::TextShowMnemonic},
                      FlagCase{0x80000015, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap |
                                               Qt::TextShowMnemonic},
                      FlagCase{0x844, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs},
                      FlagCase{0, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic}));

TEST(CreateSkinFontTest, NegativeHeightIsTheCharacterHeightInPixels) {
  const QFont font = CreateSkinFont(-14, 700, QStringLiteral("Open Sans"));
  EXPECT_EQ(font.pixelSize(), 14);
  EXPECT_EQ(font.weight(), QFont::Bold);
  EXPECT_EQ(font.family(), QStringLiteral("Open Sans"));
}

TEST(CreateSkinFontTest, PositiveHeightIsTheCellHeight) {
  const QFont font = CreateSkinFont(20, 400, QStringLiteral("Open Sans"));
  EXPECT_LT(font.pixelSize(), 20);  // the cell adds the internal leading to the character height
  EXPECT_NEAR(QFontMetrics(font).height(), 20, 2);
  EXPECT_EQ(font.weight(), QFont::Normal);
}

TEST(CreateSkinFontTest, UnknownFaceStillGivesASansSerifFont) {
  const QFont font = CreateSkinFont(-13, 0, QStringLiteral("COMMON_FONT_NAME"));
  EXPECT_EQ(font.pixelSize(), 13);
  EXPECT_EQ(font.weight(), QFont::Normal);
  EXPECT_EQ(font.styleHint(), QFont::SansSerif);
}

}  // namespace
}  // namespace vexlo
