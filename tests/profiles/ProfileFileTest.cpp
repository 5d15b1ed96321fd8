#include "profiles/ProfileFile.h"

#include <gtest/gtest.h>

#include "common/IniDocument.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

ProfileData Defaults() {
  ProfileData profile;
  FillDefaults(profile);
  return profile;
}

// A profile with a value other than the default in every field.
ProfileData Unusual() {
  ProfileData p = Defaults();
  p.device.pbyKeySet = {40, 37, 38, 39, 12, 43, 5};
  p.device.pdwKeyParameter = {0, 0x1E, 0, 0, 0, 0, 0};
  p.device.ppszKeyExt = {"66306", "", "/usr/bin/gimp", "1283", "", "", ""};
  p.device.pwDpi = {200, 1400, 2600, 4200};
  p.device.byCurDpiLevel = 3;
  p.device.byReportRateIndex = 0;
  p.device.byLightMode = 5;
  p.device.byLightParameter = 7;
  p.device.byLightBrightness = 0;
  p.device.byLightSpeed = 4;
  p.device.crLight = 0x00123456;
  p.device.pbyCpiColorIdx = {15, 14, 13, 12};
  p.device.byLineCor = 1;
  p.windows = {900, 20, 0xFFFFFFFF};
  p.link = {1, "/opt/games/Quake \xC3\xA9/quake"};
  return p;
}

TEST(ProfileFileTest, AFullWriteStoresEveryKeyInOrderWithTheMarkerLast) {
  test::TempFolder folder;
  const std::string file = folder / "Work.ini";
  ASSERT_EQ(WriteProfile(file, Unusual()), Result::Ok);
  EXPECT_EQ(test::ReadFile(file),
            "[Setting]\n"
            "pbyKeySet0=40\npdwKeyParameter0=0\nppszKeyExt0=66306\n"
            "pbyKeySet1=37\npdwKeyParameter1=30\nppszKeyExt1=\n"
            "pbyKeySet2=38\npdwKeyParameter2=0\nppszKeyExt2=/usr/bin/gimp\n"
            "pbyKeySet3=39\npdwKeyParameter3=0\nppszKeyExt3=1283\n"
            "pbyKeySet4=12\npdwKeyParameter4=0\nppszKeyExt4=\n"
            "pbyKeySet5=43\npdwKeyParameter5=0\nppszKeyExt5=\n"
            "pbyKeySet6=5\npdwKeyParameter6=0\nppszKeyExt6=\n"
            "pwDpi0=200\npwDpi1=1400\npwDpi2=2600\npwDpi3=4200\n"
            "byCurDpiLevel=3\nbyReportRateIndex=0\n"
            "crLight=1193046\nbyLightBrightness=0\nbyLightSpeed=4\nbyLightMode=5\n"
            "byLightParameter=7\n"
            "pbyCpiColorIdx0=15\npbyCpiColorIdx1=14\npbyCpiColorIdx2=13\npbyCpiColorIdx3=12\n"
            "byLineCor=1\n"
            "uDoubleClickTime=900\nuMouseSpeed=20\nuWheelScrollLines=4294967295\n"
            "bLinkProgram=1\nszLinkPath=/opt/games/Quake \xC3\xA9/quake\n"
            "nFlag=20211124\n");
}

TEST(ProfileFileTest, RoundTripsEveryField) {
  test::TempFolder folder;
  for (const ProfileData& written : {Defaults(), Unusual()}) {
    const std::string file = folder / "p.ini";
    ASSERT_EQ(WriteProfile(file, written), Result::Ok);
    ProfileData read = Defaults();
    read.windows.uDoubleClickTime = written.windows.uDoubleClickTime;  // comes from the desktop
    ASSERT_EQ(ReadProfile(file, read), Result::Ok);
    EXPECT_EQ(read, written);
  }
}

TEST(ProfileFileTest, OnlyACompleteWriteCarriesTheMarker) {
  test::TempFolder folder;
  const ProfileData p = Defaults();
  ASSERT_EQ(WriteProfile(folder / "a.ini", &p.device, nullptr, &p.link), Result::Ok);
  ASSERT_EQ(WriteProfile(folder / "b.ini", nullptr, &p.windows, &p.link), Result::Ok);
  ASSERT_EQ(WriteProfile(folder / "c.ini", &p.device, &p.windows, nullptr), Result::Ok);
  EXPECT_FALSE(IniDocument::Parse(test::ReadFile(folder / "a.ini")).Find("Setting", "nFlag"));
  EXPECT_FALSE(IniDocument::Parse(test::ReadFile(folder / "b.ini")).Find("Setting", "nFlag"));
  EXPECT_EQ(IniDocument::Parse(test::ReadFile(folder / "c.ini")).GetUnsigned("Setting", "nFlag", 0),
            kProfileMarker);
  ProfileData read = Unusual();
  EXPECT_EQ(ReadProfile(folder / "a.ini", read), Result::NotAProfile);
  EXPECT_EQ(read, Unusual());
}

TEST(ProfileFileTest, AFileWithoutTheExactMarkerIsNotRead) {
  test::TempFolder folder;
  const ProfileData before = Unusual();
  for (const std::string contents :
       {"[Setting]\nnFlag=20211123\npwDpi0=400\n", "[Setting]\nnFlag=20211125\npwDpi0=400\n",
        "[Setting]\npwDpi0=400\n", "[Other]\nnFlag=20211124\n", "", "\x7F" "ELF\x02\x01garbage",
        "[Setting]\nnFlag=2021112"}) {
    const std::string file = folder / "x.ini";
    test::WriteFile(file, contents);
    ProfileData read = before;
    EXPECT_EQ(ReadProfile(file, read), Result::NotAProfile) << contents;
    EXPECT_EQ(read, before);
  }
  ProfileData read = before;
  EXPECT_EQ(ReadProfile(folder / "missing.ini", read), Result::NotAProfile);
  EXPECT_EQ(read, before);
}

TEST(ProfileFileTest, AMarkerAloneReadsAsTheDefaultProfile) {
  test::TempFolder folder;
  test::WriteFile(folder / "m.ini", "[setting]\nNFLAG=20211124\n");
  ProfileData read = Unusual();
  ASSERT_EQ(ReadProfile(folder / "m.ini", read), Result::Ok);
  ProfileData expected = Defaults();
  expected.windows.uDoubleClickTime = Unusual().windows.uDoubleClickTime;
  EXPECT_EQ(read, expected);
}

TEST(ProfileFileTest, TheDoubleClickTimeIsNotReadBack) {
  test::TempFolder folder;
  test::WriteFile(folder / "w.ini",
                  "[Setting]\nuDoubleClickTime=800\nuMouseSpeed=15\nuWheelScrollLines=7\n"
                  "nFlag=20211124\n");
  WindowsSettings windows{333, 1, 1};
  ASSERT_EQ(ReadProfile(folder / "w.ini", nullptr, &windows, nullptr), Result::Ok);
  EXPECT_EQ(windows, (WindowsSettings{333, 15, 7}));
}

TEST(ProfileFileTest, ExtensionsCountOnlyForTheCodesThatUseThem) {
  test::TempFolder folder;
  test::WriteFile(folder / "e.ini",
                  "[Setting]\npbyKeySet3=40\nppszKeyExt3=66306\npbyKeySet4=5\n"
                  "ppszKeyExt4=left over\nnFlag=20211124\n");
  ProfileData read = Defaults();
  ASSERT_EQ(ReadProfile(folder / "e.ini", read), Result::Ok);
  EXPECT_EQ(read.device.ppszKeyExt[3], "66306");
  EXPECT_EQ(read.device.ppszKeyExt[4], "");
  ASSERT_EQ(WriteProfile(folder / "e.ini", read), Result::Ok);
  const IniDocument doc = IniDocument::Parse(test::ReadFile(folder / "e.ini"));
  EXPECT_EQ(doc.GetString("Setting", "ppszKeyExt4", "?"), "");

  ProfileData stray = Defaults();
  stray.device.ppszKeyExt[2] = "ignored for code 2";
  stray.link = {0, "/kept/in/memory/only"};
  ASSERT_EQ(WriteProfile(folder / "s.ini", stray), Result::Ok);
  const IniDocument written = IniDocument::Parse(test::ReadFile(folder / "s.ini"));
  EXPECT_EQ(written.GetString("Setting", "ppszKeyExt2", "?"), "");
  EXPECT_EQ(written.GetString("Setting", "szLinkPath", "?"), "");
}

TEST(ProfileFileTest, LongTextsAreCutTo259Units) {
  test::TempFolder folder;
  const std::string long_path = "/" + std::string(400, 'p');
  test::WriteFile(folder / "l.ini", "[Setting]\npbyKeySet0=38\nppszKeyExt0=" + long_path +
                                        "\nbLinkProgram=0\nszLinkPath=" + long_path +
                                        "\nnFlag=20211124\n");
  ProfileData read = Defaults();
  ASSERT_EQ(ReadProfile(folder / "l.ini", read), Result::Ok);
  EXPECT_EQ(read.device.ppszKeyExt[0], long_path.substr(0, 259));
  EXPECT_EQ(read.link.szLinkPath, long_path.substr(0, 259));  // read whatever the flag
}

struct ClampCase {
  std::string key;
  std::string stored;
  std::function<std::uint32_t(const ProfileData&)> field;
  std::uint32_t expected;
};

class ProfileClampTest : public testing::TestWithParam<ClampCase> {};

// Numbers wider than their field keep their low bits; every value is then brought into its valid
// range, so nothing read from a damaged file can be out of range.
TEST_P(ProfileClampTest, EveryFieldIsBroughtIntoItsRange) {
  test::TempFolder folder;
  const ClampCase& c = GetParam();
  test::WriteFile(folder / "c.ini", "[Setting]\n" + c.key + "=" + c.stored + "\nnFlag=20211124\n");
  ProfileData read = Defaults();
  ASSERT_EQ(ReadProfile(folder / "c.ini", read), Result::Ok);
  EXPECT_EQ(c.field(read), c.expected) << c.key << "=" << c.stored;
}

#define FIELD(expr) [](const ProfileData& p) -> std::uint32_t { return p.expr; }

INSTANTIATE_TEST_SUITE_P(
    Fields, ProfileClampTest,
    testing::Values(
        ClampCase{"pbyKeySet0", "43", FIELD(device.pbyKeySet[0]), 43},
        ClampCase{"pbyKeySet0", "44", FIELD(device.pbyKeySet[0]), 0},     // unknown: own function
        ClampCase{"pbyKeySet1", "300", FIELD(device.pbyKeySet[1]), 1},    // 300 keeps 44: unknown
        ClampCase{"pbyKeySet5", "255", FIELD(device.pbyKeySet[5]), 41},
        ClampCase{"pbyKeySet6", "298", FIELD(device.pbyKeySet[6]), 42},   // 298 keeps 42
        ClampCase{"pbyKeySet2", "-1", FIELD(device.pbyKeySet[2]), 2},
        ClampCase{"pdwKeyParameter3", "4294967295", FIELD(device.pdwKeyParameter[3]), 4294967295u},
        ClampCase{"pwDpi0", "70000", FIELD(device.pwDpi[0]), 4200},       // 70000 keeps 4464
        ClampCase{"pwDpi0", "65736", FIELD(device.pwDpi[0]), 200},        // keeps 200
        ClampCase{"pwDpi1", "150", FIELD(device.pwDpi[1]), 200},
        ClampCase{"pwDpi2", "4300", FIELD(device.pwDpi[2]), 4200},
        ClampCase{"pwDpi3", "2600", FIELD(device.pwDpi[3]), 2600},
        ClampCase{"byCurDpiLevel", "4", FIELD(device.byCurDpiLevel), 3},
        ClampCase{"byCurDpiLevel", "256", FIELD(device.byCurDpiLevel), 0},
        ClampCase{"byReportRateIndex", "9", FIELD(device.byReportRateIndex), 3},
        ClampCase{"byLightMode", "6", FIELD(device.byLightMode), 5},
        ClampCase{"byLightParameter", "200", FIELD(device.byLightParameter), 200},
        ClampCase{"byLightBrightness", "5", FIELD(device.byLightBrightness), 4},
        ClampCase{"byLightSpeed", "99999", FIELD(device.byLightSpeed), 4},  // keeps 159
        ClampCase{"crLight", "4294967295", FIELD(device.crLight), 0x00FFFFFF},
        ClampCase{"pbyCpiColorIdx2", "20", FIELD(device.pbyCpiColorIdx[2]), 15},
        ClampCase{"byLineCor", "2", FIELD(device.byLineCor), 1},
        ClampCase{"uMouseSpeed", "0", FIELD(windows.uMouseSpeed), 1},
        ClampCase{"uMouseSpeed", "25", FIELD(windows.uMouseSpeed), 20},
        ClampCase{"uWheelScrollLines", "0", FIELD(windows.uWheelScrollLines), 1},
        ClampCase{"uWheelScrollLines", "101", FIELD(windows.uWheelScrollLines), 100},
        ClampCase{"uWheelScrollLines", "-1", FIELD(windows.uWheelScrollLines), 0xFFFFFFFF},
        ClampCase{"uWheelScrollLines", "junk", FIELD(windows.uWheelScrollLines), 1},
        ClampCase{"bLinkProgram", "7", FIELD(link.bLinkProgram), 7}));

#undef FIELD

TEST(ProfileFileTest, AnUnknownCodeLosesItsParameterAndText) {
  test::TempFolder folder;
  test::WriteFile(folder / "u.ini",
                  "[Setting]\npbyKeySet0=300\npdwKeyParameter0=77\nppszKeyExt0=x\nnFlag=20211124\n");
  ProfileData read = Defaults();
  ASSERT_EQ(ReadProfile(folder / "u.ini", read), Result::Ok);
  EXPECT_EQ(read.device.pbyKeySet[0], 0);
  EXPECT_EQ(read.device.pdwKeyParameter[0], 0u);
  EXPECT_EQ(read.device.ppszKeyExt[0], "");
}

TEST(ProfileFileTest, PartialWritersChangeOnlyTheirKeys) {
  test::TempFolder folder;
  const std::string file = folder / "p.ini";
  ASSERT_EQ(WriteProfile(file, Defaults()), Result::Ok);
  ASSERT_EQ(WriteKeyAssignment(file, 6, 38, 0, "/usr/bin/firefox"), Result::Ok);
  ASSERT_EQ(WriteKeyAssignment(file, 4, 12, 5, "not kept"), Result::Ok);
  ASSERT_EQ(WriteDpiLevel(file, 3, 4000), Result::Ok);
  ASSERT_EQ(WriteLighting(file, 0xFF, 1, 3, 2, 1, {1, 2, 3, 4}), Result::Ok);
  ASSERT_EQ(WritePointerSpeed(file, 12), Result::Ok);
  ASSERT_EQ(WriteLinkSettings(file, 0, "/ignored"), Result::Ok);
  ASSERT_EQ(WriteCurDpiLevel(file, 2), Result::Ok);
  ASSERT_EQ(WriteReportRateIndex(file, 1), Result::Ok);
  ASSERT_EQ(WriteLineCor(file, 1), Result::Ok);
  ASSERT_EQ(WriteWheelScrollLines(file, 0xFFFFFFFF), Result::Ok);
  ASSERT_EQ(WriteDoubleClickTime(file, 640), Result::Ok);

  ProfileData expected = Defaults();
  expected.device.pbyKeySet[6] = 38;
  expected.device.ppszKeyExt[6] = "/usr/bin/firefox";
  expected.device.pbyKeySet[4] = 12;
  expected.device.pdwKeyParameter[4] = 5;
  expected.device.pwDpi[3] = 4000;
  expected.device.crLight = 0xFF;
  expected.device.byLightBrightness = 1;
  expected.device.byLightSpeed = 3;
  expected.device.byLightMode = 2;
  expected.device.byLightParameter = 1;
  expected.device.pbyCpiColorIdx = {1, 2, 3, 4};
  expected.windows.uMouseSpeed = 12;
  expected.device.byCurDpiLevel = 2;
  expected.device.byReportRateIndex = 1;
  expected.device.byLineCor = 1;
  expected.windows.uWheelScrollLines = 0xFFFFFFFF;
  ProfileData read = Defaults();
  ASSERT_EQ(ReadProfile(file, read), Result::Ok);
  EXPECT_EQ(read, expected);
  const IniDocument doc = IniDocument::Parse(test::ReadFile(file));
  EXPECT_EQ(doc.GetString("Setting", "uDoubleClickTime", ""), "640");
  EXPECT_EQ(doc.GetString("Setting", "ppszKeyExt4", "?"), "");
  EXPECT_EQ(doc.GetString("Setting", "szLinkPath", "?"), "");
}

TEST(ProfileFileTest, OutOfRangeButtonsAndLevelsWriteNothing) {
  test::TempFolder folder;
  const std::string file = folder / "p.ini";
  ASSERT_EQ(WriteProfile(file, Defaults()), Result::Ok);
  const std::string before = test::ReadFile(file);
  EXPECT_EQ(WriteKeyAssignment(file, 7, 5, 0, ""), Result::InvalidParameter);
  EXPECT_EQ(WriteKeyAssignment(file, -1, 5, 0, ""), Result::InvalidParameter);
  EXPECT_EQ(WriteDpiLevel(file, 4, 800), Result::InvalidParameter);
  EXPECT_EQ(test::ReadFile(file), before);
}

TEST(ProfileFileTest, AWriteThatFailsSaysSo) {
  test::TempFolder folder;
  EXPECT_EQ(WriteProfile(folder / "gone/p.ini", Defaults()), Result::FileNotFound);
  EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

}  // namespace
}  // namespace vexlo
