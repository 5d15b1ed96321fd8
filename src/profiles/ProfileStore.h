#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "profiles/ProfileData.h"

namespace vexlo {

class LanguageTable;
class UserMessages;

// The user's profiles: the files "*.ini" in the profile folder that carry the profile marker,
// sorted by UTF-16 code units, the current profile's path and its contents.
class ProfileStore {
 public:
  // Fills the profile with defaults, creates the data folder and its "Profile" folder when
  // missing and lists the profile files. `dataFolder` ends with a separator. The texts and the
  // messages are used later, by the operations.
  ProfileStore(const std::string& dataFolder, const LanguageTable& language,
               UserMessages& messages);

  ProfileData& Data() { return data_; }
  const ProfileData& Data() const { return data_; }
  const std::string& CurrentPath() const { return current_path_; }
  // Start-up sets the path saved in the settings file; it is not checked against the list.
  void SetCurrentPath(std::string path) { current_path_ = std::move(path); }
  const std::string& Folder() const { return folder_; }

  // A copy of the list, taken under the lock.
  std::vector<std::string> List() const;

  // A profile with default contents under the first free name "<INFO_PRPFILE_PREFIX>001" to
  // "...999", made current and written. When all 999 names are taken the user is told "Too many
  // profiles!", nothing changes and the result is Full.
  [[nodiscard]] Result NewProfile();

  // Makes the path current and reads it; nothing happens when it is current already (compared
  // without regard to case). A file that cannot be read leaves the contents as they were.
  void SelectProfile(const std::string& path);

  // The file name without folder and extension.
  static std::string DisplayName(std::string_view path);

 private:
  void AddToList(const std::string& path);  // takes the lock

  std::string folder_;
  const LanguageTable& language_;
  UserMessages& messages_;
  std::string current_path_;
  ProfileData data_;
  mutable std::mutex list_mutex_;  // guards list_
  std::vector<std::string> list_;
};

}  // namespace vexlo
