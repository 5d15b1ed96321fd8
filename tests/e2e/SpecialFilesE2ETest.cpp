#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using namespace std::chrono_literals;

// What lies in the data folder where the program expects one of its files.
struct SpecialFile {
  const char* name;
  const char* path;  // in the data folder
  void (*make)(const std::string& path);
};

void MakeFifo(const std::string& path) {
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
}
void LinkToZero(const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); }
void MakeHuge(const std::string& path) {
  test::WriteFile(path, "[Setting]\nnFlag=20211124\n");
  ASSERT_EQ(::truncate(path.c_str(), 100 << 20), 0);
}
void MakeFolder(const std::string& path) { ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); }
void MakeUnreadable(const std::string& path) {
  test::WriteFile(path, "[Setting]\nnFlag=20211124\n");
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
}
void LinkToItself(const std::string& path) { ASSERT_EQ(::symlink(path.c_str(), path.c_str()), 0); }

// Every regular file of the data folder and its store folders with its contents, and the type of
// everything else (links are not followed).
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename() == "Profile" || entry.path().filename() == "Macro") {
      for (const auto& [name, contents] : Snapshot(entry.path())) {
        files[entry.path().filename().string() + "/" + name] = contents;
      }
      continue;
    }
    const std::string relative = entry.path().filename().string();
    struct stat info {};
    EXPECT_EQ(::lstat(entry.path().c_str(), &info), 0);
    files[relative] = S_ISREG(info.st_mode) && info.st_size < 4096
                          ? test::ReadFile(entry.path())
                          : "mode " + std::to_string(info.st_mode & S_IFMT) + " size " +
                                std::to_string(S_ISREG(info.st_mode) ? info.st_size : 0);
  }
  return files;
}

class SpecialFilesE2ETest : public testing::TestWithParam<SpecialFile> {
 protected:
  test::TempFolder root;
  const std::string data = root / "config/Halvec QXA7702 Gaming Mouse/";
  const std::map<std::string, std::string> environment{{"XDG_CONFIG_HOME", root / "config"},
                                                       {"XDG_RUNTIME_DIR", root / "run"},
                                                       {"QT_QPA_PLATFORM", "offscreen"}};
};

TEST_P(SpecialFilesE2ETest, StartUpEndsAndLeavesEveryFileAsItWas) {
  std::filesystem::create_directories(data + "Profile");
  std::filesystem::create_directories(data + "Macro");
  std::filesystem::create_directories(root / "run");
  test::WriteFile(data + "Setting.ini", "[Setting]\nstrProfilePath=" + data +
                                                "Profile/Desk.ini\nnMacroIndex=1\n");
  test::WriteFile(data + "Profile/Desk.ini", "[Setting]\npwDpi0=3000\nnFlag=20211124\n");
  test::WriteFile(data + "Macro/Macro001.ini", "[Setting]\nbyFlag=85\nszName=Kept\n");
  GetParam().make(data + GetParam().path);
  const auto before = Snapshot(data);

  test::ChildProcess program(std::string(VEXLO_BINARY_DIR) + "/vexlo", {"/sys_bits"}, environment);
  // A program that waits on the file never ends; one that reads it whole aborts.
  EXPECT_EQ(program.WaitForExit(20s), 64);
  const auto after = Snapshot(data);
  for (const auto& [file, contents] : before) {
    ASSERT_TRUE(after.contains(file)) << file;
    EXPECT_EQ(after.at(file), contents) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialFilesE2ETest,
    testing::Values(SpecialFile{"FifoMacroSlot", "Macro/Macro003.ini", MakeFifo},
                    SpecialFile{"FifoProfile", "Profile/Pipe.ini", MakeFifo},
                    SpecialFile{"FifoSettings", "Setting.ini", MakeFifo},
                    SpecialFile{"ZeroDeviceMacroSlot", "Macro/Macro000.ini", LinkToZero},
                    SpecialFile{"ZeroDeviceProfile", "Profile/Zero.ini", LinkToZero},
                    SpecialFile{"HugeProfile", "Profile/Huge.ini", MakeHuge},
                    SpecialFile{"HugeMacroSlot", "Macro/Macro002.ini", MakeHuge},
                    SpecialFile{"FolderNamedLikeASlot", "Macro/Macro000.ini", MakeFolder},
                    SpecialFile{"FolderNamedLikeAProfile", "Profile/Profile001.ini", MakeFolder},
                    SpecialFile{"UnreadableProfile", "Profile/Locked.ini", MakeUnreadable},
                    SpecialFile{"LinkLoopProfile", "Profile/Loop.ini", LinkToItself},
                    SpecialFile{"LinkLoopMacroSlot", "Macro/Macro004.ini", LinkToItself}),
    [](const testing::TestParamInfo<SpecialFile>& kind) { return kind.param.name; });

}  // namespace
}  // namespace vexlo
