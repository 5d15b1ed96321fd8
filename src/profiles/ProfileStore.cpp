#include "profiles/ProfileStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "platform/ports/UserMessages.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

constexpr int kMaxNameCandidates = 999;

bool PathExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

bool IsProfileFile(const std::filesystem::path& path) {
  return ReadIniUnsigned("Setting", "nFlag", 0, path) == kProfileMarker;
}

}  // namespace

ProfileStore::ProfileStore(const std::string& dataFolder, const LanguageTable& language,
                           UserMessages& messages)
    : folder_(dataFolder + "Profile" + std::filesystem::path::preferred_separator),
      language_(language),
      messages_(messages) {
  FillDefaults(data_);
  std::error_code error;
  std::filesystem::create_directories(folder_, error);  // a failure shows as an empty list
  std::scoped_lock lock(list_mutex_);
  for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == ".ini" && IsProfileFile(path)) list_.push_back(path.string());
  }
  std::sort(list_.begin(), list_.end(), LessByUtf16Units);
}

std::vector<std::string> ProfileStore::List() const {
  std::scoped_lock lock(list_mutex_);
  return list_;
}

void ProfileStore::AddToList(const std::string& path) {
  std::scoped_lock lock(list_mutex_);
  list_.push_back(path);
  std::sort(list_.begin(), list_.end(), LessByUtf16Units);
}

Result ProfileStore::NewProfile() {
  // 256 leaves room for the three digits of the widest counter in a 259-unit name.
  const std::string prefix = TruncateUtf16(language_.LookupText("INFO_PRPFILE_PREFIX"), 256);
  for (int i = 1; i <= kMaxNameCandidates; ++i) {
    char counter[8];
    std::snprintf(counter, sizeof counter, "%03d", i);
    const std::string path = folder_ + prefix + counter + ".ini";
    if (PathExists(path)) continue;
    current_path_ = path;
    AddToList(path);
    FillDefaults(data_);
    return WriteProfile(current_path_, data_);
  }
  messages_.ShowPlainMessage("Too many profiles!");
  return Result::Full;
}

void ProfileStore::SelectProfile(const std::string& path) {
  if (EqualsNoCase(path, current_path_)) return;
  current_path_ = path;
  // A file that cannot be read leaves the contents as they were; the caller applies them anyway.
  (void)ReadProfile(path, data_);
}

std::string ProfileStore::DisplayName(std::string_view path) {
  return std::filesystem::path(path).stem().string();
}

}  // namespace vexlo
