#include "common/Text.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

struct LengthCase {
  std::string text;
  std::size_t units;
};

class Utf16LengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(Utf16LengthTest, CountsCodeUnits) {
  EXPECT_EQ(Utf16Length(GetParam().text), GetParam().units);
  EXPECT_EQ(ToUtf16(GetParam().text).size(), GetParam().units);
  EXPECT_EQ(ToUtf8(ToUtf16(GetParam().text)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16LengthTest,
                         testing::Values(LengthCase{"", 0}, LengthCase{"Profile001", 10},
                                         LengthCase{"\xC3\xA9t\xC3\xA9", 3},             // été
                                         LengthCase{"\xE5\xB7\xA6\xE9\x94\xAE", 2},       // 左键
                                         LengthCase{"\xF0\x9F\x96\xB1", 2},               // mouse emoji
                                         LengthCase{"a\xF0\x9F\x96\xB1z", 4}));

TEST(TextTest, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(ToUtf16("a\xFF" "b"), (std::u16string{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));  // overlong '/'
  EXPECT_EQ(ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));  // surrogate
  EXPECT_EQ(ToUtf8(std::u16string{0xD800}), "\xEF\xBF\xBD");
}

TEST(TextTest, TruncationNeverSplitsACharacter) {
  EXPECT_EQ(TruncateUtf16("abcdef", 4), "abcd");
  EXPECT_EQ(TruncateUtf16("ab\xF0\x9F\x96\xB1", 3), "ab");  // the pair does not fit
  EXPECT_EQ(TruncateUtf16("ab\xF0\x9F\x96\xB1", 4), "ab\xF0\x9F\x96\xB1");
  EXPECT_EQ(TruncateUtf16("\xE5\xB7\xA6\xE9\x94\xAE", 1), "\xE5\xB7\xA6");
  const std::string long_path(300, 'x');
  EXPECT_EQ(TruncateToBuffer(long_path).size(), 259u);
  EXPECT_EQ(TruncateToBuffer("short"), "short");
}

TEST(TextTest, TrimsWhiteSpaceOfEveryKind) {
  EXPECT_EQ(TrimWhitespace("  Work \t\r\n"), "Work");
  EXPECT_EQ(TrimWhitespace("\xE3\x80\x80Game\xC2\xA0"), "Game");  // ideographic, no-break
  EXPECT_EQ(TrimWhitespace("a b"), "a b");
  EXPECT_EQ(TrimWhitespace(" \t "), "");
  EXPECT_EQ(TrimWhitespace(""), "");
}

TEST(TextTest, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(EqualsNoCase("/Start", "/START"));
  EXPECT_TRUE(EqualsNoCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));           // Été / éTÉ
  EXPECT_TRUE(EqualsNoCase("\xD0\x9F\xD1\x80\xD0\xBE", "\xD0\xBF\xD0\xA0\xD0\x9E"));  // Про / пРО
  EXPECT_FALSE(EqualsNoCase("Fast", "Faster"));
  EXPECT_FALSE(EqualsNoCase("slow", "slot"));
  EXPECT_TRUE(ContainsNoCase("/HOME/User/Vexlo", "user/vex"));
  EXPECT_FALSE(ContainsNoCase("abc", "abd"));
  EXPECT_TRUE(ContainsNoCase("abc", ""));
}

TEST(TextTest, OrdersByUtf16CodeUnits) {
  // Upper case before lower case: B, C, a.
  EXPECT_TRUE(LessByUtf16Units("B", "C"));
  EXPECT_TRUE(LessByUtf16Units("C", "a"));
  EXPECT_FALSE(LessByUtf16Units("a", "B"));
  EXPECT_TRUE(LessByUtf16Units("Work", "WorkCopy1"));
  EXPECT_FALSE(LessByUtf16Units("Work", "Work"));
  // U+FF21 (full-width A) sorts after a supplementary character in UTF-16, before it in UTF-8.
  EXPECT_TRUE(LessByUtf16Units("\xF0\x9F\x96\xB1", "\xEF\xBC\xA1"));
  EXPECT_FALSE(LessByUtf16Units("\xEF\xBC\xA1", "\xF0\x9F\x96\xB1"));
}

TEST(TextTest, FindsEachForbiddenNameCharacter) {
  for (const char c : std::string("\\/:*?\"<>|")) {
    EXPECT_TRUE(HasForbiddenNameChar(std::string("a") + c + "b")) << c;
  }
  EXPECT_FALSE(HasForbiddenNameChar("Game (1) - fast.v2"));
}

}  // namespace
}  // namespace vexlo
