#include "platform/linux/RuntimeFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"

namespace vexlo {
namespace {

// The folder of the program's locks and sockets is used only when nobody else can reach into it.
TEST(RuntimeFolderTest, OnlyAPrivateFolderOfTheUserIsUsed) {
  test::TempFolder root;
  const std::string fresh = root / "fresh/";
  EXPECT_TRUE(IsPrivateFolder(fresh));  // created, mode 0700
  struct stat info {};
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  const std::string open = root / "open/";
  std::filesystem::create_directory(open);
  ::chmod(open.c_str(), 0777);
  EXPECT_FALSE(IsPrivateFolder(open));

  const std::string link = root / "link/";
  std::filesystem::create_directory_symlink(fresh, root / "link");
  EXPECT_FALSE(IsPrivateFolder(link));

  test::WriteFile(root / "file", "");
  EXPECT_FALSE(IsPrivateFolder(root / "file/"));
}

TEST(RuntimeFolderTest, ARelativeRuntimeDirectoryIsNotTaken) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string kept = saved ? saved : "";
  test::TempFolder root;
  ::chmod(root.path().c_str(), 0700);
  // Without the final separator, as a session sets it.
  const std::string runtime = root.path().substr(0, root.path().size() - 1);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  EXPECT_EQ(RuntimeFolder(), root / "vexlo/");
  ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
  const std::string fallback = RuntimeFolder();
  if (saved) {
    ::setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }
  EXPECT_TRUE(fallback.empty() || fallback.starts_with("/tmp/vexlo-")) << fallback;
}

}  // namespace
}  // namespace vexlo
