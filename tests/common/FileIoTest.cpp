#include "common/FileIo.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "common/IniDocument.h"
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
  ASSERT_EQ(ReadFileBytes(file, read), Result::Ok);
  EXPECT_EQ(read, "second");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FilesIn(folder.path()), 1u);  // no temporary file left behind
}

TEST(FileIoTest, ReportsMissingFilesAndFolders) {
  test::TempFolder folder;
  std::string read = "stale";
  EXPECT_EQ(ReadFileBytes(folder / "none.ini", read), Result::FileNotFound);
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(ReadFileBytes(folder.path(), read), Result::AccessDenied);
  EXPECT_EQ(ReplaceFileContents(folder / "no/such/folder.ini", "x"), Result::FileNotFound);
  test::WriteFile(folder / "plain", "file");
  EXPECT_EQ(ReplaceFileContents(folder / "plain/child.ini", "x"), Result::PathNotFound);
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
}

}  // namespace
}  // namespace vexlo
