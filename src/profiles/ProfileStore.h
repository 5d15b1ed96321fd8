#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "profiles/ProfileData.h"

namespace vexlo {

class LanguageTable;
class NamePattern;
class UserMessages;

// The user's profiles: the files "*.ini" in the profile folder that carry the profile marker,
// sorted by UTF-16 code units, the current profile's path and its contents. A profile's name is
// its file name without folder and extension.
//
// Profile files are written before the list and the current profile change, so a failed write
// returns its result and changes nothing. Whatever name a user types or an imported file
// carries, the store writes only inside its profile folder.
//
// User-interface thread, except List() and VisitList(), which any thread may call.
class ProfileStore {
 public:
  // Fills the profile with defaults, creates the data folder and its "Profile" folder when
  // missing and lists the profile files. `dataFolder` ends with a separator; when it is empty
  // (the platform has no data folder) nothing is listed and nothing can be written. The texts and
  // the messages are used later, by the operations.
  ProfileStore(const std::string& dataFolder, const LanguageTable& language,
               UserMessages& messages);

  ProfileData& Data() { return data_; }
  const ProfileData& Data() const { return data_; }
  const std::string& CurrentPath() const { return current_path_; }
  // Start-up sets the path saved in the settings file; EnsureCurrentProfile checks it.
  void SetCurrentPath(std::string path) { current_path_ = std::move(path); }

  // Only a listed profile, whose file is still there, may be current: a current path that is
  // empty, names a file that has gone or lies outside the profile folder gives way to the first
  // listed profile that can be read (SettleOnReadable). Ok when a listed profile is current now,
  // else NewProfile's failure.
  [[nodiscard]] Result EnsureCurrentProfile();
  // Makes the first listed profile whose file can be read current and reads it, trying the list
  // in its order from `from` on and then the profiles before it (from the first when `from` is not
  // listed); when none can be read, a new profile with default contents (NewProfile). The
  // contents in memory never stay under another profile's path: when NewProfile fails too, its
  // failure is returned and no profile is current.
  [[nodiscard]] Result SettleOnReadable(std::string_view from);
  const std::string& Folder() const { return folder_; }

  // A copy of the list, taken under the lock.
  std::vector<std::string> List() const;
  // Calls `visit` with the list while holding the lock. Lock order: this lock first; the visitor
  // may take the foreground monitor's table lock, never the reverse.
  void VisitList(const std::function<void(const std::vector<std::string>&)>& visit) const;

  // A profile with default contents under the first free name "<INFO_PRPFILE_PREFIX>001" to
  // "...999" (a name is free when no file or folder of that name exists), made current and
  // written. When all 999 names are taken the user is told "Too many profiles!", nothing changes
  // and the result is Full. When the folder cannot be looked into (no permission), nothing changes
  // and the result is the reason (AccessDenied); the caller tells the user.
  [[nodiscard]] Result NewProfile();
  // The current contents under the first free name "<current name without copy
  // suffix><INFO_PRPFILE_CLONE>1" to "...999", made current and written; Full as above.
  [[nodiscard]] Result CopyProfile();

  // Makes the path current and reads it; nothing happens when it is current already (compared
  // without regard to case). NotAProfile when the file cannot be read (gone, damaged): the
  // current profile stays current with its contents, so that no later write puts them into
  // another profile's file.
  [[nodiscard]] Result SelectProfile(const std::string& path);

  // Deletes the current profile's file; the profile after it in the list becomes current (the
  // one before when it was the last), and with `reload` its contents are read, or, when they
  // cannot be, SettleOnReadable passes on from it. TooShort when at most one profile is listed;
  // the removal's failure when the file stays (nothing changes).
  [[nodiscard]] Result DeleteProfile(bool reload);

  // Gives the current profile the name a user typed (trimmed; cut so that the path stays within
  // 259 units): the file of the new name is written from memory, then the old file is removed;
  // when the write fails (a full disk) its result is returned and nothing has changed. When another profile
  // has that name (compared without regard to case) the user is asked first: on yes that
  // profile's file takes the current contents and becomes current, on no the result is
  // NameConflict and nothing changes. InvalidName for an empty name or one with
  // \ / : * ? " < > |; NothingCurrent when the current path is not listed; FilenameTooLong when
  // the folder leaves no room for a name.
  [[nodiscard]] Result RenameProfile(std::string_view newName);

  // Imports an exchange file as the profile named after it (trimmed, cut as for a rename), made
  // current. When a listed profile has that name the user is asked first (ConfirmNameConflict):
  // on yes it is overwritten, on no the result is NameConflict. NotAProfile when the source is
  // no profile file, InvalidName when its name is no valid name; nothing changes then. The
  // double-click time in memory is kept, as when a profile is selected.
  [[nodiscard]] Result ImportProfile(const std::string& source);

  // Writes the current contents to an exchange file, which can be imported again. A file that
  // is there already is replaced whole: nothing of what it held stays.
  [[nodiscard]] Result ExportProfile(const std::string& destination) const;
  // Writes the current contents to the current profile file. NothingCurrent without one.
  [[nodiscard]] Result SaveCurrentProfile() const;

  // The file name without folder and extension.
  static std::string DisplayName(std::string_view path);

 private:
  // The path of a profile named after what a user typed or a file carried (see RenameProfile).
  [[nodiscard]] Result PathForUserName(std::string_view typed, std::string& path) const;
  // Writes `contents` under the first free name of `pattern` and makes it current.
  [[nodiscard]] Result CreateProfile(const NamePattern& pattern, const ProfileData& contents);
  // Under the lock: removes the entry `remove` (when not empty) and adds `add` unless it is
  // listed, then sorts.
  void UpdateList(const std::string& remove, const std::string& add);

  std::string folder_;
  const LanguageTable& language_;
  UserMessages& messages_;
  std::string current_path_;
  ProfileData data_;
  // Guards list_. Lock order: before the foreground monitor's table lock.
  mutable std::mutex list_mutex_;
  std::vector<std::string> list_;
};

}  // namespace vexlo
