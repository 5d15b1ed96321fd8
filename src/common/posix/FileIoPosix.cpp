#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/FileIo.h"

namespace vexlo {
namespace {

// Temporary files are this prefix and six characters that mkstemp chooses, so that a folder full
// of long names still has room for them and start-up recognises the ones a crash left.
constexpr std::string_view kTemporaryPrefix = ".vexlo-";
constexpr std::string_view kTemporaryPattern = "XXXXXX";
// As the kernel counts links on one path.
constexpr int kMaxLinkHops = 40;

struct InjectedFault {
  ReplaceStep step;
  int error;
};

std::atomic<bool> g_fault_armed{false};
InjectedFault g_fault{ReplaceStep::Create, 0};

// Returns the errno to fail with when a fault is armed for `step`, disarming it.
int TakeFault(ReplaceStep step) {
  if (!g_fault_armed.load(std::memory_order_acquire) || g_fault.step != step) return 0;
  g_fault_armed.store(false, std::memory_order_release);
  return g_fault.error;
}

// Owns one file descriptor.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports the result, which for a written file can carry a late write error.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Ok for a regular file; the refusal of ReadFileBytes for anything else.
Result RegularFileOnly(mode_t mode) {
  if (S_ISREG(mode)) return Result::Ok;
  return S_ISDIR(mode) ? Result::AccessDenied : Result::BadFileType;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// The file that writing to `path` changes: `path` itself, or the final target of the symbolic
// links it names (which need not exist yet).
Result FinalTarget(const std::filesystem::path& path, std::filesystem::path& target) {
  target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
      return errno == ENOENT ? Result::Ok : ResultFromErrno(errno);
    }
    if (!S_ISLNK(info.st_mode)) return Result::Ok;
    std::vector<char> link(static_cast<std::size_t>(info.st_size) + 2);
    const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
    if (length < 0) return ResultFromErrno(errno);
    if (static_cast<std::size_t>(length) >= link.size()) return Result::CantResolveFilename;
    const std::filesystem::path next(std::string(link.data(), static_cast<std::size_t>(length)));
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return Result::CantResolveFilename;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Creates and locks a new temporary file in `folder`. The lock tells RemoveStaleTemporaryFiles
// that the file is in use; a file that start-up removed between its creation and the lock is
// given up and another one made.
// A file system without locks gets an unlocked file.
int CreateTemporary(const std::filesystem::path& folder, std::string& name) {
  for (;;) {
    name = (folder / kTemporaryPrefix).string() + std::string(kTemporaryPattern);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &info) != 0 || info.st_nlink > 0) return fd;
    ::close(fd);
  }
}

void SyncFolder(const std::filesystem::path& folder) {
  // Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)::fsync(dir.get());
}

bool IsTemporaryName(std::string_view name) {
  return name.size() == kTemporaryPrefix.size() + kTemporaryPattern.size() &&
         name.starts_with(kTemporaryPrefix);
}

}  // namespace

void FailNextReplaceForTesting(ReplaceStep step, int error) {
  g_fault = InjectedFault{step, error};
  g_fault_armed.store(true, std::memory_order_release);
}

Result ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::size_t limit) {
  bytes.clear();
  // Looked at before it is opened, so that no FIFO or device is ever opened; looked at again once
  // open, in case it was replaced in between.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return ResultFromErrno(errno);
  if (const Result r = RegularFileOnly(info.st_mode); r != Result::Ok) return r;
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return ResultFromErrno(errno);
  if (::fstat(fd.get(), &info) != 0) return ResultFromErrno(errno);
  if (const Result r = RegularFileOnly(info.st_mode); r != Result::Ok) return r;
  if (static_cast<std::uintmax_t>(info.st_size) > limit) return Result::FileTooLarge;
  // The size said is only a hint: a file may grow while it is read.
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return ResultFromErrno(errno);
    }
    if (n == 0) return Result::Ok;
    if (bytes.size() + static_cast<std::size_t>(n) > limit) {
      bytes.clear();
      return Result::FileTooLarge;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

Result ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path target;
  if (const Result r = FinalTarget(path, target); r != Result::Ok) return r;
  mode_t mode = 0600;
  if (struct stat existing {}; ::stat(target.c_str(), &existing) == 0) {
    if (const Result r = RegularFileOnly(existing.st_mode); r != Result::Ok) return r;
    mode = existing.st_mode & 07777;
  }
  const std::filesystem::path folder = FolderOf(target);

  std::string temporary;
  int error = TakeFault(ReplaceStep::Create);
  Fd fd(error ? -1 : CreateTemporary(folder, temporary));
  if (fd.get() < 0) return ResultFromErrno(error ? error : errno);

  error = TakeFault(ReplaceStep::Write);
  if (!error && ::fchmod(fd.get(), mode) != 0) error = errno;
  if (!error) error = WriteAll(fd.get(), bytes);
  if (!error) error = TakeFault(ReplaceStep::Sync);
  if (!error && ::fsync(fd.get()) != 0) error = errno;
  if (!error) error = TakeFault(ReplaceStep::Rename);
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temporary.c_str());
    return ResultFromErrno(error);
  }
  // Closed only now, as the lock marks the temporary file in use until it has its final name;
  // the flush has reported every write error there was.
  (void)fd.Close();
  SyncFolder(folder);
  return Result::Ok;
}

Result CreatePrivateFolders(const std::filesystem::path& folder) {
  std::filesystem::path partial;
  for (const std::filesystem::path& part : folder) {
    partial /= part;
    if (part.empty() || part == partial.root_path()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return ResultFromErrno(errno);
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return ResultFromErrno(errno);
  return S_ISDIR(info.st_mode) ? Result::Ok : Result::PathNotFound;
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (!IsTemporaryName(name)) continue;
    Fd fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) continue;
    // A writer that is alive holds the lock until its file has its final name.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
    struct stat named {};
    if (::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == opened.st_ino && named.st_dev == opened.st_dev) {
      ::unlinkat(dirFd, entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace vexlo
