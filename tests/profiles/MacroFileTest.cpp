#include "profiles/MacroFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"

namespace vexlo {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

// 58 unused step fields of an exchange file.
std::string UnusedFields(int count) {
  std::string fields;
  for (int i = 0; i < count; ++i) fields += "000000";
  return fields;
}

MacroData LeftClick(std::string name) {
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  macro.byCount = 2;
  macro.steps[0] = {0x81, 0x01, 0x00};
  macro.steps[1] = {0x01, 0x01, 0x00};
  macro.szName = std::move(name);
  return macro;
}

TEST(MacroFile, SlotFileHoldsTheFiveKeysInOrder) {
  TempFolder temp;
  ASSERT_EQ(WriteMacroFile(temp / "Macro000.ini", LeftClick("Attack")), Result::Ok);
  EXPECT_EQ(ReadFile(temp / "Macro000.ini"),
            "[Setting]\nbyFlag=85\nbyCount=2\nbyExtFlag=0\npma=810100010100\nszName=Attack\n");
}

TEST(MacroFile, SlotFileRoundTripsEveryKindOfStep) {
  TempFolder temp;
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  macro.byExtFlag = 7;
  const std::vector<MacroAction> steps = {{0x81, 0x10, 0x00},      {0x84, 0x04, 0x00},
                                          {0x04, 0x04, 0x00},      {0x85, 0xE9, 0x00},
                                          MacroAction::Pause(300), MacroAction::Pause(65535)};
  for (const MacroAction& step : steps) macro.steps[macro.byCount++] = step;
  macro.szName = "Ünïcode ✓";
  ASSERT_EQ(WriteMacroFile(temp / "m.ini", macro), Result::Ok);
  EXPECT_NE(ReadFile(temp / "m.ini").find("pma=81100084040004040085E900062C0106FFFF\n"),
            std::string::npos);

  MacroData read;
  ASSERT_EQ(ReadMacroFile(temp / "m.ini", read), Result::Ok);
  EXPECT_EQ(read, macro);
}

TEST(MacroFile, MissingSlotFileIsAFreeSlot) {
  TempFolder temp;
  MacroData read = LeftClick("old");
  ASSERT_EQ(ReadMacroFile(temp / "none.ini", read), Result::Ok);
  EXPECT_EQ(read, MacroData{});
}

TEST(MacroFile, SlotNameIsCutTo31Units) {
  TempFolder temp;
  WriteFile(temp / "m.ini", "[Setting]\nbyFlag=85\nszName=" + std::string(40, 'x') + "\n");
  MacroData read;
  ASSERT_EQ(ReadMacroFile(temp / "m.ini", read), Result::Ok);
  EXPECT_EQ(read.szName, std::string(31, 'x'));
}

struct DamagedSlot {
  const char* what;
  std::string file;
  Result expected;
  int steps;  // steps loaded from what the file holds
};

class DamagedSlotFile : public ::testing::TestWithParam<DamagedSlot> {};

TEST_P(DamagedSlotFile, LoadsWhatCanBeReadAndSaysWhy) {
  TempFolder temp;
  WriteFile(temp / "m.ini", GetParam().file);
  MacroData read;
  EXPECT_EQ(ReadMacroFile(temp / "m.ini", read), GetParam().expected) << GetParam().what;
  EXPECT_EQ(read.byCount, GetParam().steps) << GetParam().what;
  for (int k = 0; k < read.byCount; ++k) {
    EXPECT_EQ(read.steps[static_cast<std::size_t>(k)], (MacroAction{0x84, 0x04, 0x00}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedSlotFile,
    ::testing::Values(DamagedSlot{"5 steps claimed, 20 digits",
                                  "[Setting]\nbyFlag=85\nbyCount=5\npma=84040084040084040084\n",
                                  Result::TooShort, 3},
                      DamagedSlot{"steps claimed, no pma", "[Setting]\nbyFlag=85\nbyCount=2\n",
                                  Result::TooShort, 0},
                      DamagedSlot{"a non-hexadecimal digit in step 2",
                                  "[Setting]\nbyFlag=85\nbyCount=3\npma=840400840400840G00\n",
                                  Result::BadData, 2},
                      DamagedSlot{"byCount 61 with 61 steps of text",
                                  ("[Setting]\nbyFlag=85\nbyCount=61\npma=" +
                                   [] {
                                     std::string pma;
                                     for (int i = 0; i < 61; ++i) pma += "840400";
                                     return pma;
                                   }() +
                                   "\n"),
                                  Result::BadData, 60},
                      DamagedSlot{"byCount 300 keeps its low 8 bits (44)",
                                  "[Setting]\nbyCount=300\npma=840400\n", Result::TooShort, 1},
                      DamagedSlot{"no section at all", "byCount=3\npma=840400840400840400\n",
                                  Result::Ok, 0}));

// The two-step exchange file, written out by hand.
std::string LeftClickExchange(const std::string& path) {
  return "[Setting]\nMacroFilePath=" + path +
         "\nLoopTime=0\nIsDef=0\nCount=2\nMacroSetting_0=810100010100" + UnusedFields(58) + "84\n";
}

TEST(MacroExchange, ExportWritesSixtyFieldsAndTheChecksum) {
  TempFolder temp;
  const std::string path = temp / "Click.macro";
  ASSERT_EQ(ExportMacro(path, LeftClick("Click")), Result::Ok);
  EXPECT_EQ(ReadFile(path), LeftClickExchange(path));
}

TEST(MacroExchange, PausesTravelInTensOfMilliseconds) {
  TempFolder temp;
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  macro.byCount = 3;
  macro.steps[0] = MacroAction::Pause(300);
  macro.steps[1] = MacroAction::Pause(304);
  macro.steps[2] = MacroAction::Pause(305);
  ASSERT_EQ(ExportMacro(temp / "p.macro", macro), Result::Ok);
  // 06 1E 00, 06 1E 00, 06 1F 00: sum 0x24 + 0x24 + 0x25 = 0x6D.
  EXPECT_NE(ReadFile(temp / "p.macro")
                .find("MacroSetting_0=061E00061E00061F00" + UnusedFields(57) + "6D\n"),
            std::string::npos);

  MacroData read;
  ASSERT_EQ(ReadMacroExchange(temp / "p.macro", read), Result::Ok);
  EXPECT_EQ(read.steps[0], MacroAction::Pause(300));
  EXPECT_EQ(read.steps[1], MacroAction::Pause(300));
  EXPECT_EQ(read.steps[2], MacroAction::Pause(310));
}

TEST(MacroExchange, TheLongestPausesComeBackAsTheLongestPause) {
  TempFolder temp;
  MacroData macro;
  macro.byCount = 2;
  macro.steps[0] = MacroAction::Pause(65535);  // exported as 6554 (0x199A)
  macro.steps[1] = MacroAction::Pause(65530);  // exported as 6553
  ASSERT_EQ(ExportMacro(temp / "p.macro", macro), Result::Ok);
  MacroData read;
  ASSERT_EQ(ReadMacroExchange(temp / "p.macro", read), Result::Ok);
  EXPECT_EQ(read.steps[0], MacroAction::Pause(65535));
  EXPECT_EQ(read.steps[1], MacroAction::Pause(65530));
}

TEST(MacroExchange, ImportTakesItsNameFromTheFileName) {
  TempFolder temp;
  WriteFile(temp / "Rapid Fire.macro", LeftClickExchange("C:\\elsewhere\\Other.macro"));
  MacroData read;
  ASSERT_EQ(ReadMacroExchange(temp / "Rapid Fire.macro", read), Result::Ok);
  MacroData expected = LeftClick("Rapid Fire");
  EXPECT_EQ(read, expected);
}

TEST(MacroExchange, RoundTripKeepsEveryStep) {
  TempFolder temp;
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  for (int k = 0; k < kMaxMacroSteps; ++k) {
    macro.steps[macro.byCount++] = {static_cast<std::uint8_t>(k % 2 ? 0x85 : 0x05),
                                    static_cast<std::uint8_t>(0xB0 + k),
                                    static_cast<std::uint8_t>(k)};
  }
  macro.szName = "Full";
  ASSERT_EQ(ExportMacro(temp / "Full.macro", macro), Result::Ok);
  MacroData read;
  ASSERT_EQ(ReadMacroExchange(temp / "Full.macro", read), Result::Ok);
  EXPECT_EQ(read, macro);
}

struct DamagedExchange {
  const char* what;
  std::string file;
  Result expected;
};

class DamagedExchangeFile : public ::testing::TestWithParam<DamagedExchange> {};

TEST_P(DamagedExchangeFile, IsRefusedAndChangesNothing) {
  TempFolder temp;
  WriteFile(temp / "x.macro", GetParam().file);
  const MacroData before = LeftClick("before");
  MacroData read = before;
  EXPECT_EQ(ReadMacroExchange(temp / "x.macro", read), GetParam().expected) << GetParam().what;
  EXPECT_EQ(read, before);
  EXPECT_EQ(ReadFile(temp / "x.macro"), GetParam().file);
}

std::string Exchange(const std::string& count, const std::string& digits) {
  return "[Setting]\nCount=" + count + "\nMacroSetting_0=" + digits + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedExchangeFile,
    ::testing::Values(
        DamagedExchange{"one digit of a step changed",
                        Exchange("2", "810100010200" + UnusedFields(58) + "84"),
                        Result::ChecksumFailed},
        DamagedExchange{"checksum changed", Exchange("2", "810100010100" + UnusedFields(58) + "85"),
                        Result::ChecksumFailed},
        DamagedExchange{"odd length", Exchange("0", "00000"), Result::ChecksumFailed},
        DamagedExchange{"fewer than four digits", Exchange("0", "00"), Result::ChecksumFailed},
        DamagedExchange{"no MacroSetting_0", "[Setting]\nCount=0\n", Result::ChecksumFailed},
        DamagedExchange{"no section", "Count=2\n", Result::ChecksumFailed},
        DamagedExchange{"fewer steps than Count",
                        Exchange("3",
                                 "810100010100"
                                 "84"),
                        Result::TooShort},
        DamagedExchange{"Count above 60", Exchange("61", UnusedFields(61) + "00"), Result::BadData},
        DamagedExchange{"Count of 300, 44 in 8 bits", Exchange("300", UnusedFields(60) + "00"),
                        Result::BadData},
        DamagedExchange{"a character that is no digit",
                        Exchange("2", "8101000101G0" + UnusedFields(58) + "84"), Result::BadData},
        DamagedExchange{"a space inside the digits",
                        Exchange("2", "810100 010100" + UnusedFields(58) + "84"),
                        Result::BadData}));

TEST(MacroExchange, ChecksumTest) {
  EXPECT_TRUE(MacroChecksumValid("0000"));
  EXPECT_TRUE(
      MacroChecksumValid("810100010100"
                         "84"));
  EXPECT_TRUE(
      MacroChecksumValid("FFFF"
                         "02"
                         "00"));  // 0xFF + 0xFF + 0x02 = 0x200: low byte 00
  EXPECT_TRUE(
      MacroChecksumValid("ff01"
                         "00"));
  EXPECT_FALSE(MacroChecksumValid(""));
  EXPECT_FALSE(MacroChecksumValid("00"));
  EXPECT_FALSE(MacroChecksumValid("00000"));
  EXPECT_FALSE(
      MacroChecksumValid("0101"
                         "03"));
  EXPECT_FALSE(MacroChecksumValid("0X00"));
}

}  // namespace
}  // namespace vexlo
