#include "platform/linux/LinuxProcessLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/linux/UniqueFd.h"

extern char** environ;

namespace vexlo {
namespace {

bool IsProgramFile(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(file.c_str(), X_OK) == 0;
}

// The full path of a program found on PATH; empty when there is none.
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (IsProgramFile(candidate)) return candidate;
  }
  return {};
}

}  // namespace

Result LinuxProcessLauncher::Open(const std::string& file, const std::string& parameter,
                                  const std::string& workingFolder) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return ResultFromErrno(errno);

  std::vector<std::string> arguments;
  if (IsProgramFile(file)) {
    arguments = {file};
    if (!parameter.empty()) arguments.push_back(parameter);
  } else {
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) return Result::FileNotFound;
    arguments = {opener, file};
  }
  std::uint32_t processId = 0;
  return Start(std::move(arguments), workingFolder, processId);
}

Result LinuxProcessLauncher::StartCompanion(const std::string& program,
                                            const std::string& parameter,
                                            const std::string& workingFolder,
                                            std::uint32_t& processId) {
  processId = 0;
  if (!IsProgramFile(program)) return Result::FileNotFound;
  std::vector<std::string> arguments = {program};
  if (!parameter.empty()) arguments.push_back(parameter);
  return Start(std::move(arguments), workingFolder, processId);
}

Result LinuxProcessLauncher::Start(std::vector<std::string> arguments,
                                   const std::string& workingFolder, std::uint32_t& processId) {
  processId = 0;
  // Everything the child needs is prepared before fork: after it only exec-safe calls are made.
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return ResultFromErrno(errno);
  UniqueFd report_read(pipe_fds[0]);
  UniqueFd report_write(pipe_fds[1]);

  // The pipe carries the started process's id, then, only when it could not run, an error.
  struct Report {
    pid_t process;
    int error;
  };
  const pid_t child = ::fork();
  if (child < 0) return ResultFromErrno(errno);
  if (child == 0) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
      const Report failed{0, errno};
      (void)!::write(report_write.get(), &failed, sizeof failed);
    }
    if (grandchild != 0) ::_exit(0);  // the grandchild is adopted by init and reaped there
    const pid_t self = ::getpid();
    (void)!::write(report_write.get(), &self, sizeof self);
    if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) {
      const int error = errno;
      (void)!::write(report_write.get(), &error, sizeof error);
      ::_exit(127);
    }
    ::execve(argv[0], argv.data(), environ);
    const int error = errno;
    (void)!::write(report_write.get(), &error, sizeof error);
    ::_exit(127);
  }
  report_write.Reset();
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  Report report{0, 0};
  std::size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(&report);
  while (got < sizeof report) {
    const ssize_t n = ::read(report_read.get(), bytes + got, sizeof report - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < sizeof report.process || report.process <= 0) {
    // No process was started: the second fork failed, or the first child died before it.
    return report.error != 0 ? ResultFromErrno(report.error) : Result::GeneralFailure;
  }
  if (got == sizeof report) return ResultFromErrno(report.error);
  processId = static_cast<std::uint32_t>(report.process);
  return Result::Ok;
}

}  // namespace vexlo
