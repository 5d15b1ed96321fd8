#include "profiles/AppSettings.h"

#include <gtest/gtest.h>

#include "platform/ports/SystemFolders.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

class FixedFolders final : public SystemFolders {
 public:
  explicit FixedFolders(std::string roaming) : roaming_(std::move(roaming)) {}
  std::string ModulePath() override { return "/opt/vexlo/vexlo"; }
  std::string RoamingDataFolder() override { return roaming_; }

 private:
  std::string roaming_;
};

TEST(AppSettingsTest, DerivesEveryPathFromTheProgramFile) {
  test::TempFolder folder;
  AppSettings settings;
  FillProgramPaths(settings, folder / "vexlo");
  EXPECT_EQ(settings.ModulePath, folder / "vexlo");
  EXPECT_EQ(settings.ProgramFolder, folder.path());
  EXPECT_EQ(settings.DaemonPath, folder / "Ruvik");
  EXPECT_EQ(settings.SkinFolder, folder / "Skins/");
  EXPECT_EQ(settings.FontPath, folder / "OpenSans-Regular.ttf");
  EXPECT_EQ(settings.LanguageSelector, folder / "Lang.ini");
  EXPECT_EQ(settings.LanguageFile, folder / "Lang_En.ini");  // no selector file

  test::WriteFile(folder / "Lang.ini", "[lang]\nlang_file=Lang_De.ini\n");
  FillProgramPaths(settings, folder / "vexlo");
  EXPECT_EQ(settings.LanguageFile, folder / "Lang_De.ini");
}

TEST(AppSettingsTest, TakesItsFilesFromBesideTheProgramBeforeTheInstalledFolders) {
  test::TempFolder root;
  const std::string program = root / "usr/bin/";
  const std::string data =
      (std::filesystem::path(program) / kInstalledFolders.data).lexically_normal().string() + "/";
  const std::string helpers =
      (std::filesystem::path(program) / kInstalledFolders.helpers).lexically_normal().string() +
      "/";
  std::filesystem::create_directories(program);
  std::filesystem::create_directories(data + "Skins");
  test::WriteFile(data + "Lang.ini", "[LANG]\nLANG_FILE=Lang_Fr.ini\n");
  test::WriteFile(helpers + "Ruvik", "program");

  AppSettings installed;
  FillProgramPaths(installed, program + "vexlo");
  EXPECT_EQ(installed.ProgramFolder, program);
  EXPECT_EQ(installed.DaemonPath, helpers + "Ruvik");
  EXPECT_EQ(installed.SkinFolder, data + "Skins/");
  EXPECT_EQ(installed.FontPath, data + "OpenSans-Regular.ttf");
  EXPECT_EQ(installed.LanguageFile, data + "Lang_Fr.ini");

  // A build folder holds everything beside its program, and wins over an installed copy.
  std::filesystem::create_directories(program + "Skins");
  test::WriteFile(program + "Ruvik", "program");
  AppSettings built;
  FillProgramPaths(built, program + "vexlo");
  EXPECT_EQ(built.DaemonPath, program + "Ruvik");
  EXPECT_EQ(built.SkinFolder, program + "Skins/");
  EXPECT_EQ(built.LanguageFile, program + "Lang_En.ini");
}

TEST(AppSettingsTest, TheDataFolderIsNamedAfterTheProduct) {
  FixedFolders with_slash("/home/u/.config/");
  FixedFolders without_slash("/home/u/.config");
  FixedFolders none("");
  EXPECT_EQ(DeriveDataFolder(with_slash), "/home/u/.config/Halvec QXA7702 Gaming Mouse/");
  EXPECT_EQ(DeriveDataFolder(without_slash), "/home/u/.config/Halvec QXA7702 Gaming Mouse/");
  EXPECT_EQ(DeriveDataFolder(none), "");
}

TEST(AppSettingsTest, SettingsFileDefaultsAndRewrites) {
  test::TempFolder folder;
  AppSettings settings;
  ASSERT_EQ(PrepareDataFolder(settings, folder / "deep/data/"), Result::Ok);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "deep/data"));
  EXPECT_EQ(settings.SettingsFile, folder / "deep/data/Setting.ini");

  EXPECT_EQ(ReadSavedProfilePath(settings), "");
  EXPECT_EQ(ReadSavedMacroIndex(settings), 4294967295u);
  EXPECT_EQ(ReadSavedDevModel(settings), 3u);

  ASSERT_EQ(SaveMacroIndex(settings, -1), Result::Ok);
  settings.nDevModel = 3;
  ASSERT_EQ(SaveDevModel(settings), Result::Ok);
  ASSERT_EQ(SaveProfilePath(settings, "/d/Profile/Game.ini"), Result::Ok);
  EXPECT_EQ(test::ReadFile(settings.SettingsFile),
            "[Setting]\nnMacroIndex=4294967295\nnDevModel=3\n"
            "strProfilePath=/d/Profile/Game.ini\n");

  ASSERT_EQ(SaveMacroIndex(settings, 4), Result::Ok);
  ASSERT_EQ(SaveProfilePath(settings, "/d/Profile/WORK.ini"), Result::Ok);
  EXPECT_EQ(ReadSavedMacroIndex(settings), 4u);
  EXPECT_EQ(ReadSavedProfilePath(settings), "/d/Profile/WORK.ini");  // case kept as written
  EXPECT_EQ(ReadSavedDevModel(settings), 3u);
}

TEST(AppSettingsTest, HandWrittenValuesReadAsTheyStand) {
  test::TempFolder folder;
  AppSettings settings;
  ASSERT_EQ(PrepareDataFolder(settings, folder.path()), Result::Ok);
  test::WriteFile(settings.SettingsFile,
                  "; edited by hand\r\n[SETTING]\r\n nMacroIndex = -1 \r\nnDevModel=7\r\n");
  EXPECT_EQ(ReadSavedMacroIndex(settings), 4294967295u);
  EXPECT_EQ(ReadSavedDevModel(settings), 7u);  // the range is narrowed when the mouse connects
  ASSERT_EQ(SaveMacroIndex(settings, 2), Result::Ok);
  EXPECT_EQ(test::ReadFile(settings.SettingsFile),
            "; edited by hand\r\n[SETTING]\r\nnMacroIndex=2\r\nnDevModel=7\r\n");
}

}  // namespace
}  // namespace vexlo
