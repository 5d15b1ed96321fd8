#include "profiles/NameRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FakeUserMessages.h"

namespace vexlo {
namespace {

struct TypedName {
  std::string typed;
  Result expected;
  std::string name;
};

class CleanUserNameCases : public ::testing::TestWithParam<TypedName> {};

TEST_P(CleanUserNameCases, TrimsAndRefuses) {
  std::string name = "unchanged";
  EXPECT_EQ(CleanUserName(GetParam().typed, name), GetParam().expected) << GetParam().typed;
  EXPECT_EQ(name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanUserNameCases,
    ::testing::Values(TypedName{"Work", Result::Ok, "Work"},
                      TypedName{"  Work  Late \t", Result::Ok, "Work  Late"},
                      TypedName{"\xC2\xA0Jeu\xE3\x80\x80", Result::Ok, "Jeu"},  // no-break spaces
                      TypedName{"my.game", Result::Ok, "my.game"},
                      TypedName{"", Result::InvalidName, "unchanged"},
                      TypedName{" \t ", Result::InvalidName, "unchanged"},
                      TypedName{"a\\b", Result::InvalidName, "unchanged"},
                      TypedName{"../evil", Result::InvalidName, "unchanged"},
                      TypedName{"c:", Result::InvalidName, "unchanged"},
                      TypedName{"a*", Result::InvalidName, "unchanged"},
                      TypedName{"why?", Result::InvalidName, "unchanged"},
                      TypedName{"\"q\"", Result::InvalidName, "unchanged"},
                      TypedName{"<a>", Result::InvalidName, "unchanged"},
                      TypedName{"a|b", Result::InvalidName, "unchanged"},
                      TypedName{"line\nbreak", Result::InvalidName, "unchanged"},
                      TypedName{std::string("nul\0x", 5), Result::InvalidName, "unchanged"}));

TEST(NameRules, CutNameKeepsCharactersWholeAndDropsTrailingSpace) {
  EXPECT_EQ(CutName("abcdef", 4), "abcd");
  EXPECT_EQ(CutName("ab  cd", 4), "ab");
  EXPECT_EQ(CutName("ab\xF0\x9F\x98\x80", 3), "ab");  // an emoji takes two units
  EXPECT_EQ(CutName("ab\xF0\x9F\x98\x80", 4), "ab\xF0\x9F\x98\x80");
}

TEST(NameRules, NameFromPath) {
  EXPECT_EQ(NameFromPath("/home/u/Game.profile"), "Game");
  EXPECT_EQ(NameFromPath("/home/u/my.game.profile"), "my.game");
  EXPECT_EQ(NameFromPath("/home/u/NoExtension"), "NoExtension");
  EXPECT_EQ(NameFromPath("/home/u/.profile"), "");
  EXPECT_EQ(NameFromPath("/home/u.d/Fast"), "Fast");
  EXPECT_EQ(NameFromPath("Plain.macro"), "Plain");
}

TEST(NameRules, StripCopySuffix) {
  EXPECT_EQ(StripCopySuffix("AttackCopy12", "Copy"), "Attack");
  EXPECT_EQ(StripCopySuffix("AttackCopy1", "Copy"), "Attack");
  EXPECT_EQ(StripCopySuffix("Attack12", "Copy"), "Attack12");
  EXPECT_EQ(StripCopySuffix("Copy3", "Copy"), "Copy3");
  EXPECT_EQ(StripCopySuffix("AttackCopy", "Copy"), "AttackCopy");
  EXPECT_EQ(StripCopySuffix("Attackcopy2", "Copy"), "Attackcopy2");  // the word's case counts
  EXPECT_EQ(StripCopySuffix("ACopy1Copy2", "Copy"), "ACopy1");
  EXPECT_EQ(StripCopySuffix("AC1", "C"), "AC1");  // a one-character word removes nothing
  EXPECT_EQ(StripCopySuffix("A", "Copy"), "A");
}

TEST(NameRules, CandidatesForNewAndCopiedItems) {
  EXPECT_EQ(NamePattern::ForNew("Macro", 28).Candidate(1), "Macro001");
  EXPECT_EQ(NamePattern::ForNew("Macro", 28).Candidate(16), "Macro016");
  EXPECT_EQ(NamePattern::ForNew(std::string(40, 'p'), 28).Candidate(7),
            std::string(28, 'p') + "007");
  EXPECT_EQ(NamePattern::ForCopy("AttackCopy1", "Copy", 28).Candidate(2), "AttackCopy2");
  EXPECT_EQ(NamePattern::ForCopy(std::string(30, 'a'), "Copy", 28).Candidate(3),
            std::string(24, 'a') + "Copy3");
  // A copy word longer than the whole stem is cut too.
  EXPECT_EQ(NamePattern::ForCopy("A", std::string(30, 'w'), 28).Candidate(1),
            std::string(28, 'w') + "1");
}

TEST(NameRules, CandidatesNeverHoldForbiddenCharacters) {
  // Texts from a language file, or a hand-made name, must not turn a name into a path.
  EXPECT_EQ(NamePattern::ForNew("../Pro:file", 256).Candidate(1), "..Profile001");
  EXPECT_EQ(NamePattern::ForCopy("a\\b", "C/o\npy", 256).Candidate(1), "abCopy1");
}

TEST(NameRules, FirstFreeSkipsTakenNames) {
  const std::set<std::string> taken = {"Macro001", "Macro002", "Macro004"};
  const auto isTaken = [&taken](const std::string& name) { return taken.count(name) > 0; };
  EXPECT_EQ(NamePattern::ForNew("Macro", 28).FirstFree(16, isTaken), "Macro003");
  EXPECT_EQ(NamePattern::ForNew("Macro", 28).FirstFree(2, isTaken), std::nullopt);
}

TEST(NameRules, ConfirmNameConflictAsksYesOrNo) {
  test::FakeUserMessages messages;
  messages.SetNextAnswer(UserMessages::kOk);
  EXPECT_EQ(ConfirmNameConflict(messages), Result::Ok);
  messages.SetNextAnswer(UserMessages::kCancel);
  EXPECT_EQ(ConfirmNameConflict(messages), Result::NameConflict);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_FILE_CONFLECT");
  EXPECT_EQ(messages.shown[0].titleKey, "STA_MSG_TITLE_INFO");
  EXPECT_EQ(messages.shown[0].flags, UserMessages::kQuestion);
  EXPECT_EQ(messages.shown[0].titleColour, UserMessages::kNoticeColour);
}

}  // namespace
}  // namespace vexlo
