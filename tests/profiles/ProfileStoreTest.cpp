#include "profiles/ProfileStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "common/FileIo.h"
#include "common/IniFile.h"
#include "common/Text.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

using test::ReadFile;
using test::SnapshotFolder;
using test::WriteFile;
using Names = std::vector<std::string>;

class ProfileStoreTest : public test::StoreFixture {
 protected:
  std::string ProfileFolder() const { return DataFolder() + "Profile/"; }
  std::string PathOf(const std::string& name) const { return ProfileFolder() + name + ".ini"; }

  // A profile or exchange file, told apart by its first sensitivity.
  static void WriteProfileAt(const std::string& path, std::uint16_t dpi0 = 800) {
    ProfileData profile;
    FillDefaults(profile);
    profile.device.pwDpi[0] = dpi0;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_EQ(WriteProfile(path, profile), Result::Ok);
  }
  // A profile file as an earlier run would have left it.
  void WriteProfileFile(const std::string& name, std::uint16_t dpi0 = 800) {
    WriteProfileAt(PathOf(name), dpi0);
  }

  std::uint16_t DpiOnDisk(const std::string& path) const {
    ProfileData read;
    FillDefaults(read);
    EXPECT_EQ(ReadProfile(path, read), Result::Ok) << path;
    return read.device.pwDpi[0];
  }

  ProfileStore& Open() {
    store_ = std::make_unique<ProfileStore>(DataFolder(), language_, messages_);
    return *store_;
  }

  Names DisplayNames() const {
    Names names;
    for (const std::string& path : store_->List()) names.push_back(ProfileStore::DisplayName(path));
    return names;
  }

  std::unique_ptr<ProfileStore> store_;
};

TEST_F(ProfileStoreTest, FirstStartCreatesProfile001) {
  ProfileStore& store = Open();
  EXPECT_TRUE(store.List().empty());
  EXPECT_TRUE(std::filesystem::is_directory(ProfileFolder()));
  ASSERT_EQ(store.NewProfile(), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("Profile001"));
  EXPECT_EQ(store.List(), Names{PathOf("Profile001")});
  EXPECT_EQ(ReadIniUnsigned("Setting", "nFlag", 0, PathOf("Profile001")), kProfileMarker);
}

TEST_F(ProfileStoreTest, OnlyMarkedIniFilesAreListedYetEveryFileBlocksItsName) {
  WriteFile(PathOf("Profile001"), "[Setting]\nnFlag=20211125\n");
  WriteFile(ProfileFolder() + "Profile002.txt", "[Setting]\nnFlag=20211124\n");
  std::filesystem::create_directories(PathOf("Profile002"));  // a folder blocks the name too
  WriteProfileFile("Real");
  ProfileStore& store = Open();
  EXPECT_EQ(DisplayNames(), Names{"Real"});
  ASSERT_EQ(store.NewProfile(), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("Profile003"));
  EXPECT_EQ(ReadFile(PathOf("Profile001")), "[Setting]\nnFlag=20211125\n");
}

TEST_F(ProfileStoreTest, ListIsInUtf16CodeUnitOrder) {
  for (const char* name : {"a", "C", "B", "\xEF\xBD\x81", "\xF0\x9F\x98\x80"}) {
    WriteProfileFile(name);
  }
  Open();
  // Upper case before lower case; a supplementary character (surrogates, D83D) before U+FF41.
  EXPECT_EQ(DisplayNames(), (Names{"B", "C", "a", "\xF0\x9F\x98\x80", "\xEF\xBD\x81"}));
}

TEST_F(ProfileStoreTest, NewProfileHasDefaultContents) {
  WriteProfileFile("Tuned", 3200);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Tuned")), Result::Ok);
  ASSERT_EQ(store.Data().device.pwDpi[0], 3200);
  ASSERT_EQ(store.NewProfile(), Result::Ok);
  EXPECT_EQ(store.Data().device.pwDpi[0], 800);
  EXPECT_EQ(DpiOnDisk(store.CurrentPath()), 800);
  EXPECT_EQ(DisplayNames(), (Names{"Profile001", "Tuned"}));
}

TEST_F(ProfileStoreTest, CopyStripsTheCopySuffixBeforeNumbering) {
  WriteProfileFile("Work", 1600);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Work")), Result::Ok);
  ASSERT_EQ(store.CopyProfile(), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("WorkCopy1"));
  EXPECT_EQ(DpiOnDisk(PathOf("WorkCopy1")), 1600);
  ASSERT_EQ(store.CopyProfile(), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("WorkCopy2"));
  EXPECT_EQ(DisplayNames(), (Names{"Work", "WorkCopy1", "WorkCopy2"}));
}

TEST_F(ProfileStoreTest, WhenAll999NamesAreTakenNothingChanges) {
  std::filesystem::create_directories(ProfileFolder());
  for (int i = 1; i <= 999; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Profile%03d", i);
    WriteFile(PathOf(name), "");
  }
  WriteProfileFile("Only");
  ProfileStore& store = Open();
  store.SetCurrentPath(PathOf("Only"));
  const auto before = SnapshotFolder(ProfileFolder());
  EXPECT_EQ(store.NewProfile(), Result::Full);
  EXPECT_EQ(messages_.plain, Names{"Too many profiles!"});
  EXPECT_EQ(store.CurrentPath(), PathOf("Only"));
  EXPECT_EQ(DisplayNames(), Names{"Only"});
  EXPECT_EQ(SnapshotFolder(ProfileFolder()), before);
}

// A folder that cannot be looked into is not a full one: the reason is the answer, for the caller
// to tell the user.
TEST_F(ProfileStoreTest, AFolderThatCannotBeReadIsNotTakenForAFullOne) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  ProfileStore& store = Open();
  ::chmod(ProfileFolder().c_str(), 0);
  const Result made = store.NewProfile();
  ::chmod(ProfileFolder().c_str(), 0700);
  EXPECT_EQ(made, Result::AccessDenied);
  EXPECT_TRUE(messages_.plain.empty());
  EXPECT_TRUE(store.CurrentPath().empty());
}

TEST_F(ProfileStoreTest, SelectReadsTheProfileUnlessItIsCurrent) {
  WriteProfileFile("One", 1000);
  WriteProfileFile("Two", 2000);
  ProfileStore& store = Open();
  store.Data().windows.uDoubleClickTime = 333;
  ASSERT_EQ(store.SelectProfile(PathOf("Two")), Result::Ok);
  EXPECT_EQ(store.Data().device.pwDpi[0], 2000);
  EXPECT_EQ(store.Data().windows.uDoubleClickTime, 333u);  // comes from the desktop
  store.Data().device.pwDpi[0] = 4000;
  ASSERT_EQ(store.SelectProfile(ProfileFolder() + "TWO.ini"), Result::Ok);  // current already
  EXPECT_EQ(store.Data().device.pwDpi[0], 4000);
  EXPECT_EQ(store.CurrentPath(), PathOf("Two"));
}

TEST_F(ProfileStoreTest, SelectingAnUnreadableFileKeepsTheCurrentProfile) {
  WriteProfileFile("One", 1000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("One")), Result::Ok);
  EXPECT_EQ(store.SelectProfile(PathOf("Gone")), Result::NotAProfile);
  EXPECT_EQ(store.CurrentPath(), PathOf("One"));
  EXPECT_EQ(store.Data().device.pwDpi[0], 1000);
}

// A current path that names no listed profile (none saved, one gone, one outside the folder) gives
// way to the first listed profile that can be read, passing over files damaged or removed since
// the list was read, else to a new profile. What memory holds (here a profile's 4000) never stays
// under another profile's path, so the arrival's write that follows cannot put it into its file.
TEST_F(ProfileStoreTest, AnUnlistedCurrentPathGivesWayToTheFirstReadableProfile) {
  const std::string outside = temp_ / "elsewhere.ini";
  const struct {
    std::string saved;
    Names damaged;  // cut short since the list was read
    Names removed;  // since the list was read
    bool writeFails;
    Result result;
    std::string current;  // name; empty for none
    std::uint16_t dpi0;   // in memory afterwards
  } cases[] = {
      {PathOf("B"), {}, {}, false, Result::Ok, "B", 4000},  // listed: stays, read by the caller
      {"", {}, {}, false, Result::Ok, "A", 1000},
      {PathOf("Gone"), {"A"}, {}, false, Result::Ok, "B", 2000},
      {outside, {"B"}, {"A"}, false, Result::Ok, "C", 3000},
      {"", {"A", "B", "C"}, {}, false, Result::Ok, "Profile001", 800},
      {outside, {"A", "B", "C"}, {}, true, Result::DiskFull, "", 4000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.saved + (c.damaged.empty() ? "" : " damaged " + c.damaged.front()));
    std::filesystem::remove_all(ProfileFolder());
    WriteProfileFile("A", 1000);
    WriteProfileFile("B", 2000);
    WriteProfileFile("C", 3000);
    WriteProfileAt(outside, 4200);
    ProfileStore& store = Open();
    for (const std::string& name : c.damaged) WriteFile(PathOf(name), "[Sett");
    for (const std::string& name : c.removed) std::filesystem::remove(PathOf(name));
    store.SetCurrentPath(c.saved);
    store.Data().device.pwDpi[0] = 4000;
    if (c.writeFails) FailNextReplaceForTesting(ReplaceStep::Rename, ENOSPC);

    EXPECT_EQ(store.EnsureCurrentProfile(), c.result);
    EXPECT_EQ(store.CurrentPath(), c.current.empty() ? "" : PathOf(c.current));
    EXPECT_EQ(store.Data().device.pwDpi[0], c.dpi0);
    (void)store.SaveCurrentProfile();  // as an arrival writes the current profile
    for (const std::string& name : c.damaged) EXPECT_EQ(ReadFile(PathOf(name)), "[Sett") << name;
    EXPECT_EQ(DpiOnDisk(outside), 4200);
  }
}

TEST_F(ProfileStoreTest, DeletingMakesTheNextCurrentOrTheNewLastButNeverTheOnlyOne) {
  WriteProfileFile("A", 1000);
  WriteProfileFile("B", 2000);
  WriteProfileFile("C", 3000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("B")), Result::Ok);
  ASSERT_EQ(store.DeleteProfile(false), Result::Ok);  // in the middle
  EXPECT_FALSE(std::filesystem::exists(PathOf("B")));
  EXPECT_EQ(store.CurrentPath(), PathOf("C"));
  EXPECT_EQ(store.Data().device.pwDpi[0], 2000);     // not read again
  ASSERT_EQ(store.DeleteProfile(true), Result::Ok);  // the last
  EXPECT_EQ(store.CurrentPath(), PathOf("A"));
  EXPECT_EQ(store.Data().device.pwDpi[0], 1000);
  EXPECT_EQ(DisplayNames(), Names{"A"});
  EXPECT_EQ(store.DeleteProfile(true), Result::TooShort);
  EXPECT_TRUE(std::filesystem::exists(PathOf("A")));
  EXPECT_EQ(store.CurrentPath(), PathOf("A"));
}

TEST_F(ProfileStoreTest, RenameMovesTheFileAndSortsTheList) {
  WriteProfileFile("Old", 1000);
  WriteProfileFile("Middle");
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Old")), Result::Ok);
  store.Data().device.pwDpi[0] = 1200;  // memory is what the new file holds
  ASSERT_EQ(store.RenameProfile("  Alpha "), Result::Ok);
  EXPECT_FALSE(std::filesystem::exists(PathOf("Old")));
  EXPECT_EQ(DpiOnDisk(PathOf("Alpha")), 1200);
  EXPECT_EQ(store.CurrentPath(), PathOf("Alpha"));
  EXPECT_EQ(DisplayNames(), (Names{"Alpha", "Middle"}));
}

TEST_F(ProfileStoreTest, RenameMayChangeOnlyTheCase) {
  WriteProfileFile("work", 1000);
  WriteProfileFile("other");
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("work")), Result::Ok);
  ASSERT_EQ(store.RenameProfile("Work"), Result::Ok);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(DisplayNames(), (Names{"Work", "other"}));
  EXPECT_EQ(DpiOnDisk(PathOf("Work")), 1000);
}

TEST_F(ProfileStoreTest, RenameOntoAnotherProfileAnsweredNoChangesNothing) {
  WriteProfileFile("Mine", 1000);
  WriteProfileFile("Theirs", 2000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Mine")), Result::Ok);
  const auto before = SnapshotFolder(ProfileFolder());
  messages_.SetNextAnswer(UserMessages::kCancel);
  EXPECT_EQ(store.RenameProfile("THEIRS"), Result::NameConflict);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].textKey, "STA_MSG_INFO_FILE_CONFLECT");
  EXPECT_EQ(SnapshotFolder(ProfileFolder()), before);
  EXPECT_EQ(store.CurrentPath(), PathOf("Mine"));
}

TEST_F(ProfileStoreTest, RenameOntoAnotherProfileAnsweredYesOverwritesIt) {
  WriteProfileFile("Mine", 1000);
  WriteProfileFile("Theirs", 2000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Mine")), Result::Ok);
  messages_.SetNextAnswer(UserMessages::kOk);
  ASSERT_EQ(store.RenameProfile("THEIRS"), Result::Ok);
  EXPECT_EQ(DisplayNames(), Names{"Theirs"});
  EXPECT_FALSE(std::filesystem::exists(PathOf("Mine")));
  EXPECT_EQ(DpiOnDisk(PathOf("Theirs")), 1000);
  EXPECT_EQ(store.CurrentPath(), PathOf("Theirs"));
}

TEST_F(ProfileStoreTest, RenameRefusesNamesThatCouldLeaveTheFolder) {
  WriteProfileFile("Keep");
  WriteProfileFile("Other");
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Keep")), Result::Ok);
  const auto before = SnapshotFolder(DataFolder());
  for (const char* bad : {"", "  ", "../Escaped", "..\\Escaped", "/tmp/x", "a:b", "a*", "a?", "a\"",
                          "a<", "a>", "a|", "tab\there"}) {
    EXPECT_EQ(store.RenameProfile(bad), Result::InvalidName) << bad;
  }
  EXPECT_EQ(SnapshotFolder(DataFolder()), before);
  EXPECT_EQ(store.CurrentPath(), PathOf("Keep"));
}

TEST_F(ProfileStoreTest, RenameCutsTheNameSoThePathStaysWithin259Units) {
  WriteProfileFile("Short");
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Short")), Result::Ok);
  ASSERT_EQ(store.RenameProfile(std::string(300, 'n')), Result::Ok);
  const std::size_t name_units = 255 - Utf16Length(ProfileFolder());
  EXPECT_EQ(store.CurrentPath(), PathOf(std::string(name_units, 'n')));
  EXPECT_EQ(Utf16Length(store.CurrentPath()), 259u);
  EXPECT_TRUE(std::filesystem::exists(store.CurrentPath()));
}

TEST_F(ProfileStoreTest, RenameOfAnUnlistedCurrentProfileChangesNothing) {
  WriteProfileFile("Listed");
  ProfileStore& store = Open();
  store.SetCurrentPath(PathOf("Vanished"));
  EXPECT_EQ(store.RenameProfile("New"), Result::NothingCurrent);
  EXPECT_FALSE(std::filesystem::exists(PathOf("New")));
}

TEST_F(ProfileStoreTest, ImportOntoAProfileOfTheSameNameAsksFirst) {
  WriteProfileFile("Game", 1000);
  WriteProfileFile("Desk", 2000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Desk")), Result::Ok);
  WriteProfileAt(temp_ / "game.profile", 4200);
  EXPECT_EQ(store.ImportProfile(temp_ / "game.profile"), Result::NameConflict);  // answered no
  EXPECT_EQ(store.CurrentPath(), PathOf("Desk"));
  EXPECT_EQ(DpiOnDisk(PathOf("Game")), 1000);
  messages_.SetNextAnswer(UserMessages::kOk);
  ASSERT_EQ(store.ImportProfile(temp_ / "game.profile"), Result::Ok);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].textKey, "STA_MSG_INFO_FILE_CONFLECT");
  EXPECT_EQ(store.CurrentPath(), PathOf("Game"));  // the listed file, under its own spelling
  EXPECT_EQ(DpiOnDisk(PathOf("Game")), 4200);
  EXPECT_EQ(store.Data().device.pwDpi[0], 4200);
  EXPECT_EQ(DisplayNames(), (Names{"Desk", "Game"}));
}

TEST_F(ProfileStoreTest, ExportedProfileImportsAgainUnderAnotherName) {
  WriteProfileFile("Source", 2400);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Source")), Result::Ok);
  store.Data().link = {1, "/usr/bin/game"};
  ASSERT_EQ(store.ExportProfile(temp_ / "Shared.profile"), Result::Ok);
  const ProfileData exported = store.Data();
  store.Data().device.pwDpi[0] = 200;
  store.Data().link = {};
  ASSERT_EQ(store.ImportProfile(temp_ / "Shared.profile"), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("Shared"));
  EXPECT_EQ(store.Data(), exported);
  ProfileData onDisk = exported;
  ASSERT_EQ(ReadProfile(PathOf("Shared"), onDisk), Result::Ok);
  EXPECT_EQ(onDisk, exported);
}

TEST_F(ProfileStoreTest, ImportRefusesNonProfilesAndBadNamesAndWritesNothing) {
  WriteProfileFile("Keep", 1000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Keep")), Result::Ok);
  WriteFile(temp_ / "Plain.profile", "[Setting]\nnFlag=20211123\npwDpi0=4000\n");
  for (const char* name :
       {"a|b.profile", ".profile", "..\\..\\Escaped.profile", "   .profile", "x:y.profile"}) {
    WriteProfileAt(temp_ / name);
  }
  const auto before = SnapshotFolder(DataFolder());
  EXPECT_EQ(store.ImportProfile(temp_ / "Plain.profile"), Result::NotAProfile);
  EXPECT_EQ(store.ImportProfile(temp_ / "Missing.profile"), Result::NotAProfile);
  for (const char* name :
       {"a|b.profile", ".profile", "..\\..\\Escaped.profile", "   .profile", "x:y.profile"}) {
    EXPECT_EQ(store.ImportProfile(temp_ / name), Result::InvalidName) << name;
  }
  EXPECT_EQ(SnapshotFolder(DataFolder()), before);
  EXPECT_EQ(store.CurrentPath(), PathOf("Keep"));
  EXPECT_EQ(store.Data().device.pwDpi[0], 1000);
  EXPECT_EQ(DisplayNames(), Names{"Keep"});
}

TEST_F(ProfileStoreTest, ImportOfAFileInsideTheFolderStaysInside) {
  // A name made only of dots is a name like any other, and its path is inside the folder.
  WriteProfileFile("Keep");
  ProfileStore& store = Open();
  WriteProfileAt(temp_ / "...profile");
  ASSERT_EQ(store.ImportProfile(temp_ / "...profile"), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), ProfileFolder() + "...ini");
  EXPECT_EQ(std::filesystem::path(store.CurrentPath()).parent_path(),
            std::filesystem::path(ProfileFolder()).parent_path());
}

TEST_F(ProfileStoreTest, AFailedWriteChangesNothing) {
  WriteProfileFile("Keep", 1000);
  WriteProfileFile("Other", 2000);
  ProfileStore& store = Open();
  ASSERT_EQ(store.SelectProfile(PathOf("Keep")), Result::Ok);
  WriteProfileAt(temp_ / "In.profile");
  const auto before = SnapshotFolder(ProfileFolder());
  FailNextReplaceForTesting(ReplaceStep::Rename, ENOSPC);
  EXPECT_EQ(store.NewProfile(), Result::DiskFull);
  FailNextReplaceForTesting(ReplaceStep::Write, ENOSPC);
  EXPECT_EQ(store.CopyProfile(), Result::DiskFull);
  FailNextReplaceForTesting(ReplaceStep::Create, EACCES);
  EXPECT_EQ(store.ImportProfile(temp_ / "In.profile"), Result::AccessDenied);
  FailNextReplaceForTesting(ReplaceStep::Sync, ENOSPC);
  EXPECT_EQ(store.RenameProfile("Renamed"), Result::DiskFull);
  EXPECT_EQ(SnapshotFolder(ProfileFolder()), before);
  EXPECT_EQ(store.CurrentPath(), PathOf("Keep"));
  EXPECT_EQ(store.Data().device.pwDpi[0], 1000);
  EXPECT_EQ(DisplayNames(), (Names{"Keep", "Other"}));
}

TEST_F(ProfileStoreTest, ALanguageTextCannotMoveNewProfilesOutOfTheFolder) {
  WriteFile(temp_ / "Lang_En.ini", "[LANG]\nINFO_PRPFILE_PREFIX=../../Escaped\n");
  language_.Load(temp_ / "Lang_En.ini");
  ProfileStore& store = Open();
  ASSERT_EQ(store.NewProfile(), Result::Ok);
  EXPECT_EQ(store.CurrentPath(), PathOf("....Escaped001"));
}

TEST_F(ProfileStoreTest, WithoutADataFolderNothingIsWritten) {
  store_ = std::make_unique<ProfileStore>("", language_, messages_);
  EXPECT_EQ(store_->NewProfile(), Result::PathNotFound);
  EXPECT_TRUE(store_->List().empty());
  EXPECT_EQ(store_->SaveCurrentProfile(), Result::NothingCurrent);
}

}  // namespace
}  // namespace vexlo
