#include "platform/linux/LinuxProcessLauncher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// A program that writes its working folder and arguments into a file named by `report`.
void WriteReportingScript(const std::string& path, const std::string& report) {
  test::WriteFile(path, "#!/bin/sh\necho \"$PWD|$*\" > '" + report + ".part'\n/bin/mv '" + report +
                            ".part' '" + report + "'\n");
  ::chmod(path.c_str(), 0755);
}

std::string WaitForReport(const std::string& report) {
  test::WaitUntil([&] { return std::filesystem::exists(report); }, 10s);
  return test::ReadFile(report);
}

TEST(LinuxProcessLauncherTest, StartsAProgramInItsFolderWithItsParameter) {
  test::TempFolder folder;
  WriteReportingScript(folder / "tool", folder / "report");
  std::filesystem::create_directory(folder / "work");
  LinuxProcessLauncher launcher;
  ASSERT_EQ(launcher.Open(folder / "tool", "/run/vexlo/window-4D41494E-1-0.sock",
                          std::filesystem::canonical(folder / "work").string()),
            Result::Ok);
  EXPECT_EQ(WaitForReport(folder / "report"),
            std::filesystem::canonical(folder / "work").string() +
                "|/run/vexlo/window-4D41494E-1-0.sock\n");
}

// The companion's messages are known by the process id the start gives.
TEST(LinuxProcessLauncherTest, StartingTheCompanionGivesItsProcess) {
  test::TempFolder folder;
  test::WriteFile(folder / "companion",
                  "#!/bin/sh\necho $$ > \"$1.part\"\n/bin/mv \"$1.part\" \"$1\"\n");
  ::chmod((folder / "companion").c_str(), 0755);
  LinuxProcessLauncher launcher;
  std::uint32_t process = 0;
  ASSERT_EQ(
      launcher.StartCompanion(folder / "companion", folder / "report", folder.path(), process),
      Result::Ok);
  EXPECT_EQ(WaitForReport(folder / "report"), std::to_string(process) + "\n");
  EXPECT_EQ(launcher.StartCompanion(folder / "missing", "", folder.path(), process),
            Result::FileNotFound);
  EXPECT_EQ(process, 0u);
}

TEST(LinuxProcessLauncherTest, HandsDocumentsToTheDesktopOpener) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "bin");
  WriteReportingScript(folder / "bin/xdg-open", folder / "report");
  test::WriteFile(folder / "notes.txt", "a document");
  const std::string saved_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (folder / "bin").c_str(), 1);
  LinuxProcessLauncher launcher;
  const Result opened = launcher.Open(folder / "notes.txt", "", folder.path());
  ::setenv("PATH", saved_path.c_str(), 1);
  ASSERT_EQ(opened, Result::Ok);
  EXPECT_EQ(WaitForReport(folder / "report"),
            std::filesystem::canonical(folder.path()).string() + "|" + (folder / "notes.txt") +
                "\n");
}

TEST(LinuxProcessLauncherTest, SaysWhyNothingStarted) {
  test::TempFolder folder;
  LinuxProcessLauncher launcher;
  EXPECT_EQ(launcher.Open(folder / "missing", "", folder.path()), Result::FileNotFound);

  WriteReportingScript(folder / "tool", folder / "report");
  EXPECT_EQ(launcher.Open(folder / "tool", "", folder / "no/such/folder"), Result::FileNotFound);

  test::WriteFile(folder / "broken", "#!/no/such/interpreter\n");
  ::chmod((folder / "broken").c_str(), 0755);
  EXPECT_EQ(launcher.Open(folder / "broken", "", folder.path()), Result::FileNotFound);

  test::WriteFile(folder / "doc.txt", "x");
  const std::string saved_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (folder / "empty").c_str(), 1);
  const Result no_opener = launcher.Open(folder / "doc.txt", "", folder.path());
  ::setenv("PATH", saved_path.c_str(), 1);
  EXPECT_EQ(no_opener, Result::FileNotFound);
  EXPECT_FALSE(std::filesystem::exists(folder / "report"));
}

}  // namespace
}  // namespace vexlo
