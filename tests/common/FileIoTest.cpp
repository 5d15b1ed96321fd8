#include "common/FileIo.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

std::size_t FilesIn(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(FileIoTest, ReplacesContentsAndKeepsTheFileMode) {
  test::TempFolder folder;
  const std::string file = folder / "Profile001.ini";
  ASSERT_EQ(ReplaceFileContents(file, "first"), Result::Ok);
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_EQ(ReplaceFileContents(file, "second"), Result::Ok);
  std::string read;
  ASSERT_EQ(ReadFileBytes(file, read, kMaxIniFileBytes), Result::Ok);
  EXPECT_EQ(read, "second");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FilesIn(folder.path()), 1u);  // no temporary file left behind
}

TEST(FileIoTest, ReportsMissingFilesAndFolders) {
  test::TempFolder folder;
  std::string read = "stale";
  EXPECT_EQ(ReadFileBytes(folder / "none.ini", read, kMaxIniFileBytes), Result::FileNotFound);
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(ReplaceFileContents(folder / "no/such/folder.ini", "x"), Result::FileNotFound);
  test::WriteFile(folder / "plain", "file");
  EXPECT_EQ(ReplaceFileContents(folder / "plain/child.ini", "x"), Result::PathNotFound);
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// What lies where a file is expected: each is refused at once, and neither reading nor writing
// a key (which reads the file first) changes it.
struct SpecialCase {
  const char* name;
  void (*make)(const std::string& path);
  Result expected;
};

class FileIoSpecialTest : public testing::TestWithParam<SpecialCase> {};

TEST_P(FileIoSpecialTest, IsRefusedAtOnceAndLeftAsItWas) {
  test::TempFolder folder;
  const std::string file = folder / "Setting.ini";
  GetParam().make(file);
  const mode_t mode = ModeOf(file);
  std::string read = "stale";
  EXPECT_EQ(ReadFileBytes(file, read, kMaxIniFileBytes), GetParam().expected);
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(WriteIniString("Setting", "nFlag", "1", file), GetParam().expected);
  EXPECT_EQ(ModeOf(file), mode);
  EXPECT_EQ(FilesIn(folder.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FileIoSpecialTest,
    testing::Values(
        SpecialCase{"Fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
                    Result::BadFileType},
        SpecialCase{"DeviceLink",
                    [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
                    Result::BadFileType},
        SpecialCase{"Folder", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); },
                    Result::AccessDenied},
        SpecialCase{"LinkLoop",
                    [](const std::string& p) { ASSERT_EQ(::symlink(p.c_str(), p.c_str()), 0); },
                    Result::CantResolveFilename},
        SpecialCase{"TooLarge",
                    [](const std::string& p) {
                      test::WriteFile(p, "");
                      ASSERT_EQ(::truncate(p.c_str(), kMaxIniFileBytes + 1), 0);
                    },
                    Result::FileTooLarge}),
    [](const testing::TestParamInfo<SpecialCase>& kind) { return kind.param.name; });

TEST(FileIoTest, TheLargestFileOfItsKindIsRead) {
  test::TempFolder folder;
  const std::string file = folder / "Lang_En.ini";
  test::WriteFile(file, std::string(kMaxIniFileBytes, 'x'));
  std::string read;
  EXPECT_EQ(ReadFileBytes(file, read, kMaxIniFileBytes), Result::Ok);
  EXPECT_EQ(read.size(), kMaxIniFileBytes);
}

TEST(FileIoTest, WritesThroughALinkToItsTarget) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder / "dotfiles");
  const std::string target = folder / "dotfiles/Setting.ini";
  test::WriteFile(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink("dotfiles/Setting.ini", (folder / "Setting.ini").c_str()), 0);
  ASSERT_EQ(ReplaceFileContents(folder / "Setting.ini", "new"), Result::Ok);
  EXPECT_TRUE(S_ISLNK(ModeOf(folder / "Setting.ini")));
  EXPECT_EQ(test::ReadFile(target), "new");
  EXPECT_EQ(ModeOf(target) & 0777, 0640u);
  // A link to a file that does not exist yet creates the file.
  ASSERT_EQ(::symlink("dotfiles/New.ini", (folder / "New.ini").c_str()), 0);
  ASSERT_EQ(ReplaceFileContents(folder / "New.ini", "made"), Result::Ok);
  EXPECT_EQ(test::ReadFile(folder / "dotfiles/New.ini"), "made");
}

TEST(FileIoTest, ANameOfTheLongestLengthCanBeReplaced) {
  test::TempFolder folder;
  const std::string file = folder / (std::string(251, 'n') + ".ini");
  ASSERT_EQ(ReplaceFileContents(file, "one"), Result::Ok);
  ASSERT_EQ(ReplaceFileContents(file, "two"), Result::Ok);
  EXPECT_EQ(test::ReadFile(file), "two");
}

TEST(FileIoTest, NewFilesAndFoldersAreTheUsersAloneAndOldOnesKeepTheirModes) {
  test::TempFolder folder;
  ASSERT_EQ(::mkdir((folder / "old").c_str(), 0755), 0);
  ASSERT_EQ(CreatePrivateFolders(folder / "old/new/newer/"), Result::Ok);
  EXPECT_EQ(ModeOf(folder / "old") & 0777, 0755u);
  EXPECT_EQ(ModeOf(folder / "old/new") & 0777, 0700u);
  EXPECT_EQ(ModeOf(folder / "old/new/newer") & 0777, 0700u);
  ASSERT_EQ(ReplaceFileContents(folder / "old/new/Macro000.ini", "x"), Result::Ok);
  EXPECT_EQ(ModeOf(folder / "old/new/Macro000.ini") & 0777, 0600u);
  test::WriteFile(folder / "file", "");
  EXPECT_EQ(CreatePrivateFolders(folder / "file"), Result::PathNotFound);
}

struct FaultCase {
  ReplaceStep step;
  int error;
  Result expected;
};

class FileIoFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(FileIoFaultTest, AFailedReplacementLeavesTheOldFileWholeAndSaysWhy) {
  test::TempFolder folder;
  const std::string file = folder / "Setting.ini";
  test::WriteFile(file, "[Setting]\nnDevModel=2\n");
  FailNextReplaceForTesting(GetParam().step, GetParam().error);
  EXPECT_EQ(ReplaceFileContents(file, "[Setting]\nnDevModel=1\n"), GetParam().expected);
  EXPECT_EQ(test::ReadFile(file), "[Setting]\nnDevModel=2\n");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
  // The fault was used up: the next write goes through.
  EXPECT_EQ(ReplaceFileContents(file, "new"), Result::Ok);
  EXPECT_EQ(test::ReadFile(file), "new");
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FileIoFaultTest,
    testing::Values(FaultCase{ReplaceStep::Create, EROFS, Result::WriteProtected},
                    FaultCase{ReplaceStep::Create, EACCES, Result::AccessDenied},
                    FaultCase{ReplaceStep::Write, ENOSPC, Result::DiskFull},
                    FaultCase{ReplaceStep::Write, EDQUOT, Result::DiskFull},
                    FaultCase{ReplaceStep::Sync, EIO, Result::IoDevice},
                    FaultCase{ReplaceStep::Rename, EXDEV, Result::GeneralFailure}));

// A process killed at any moment while it rewrites a file leaves either the old or the new
// contents, never a mixture or an empty file.
TEST(FileIoTest, AProcessKilledMidWriteLeavesOneWholeVersion) {
  test::TempFolder folder;
  const std::string file = folder / "Profile001.ini";
  const std::string old_contents = "[Setting]\n" + std::string(1 << 20, 'o') + "\nnFlag=20211124\n";
  const std::string new_contents = "[Setting]\n" + std::string(1 << 20, 'n') + "\nnFlag=20211124\n";
  test::WriteFile(file, old_contents);
  for (int round = 0; round < 8; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        (void)ReplaceFileContents(file, new_contents);
        (void)ReplaceFileContents(file, old_contents);
      }
    }
    ::usleep(static_cast<useconds_t>(3000 + round * 1700));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string after = test::ReadFile(file);
    EXPECT_TRUE(after == old_contents || after == new_contents) << "round " << round;
    EXPECT_EQ(IniDocument::Parse(after).GetUnsigned("Setting", "nFlag", 0), 20211124u);
  }
  // What the killed writers left behind goes; a file of another name stays.
  test::WriteFile(folder / ".vexlo-notes.txt", "mine");
  RemoveStaleTemporaryFiles(folder.path());
  EXPECT_EQ(FilesIn(folder.path()), 2u);
}

TEST(FileIoTest, StartUpLeavesTheTemporaryFileOfAWriteUnderWay) {
  test::TempFolder folder;
  const std::string file = folder / "Profile001.ini";
  const std::string contents = std::string(8 << 20, 'x');
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (;;) {
      if (ReplaceFileContents(file, contents) != Result::Ok) ::_exit(1);
    }
  }
  for (int round = 0; round < 200; ++round) {
    RemoveStaleTemporaryFiles(folder.path());
    ::usleep(500);
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status)) << "a write failed with " << WEXITSTATUS(status);
}

}  // namespace
}  // namespace vexlo
