#include "profiles/ProfileStore.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/NameRules.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

constexpr int kMaxNameCandidates = 999;
// Room for the three digits of the widest counter in a 259-unit name.
constexpr std::size_t kNameStemUnits = 256;
// A path, its ".ini" included, stays within 259 units when the folder and the name together take
// at most this many.
constexpr std::size_t kFolderAndNameUnits = 255;
constexpr std::string_view kExtension = ".ini";

// Whether anything has the name; none when the folder cannot be looked into, and `error` says why.
std::optional<bool> PathExists(const std::filesystem::path& path, std::error_code& error) {
  const auto type = std::filesystem::symlink_status(path, error).type();
  if (type == std::filesystem::file_type::not_found) {
    error.clear();
    return false;
  }
  if (error) return std::nullopt;
  return true;
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Whether both paths name one file, as a change of letter case does where names ignore it.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

bool IsProfileFile(const std::filesystem::path& path) {
  return ReadIniUnsigned("Setting", "nFlag", 0, path) == kProfileMarker;
}

}  // namespace

ProfileStore::ProfileStore(const std::string& dataFolder, const LanguageTable& language,
                           UserMessages& messages)
    : folder_(PrepareDataSubfolder(dataFolder, kProfileFolderName)),
      language_(language),
      messages_(messages) {
  FillDefaults(data_);
  if (folder_.empty()) return;
  std::error_code error;  // a folder that cannot be read lists nothing
  std::scoped_lock lock(list_mutex_);
  for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == kExtension && IsProfileFile(path)) list_.push_back(path.string());
  }
  std::sort(list_.begin(), list_.end(), LessByUtf16Units);
}

std::vector<std::string> ProfileStore::List() const {
  std::scoped_lock lock(list_mutex_);
  return list_;
}

void ProfileStore::VisitList(
    const std::function<void(const std::vector<std::string>&)>& visit) const {
  std::scoped_lock lock(list_mutex_);
  visit(list_);
}

Result ProfileStore::NewProfile() {
  ProfileData defaults;
  FillDefaults(defaults);
  return CreateProfile(
      NamePattern::ForNew(language_.LookupText("INFO_PRPFILE_PREFIX"), kNameStemUnits), defaults);
}

Result ProfileStore::CopyProfile() {
  return CreateProfile(
      NamePattern::ForCopy(DisplayName(current_path_), language_.LookupText("INFO_PRPFILE_CLONE"),
                           kNameStemUnits),
      data_);
}

Result ProfileStore::CreateProfile(const NamePattern& pattern, const ProfileData& contents) {
  if (folder_.empty()) return Result::PathNotFound;
  std::error_code unknowable;
  const auto name = pattern.FirstFree(kMaxNameCandidates, [&](const std::string& candidate) {
    // A name that cannot be checked ends the search, and the error is the answer below.
    return PathExists(folder_ + candidate + std::string(kExtension), unknowable).value_or(false);
  });
  if (unknowable) return ResultFromErrno(unknowable.value());
  if (!name) {
    messages_.ShowPlainMessage("Too many profiles!");
    return Result::Full;
  }
  const std::string path = folder_ + *name + std::string(kExtension);
  if (const Result r = WriteProfile(path, contents); r != Result::Ok) return r;
  data_ = contents;
  current_path_ = path;
  UpdateList({}, path);
  return Result::Ok;
}

Result ProfileStore::EnsureCurrentProfile() {
  std::optional<std::string> listed;
  VisitList([&](const std::vector<std::string>& list) {
    const auto at = std::find_if(list.begin(), list.end(), [this](const std::string& entry) {
      return EqualsNoCase(entry, current_path_);
    });
    if (at != list.end() && IsRegularFile(*at)) listed = *at;
  });
  if (listed) {
    current_path_ = *listed;  // the list's own spelling
    return Result::Ok;
  }
  return SettleOnReadable({});
}

Result ProfileStore::SettleOnReadable(std::string_view from) {
  std::vector<std::string> list = List();
  const auto at = std::find_if(list.begin(), list.end(), [from](const std::string& entry) {
    return EqualsNoCase(entry, from);
  });
  if (at != list.end()) std::rotate(list.begin(), at, list.end());
  for (const std::string& path : list) {
    ProfileData read = data_;  // keeps the double-click time, as a selection does
    if (ReadProfile(path, read) == Result::Ok) {
      data_ = std::move(read);
      current_path_ = path;
      return Result::Ok;
    }
  }
  const Result made = NewProfile();
  if (made != Result::Ok) current_path_.clear();
  return made;
}

Result ProfileStore::SelectProfile(const std::string& path) {
  if (EqualsNoCase(path, current_path_)) return Result::Ok;
  ProfileData read = data_;
  if (const Result r = ReadProfile(path, read); r != Result::Ok) return r;
  data_ = std::move(read);
  current_path_ = path;
  return Result::Ok;
}

Result ProfileStore::DeleteProfile(bool reload) {
  {
    std::scoped_lock lock(list_mutex_);
    if (list_.size() <= 1) return Result::TooShort;
    const auto at = std::find_if(list_.begin(), list_.end(), [this](const std::string& entry) {
      return EqualsNoCase(entry, current_path_);
    });
    if (at == list_.end()) {
      current_path_ = list_.front();
    } else {
      std::error_code error;
      std::filesystem::remove(*at, error);  // a file that is already gone is no error
      if (error) return ResultFromErrno(error.value());
      const auto index = static_cast<std::size_t>(at - list_.begin());
      list_.erase(at);
      current_path_ = index < list_.size() ? list_[index] : list_.back();
    }
  }
  return reload ? SettleOnReadable(current_path_) : Result::Ok;
}

Result ProfileStore::RenameProfile(std::string_view newName) {
  std::string target;
  if (const Result r = PathForUserName(newName, target); r != Result::Ok) return r;
  if (target == current_path_) return Result::Ok;
  const std::string name = DisplayName(target);
  std::optional<std::string> listed_current;
  std::optional<std::string> other;
  VisitList([&](const std::vector<std::string>& list) {
    for (const std::string& entry : list) {
      if (EqualsNoCase(entry, current_path_)) {
        listed_current = entry;
      } else if (!other && EqualsNoCase(DisplayName(entry), name)) {
        other = entry;
      }
    }
  });
  if (other) {
    if (const Result r = ConfirmNameConflict(messages_); r != Result::Ok) return r;
    target = *other;
  } else if (!listed_current) {
    return Result::NothingCurrent;
  }
  // The new file is written first: a failure (a full disk) leaves everything as it was.
  if (const Result r = WriteProfile(target, data_); r != Result::Ok) return r;
  std::string removed;
  if (listed_current && !SameFile(*listed_current, target)) {
    // Should the old file stay, it stays listed too: the list shows what is on the disk.
    std::error_code error;
    if (std::filesystem::remove(*listed_current, error) || !error) removed = *listed_current;
  }
  UpdateList(removed, target);
  current_path_ = target;
  return Result::Ok;
}

Result ProfileStore::ImportProfile(const std::string& source) {
  ProfileData imported = data_;
  if (const Result r = ReadProfile(source, imported); r != Result::Ok) return r;
  std::string target;
  if (const Result r = PathForUserName(NameFromPath(source), target); r != Result::Ok) return r;
  bool listed = false;
  VisitList([&](const std::vector<std::string>& list) {
    const auto at = std::find_if(list.begin(), list.end(), [&target](const std::string& e) {
      return EqualsNoCase(e, target);
    });
    listed = at != list.end();
    if (listed) target = *at;  // overwritten under its own spelling
  });
  if (listed) {
    if (const Result r = ConfirmNameConflict(messages_); r != Result::Ok) return r;
  }
  if (const Result r = WriteProfile(target, imported); r != Result::Ok) return r;
  data_ = std::move(imported);
  current_path_ = target;
  UpdateList({}, target);
  return Result::Ok;
}

Result ProfileStore::ExportProfile(const std::string& destination) const {
  return WriteWholeProfile(destination, data_);
}

Result ProfileStore::SaveCurrentProfile() const {
  if (current_path_.empty()) return Result::NothingCurrent;
  return WriteProfile(current_path_, data_);
}

std::string ProfileStore::DisplayName(std::string_view path) {
  return NameFromPath(path);
}

Result ProfileStore::PathForUserName(std::string_view typed, std::string& path) const {
  std::string cleaned;
  if (const Result r = CleanUserName(typed, cleaned); r != Result::Ok) return r;
  if (folder_.empty()) return Result::PathNotFound;
  const std::size_t folder_units = Utf16Length(folder_);
  if (folder_units >= kFolderAndNameUnits) return Result::FilenameTooLong;
  path = folder_ + CutName(cleaned, kFolderAndNameUnits - folder_units) + std::string(kExtension);
  return Result::Ok;
}

void ProfileStore::UpdateList(const std::string& remove, const std::string& add) {
  std::scoped_lock lock(list_mutex_);
  if (!remove.empty()) std::erase(list_, remove);
  const bool listed = std::any_of(list_.begin(), list_.end(),
                                  [&add](const std::string& e) { return EqualsNoCase(e, add); });
  if (!add.empty() && !listed) list_.push_back(add);
  std::sort(list_.begin(), list_.end(), LessByUtf16Units);
}

}  // namespace vexlo
