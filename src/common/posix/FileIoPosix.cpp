#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <string>

#include "common/FileIo.h"

namespace vexlo {
namespace {

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

std::string TemporaryNameFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  return path.string() + "." + std::to_string(::getpid()) + "." +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

void SyncFolder(const std::filesystem::path& folder) {
  // Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
  Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)::fsync(dir.get());
}

}  // namespace

void FailNextReplaceForTesting(ReplaceStep step, int error) {
  g_fault = InjectedFault{step, error};
  g_fault_armed.store(true, std::memory_order_release);
}

Result ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
  bytes.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return ResultFromErrno(errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return ResultFromErrno(errno);
  if (S_ISDIR(info.st_mode)) return Result::AccessDenied;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno);
    }
    if (n == 0) return Result::Ok;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

Result ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
  const std::string temporary = TemporaryNameFor(path);
  mode_t mode = 0644;
  if (struct stat existing {}; ::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  int error = TakeFault(ReplaceStep::Create);
  Fd fd(error ? -1 : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (fd.get() < 0) return ResultFromErrno(error ? error : errno);

  error = TakeFault(ReplaceStep::Write);
  if (!error) error = WriteAll(fd.get(), bytes);
  if (!error) error = TakeFault(ReplaceStep::Sync);
  if (!error && ::fsync(fd.get()) != 0) error = errno;
  if (const int closed = fd.Close(); !error) error = closed;
  if (!error) error = TakeFault(ReplaceStep::Rename);
  if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temporary.c_str());
    return ResultFromErrno(error);
  }
  SyncFolder(path.parent_path());
  return Result::Ok;
}

}  // namespace vexlo
