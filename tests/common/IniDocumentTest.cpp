#include "common/IniDocument.h"

#include <gtest/gtest.h>

#include "common/IniFile.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

TEST(IniDocumentTest, NamesMatchWithoutRegardToCaseAndSpacing) {
  const IniDocument doc = IniDocument::Parse(
      "  [ setting ]  \r\n"
      "  PwDpi0 =  800 \r\n"
      "szName= \"Quoted name\" \r\n"
      "single='x'\r\n"
      "lonely=\"\r\n");
  EXPECT_EQ(doc.GetString("SETTING", "pwdpi0", "?"), "800");
  EXPECT_EQ(doc.GetString("Setting", "szName", "?"), "Quoted name");
  EXPECT_EQ(doc.GetString("Setting", "single", "?"), "x");
  EXPECT_EQ(doc.GetString("Setting", "lonely", "?"), "\"");
  EXPECT_EQ(doc.GetUnsigned("setting", "PWDPI0", 0), 800u);
}

TEST(IniDocumentTest, MissingSectionOrKeyGivesTheDefault) {
  const IniDocument doc = IniDocument::Parse("orphan=1\n[Other]\nkey=2\n[Setting]\nempty=\n");
  EXPECT_EQ(doc.GetString("Setting", "orphan", "d"), "d");  // keys before any section count for none
  EXPECT_EQ(doc.GetString("Missing", "key", "d"), "d");
  EXPECT_EQ(doc.GetString("Setting", "key", "d"), "d");
  EXPECT_EQ(doc.GetString("Setting", "empty", "d"), "");
  EXPECT_EQ(doc.GetUnsigned("Setting", "empty", 7), 7u);
  EXPECT_EQ(doc.GetUnsigned("Setting", "absent", 4294967295u), 4294967295u);
  EXPECT_FALSE(doc.Find("Setting", "absent").has_value());
}

TEST(IniDocumentTest, KeysOfTheFirstMatchingSectionInFileOrderEachOnce) {
  const IniDocument doc = IniDocument::Parse(
      "[CONTROL]\nBTN_B=1\n; comment=no\nbtn_a = 2\nBTN_A=3\nnot a key\n[Other]\nX=1\n"
      "[control]\nLATE=4\n");
  EXPECT_EQ(doc.Keys("Control"), (std::vector<std::string>{"BTN_B", "btn_a"}));
  EXPECT_TRUE(doc.Keys("Missing").empty());
}

TEST(IniDocumentTest, FirstSectionAndFirstKeyWin) {
  IniDocument doc = IniDocument::Parse(
      "[Setting]\nkey=first\nkey=second\n[Other]\nx=1\n[SETTING]\nkey=third\nonly=4\n");
  EXPECT_EQ(doc.GetString("Setting", "key", ""), "first");
  EXPECT_EQ(doc.GetString("Setting", "only", "none"), "none");  // lies in the second copy
  ASSERT_EQ(doc.Set("Setting", "KEY", "new"), Result::Ok);
  EXPECT_EQ(doc.Serialize(),
            "[Setting]\nkey=new\nkey=second\n[Other]\nx=1\n[SETTING]\nkey=third\nonly=4\n");
}

struct NumberCase {
  std::string text;
  std::uint32_t value;
};

class IniNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(IniNumberTest, ReadsAsThePrivateProfileFunctionsDo) {
  const IniDocument doc = IniDocument::Parse("[S]\nn=" + GetParam().text + "\n");
  EXPECT_EQ(doc.GetUnsigned("S", "n", 12345), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniNumberTest,
    testing::Values(NumberCase{"0", 0}, NumberCase{"800", 800}, NumberCase{"-1", 4294967295u},
                    NumberCase{"4294967295", 4294967295u}, NumberCase{"4294967296", 0},
                    NumberCase{"70000", 70000}, NumberCase{"99999999999", 1215752191u},
                    NumberCase{"+5", 5}, NumberCase{"12abc", 12}, NumberCase{"abc", 0},
                    NumberCase{"0x1F", 31}, NumberCase{"0XfF", 255}, NumberCase{"-", 0},
                    NumberCase{"20211124", 20211124}, NumberCase{"1e3", 1}));

TEST(IniDocumentTest, KeepsEveryOtherLineByteForByte) {
  const std::string original =
      "; written by hand\r\n"
      "[Setting]\r\n"
      "  spaced   =   kept  \r\n"
      "junk line without equals\r\n"
      "dup=1\r\n"
      "dup=2\r\n"
      "\r\n"
      "[Other]\n"
      "mixed=lf\n"
      "cr=only\r"
      "last=no newline";
  IniDocument doc = IniDocument::Parse(original);
  EXPECT_EQ(doc.Serialize(), original);
  EXPECT_EQ(doc.GetString("Other", "cr", ""), "only");
  EXPECT_EQ(doc.GetString("Other", "last", ""), "no newline");

  ASSERT_EQ(doc.Set("setting", "Dup", "9"), Result::Ok);
  ASSERT_EQ(doc.Set("Setting", "added", "a"), Result::Ok);
  ASSERT_EQ(doc.Set("Other", "tail", "t"), Result::Ok);
  EXPECT_EQ(doc.Serialize(),
            "; written by hand\r\n"
            "[Setting]\r\n"
            "  spaced   =   kept  \r\n"
            "junk line without equals\r\n"
            "dup=9\r\n"
            "dup=2\r\n"
            "added=a\r\n"
            "\r\n"
            "[Other]\n"
            "mixed=lf\n"
            "cr=only\r"
            "last=no newline\r\n"
            "tail=t\r\n");
}

TEST(IniDocumentTest, AppendsAMissingSectionAtTheEnd) {
  IniDocument empty;
  ASSERT_EQ(empty.Set("Setting", "nMacroIndex", "4294967295"), Result::Ok);
  EXPECT_EQ(empty.Serialize(), "[Setting]\nnMacroIndex=4294967295\n");

  IniDocument unterminated = IniDocument::Parse("[A]\r\nx=1");
  ASSERT_EQ(unterminated.Set("B", "y", "2"), Result::Ok);
  EXPECT_EQ(unterminated.Serialize(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(IniDocumentTest, RefusesWhatWouldNotSurviveARead) {
  IniDocument doc = IniDocument::Parse("[S]\nk=v\n");
  const std::string before = doc.Serialize();
  EXPECT_EQ(doc.Set("S", "k", "two\nlines"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("S", "k", std::string("nul\0x", 5)), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("S", "a=b", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("S", " ", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("S", "[x", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("S", ";x", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("a]b", "k", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Set("", "k", "v"), Result::InvalidParameter);
  EXPECT_EQ(doc.Serialize(), before);
  EXPECT_EQ(doc.Set("S", "k", "value = with \"equals\""), Result::Ok);
  EXPECT_EQ(doc.GetString("S", "k", ""), "value = with \"equals\"");
}

TEST(IniDocumentTest, ReadsUtf16FilesWithAByteOrderMark) {
  // "[Setting]\r\nszName=Été\r\n" in UTF-16, both byte orders.
  const std::u16string text = u"[Setting]\r\nszName=\u00C9t\u00E9\r\n";
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (const char16_t unit : text) {
    little += static_cast<char>(unit & 0xFF);
    little += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit & 0xFF);
  }
  for (const std::string& bytes : {little, big}) {
    IniDocument doc = IniDocument::Parse(bytes);
    EXPECT_EQ(doc.GetString("setting", "SZNAME", ""), "\xC3\x89t\xC3\xA9");
    ASSERT_EQ(doc.Set("Setting", "byCount", "2"), Result::Ok);
    EXPECT_EQ(doc.Serialize(), "[Setting]\r\nszName=\xC3\x89t\xC3\xA9\r\nbyCount=2\r\n");
  }
}

TEST(IniDocumentTest, KeepsAUtf8ByteOrderMark) {
  IniDocument doc = IniDocument::Parse("\xEF\xBB\xBF[LANG]\nLANG_FILE=Lang_En.ini\n");
  EXPECT_EQ(doc.GetString("LANG", "LANG_FILE", ""), "Lang_En.ini");
  ASSERT_EQ(doc.Set("LANG", "LANG_FILE", "Lang_De.ini"), Result::Ok);
  EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[LANG]\nLANG_FILE=Lang_De.ini\n");
}

TEST(IniDocumentTest, KeepsBytesThatAreNotUtf8) {
  // A file in a legacy code page: its bytes pass through a write untouched.
  const std::string legacy = "[Setting]\nszName=\xD7\xF3\xBC\xFC\n";
  IniDocument doc = IniDocument::Parse(legacy);
  ASSERT_EQ(doc.Set("Setting", "byFlag", "85"), Result::Ok);
  EXPECT_EQ(doc.Serialize(), legacy + "byFlag=85\n");
}

TEST(IniFileTest, ReadsAndWritesOneKeyAtATime) {
  test::TempFolder folder;
  const std::string file = folder / "Setting.ini";
  EXPECT_EQ(ReadIniString("Setting", "strProfilePath", "", file), "");
  EXPECT_EQ(ReadIniUnsigned("Setting", "nDevModel", 3, file), 3u);

  ASSERT_EQ(WriteIniUnsigned("Setting", "nMacroIndex", static_cast<std::uint32_t>(-1), file),
            Result::Ok);
  ASSERT_EQ(WriteIniString("Setting", "strProfilePath", "/p/Profile001.ini", file), Result::Ok);
  ASSERT_EQ(WriteIniUnsigned("setting", "NMACROINDEX", 2, file), Result::Ok);
  EXPECT_EQ(test::ReadFile(file), "[Setting]\nnMacroIndex=2\nstrProfilePath=/p/Profile001.ini\n");
  EXPECT_EQ(ReadIniString("SETTING", "strprofilepath", "", file), "/p/Profile001.ini");

  const std::string long_value(5000, 'v');  // values of any length come back whole
  ASSERT_EQ(WriteIniString("Setting", "long", long_value, file), Result::Ok);
  EXPECT_EQ(ReadIniString("Setting", "long", "", file), long_value);
}

TEST(IniFileTest, AFileThatCannotBeReadIsNotOverwritten) {
  test::TempFolder folder;
  const std::string file = folder / "AFolder";
  std::filesystem::create_directory(file);
  EXPECT_EQ(ReadIniString("S", "k", "default", file), "default");
  EXPECT_NE(WriteIniString("S", "k", "v", file), Result::Ok);
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_EQ(WriteIniString("S", "k", "v", folder / "missing/folder/x.ini"), Result::FileNotFound);
}

}  // namespace
}  // namespace vexlo
