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
  // Everything the child needs is prepared before fork: after it only exec-safe calls are made.
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return ResultFromErrno(errno);
  UniqueFd report_read(pipe_fds[0]);
  UniqueFd report_write(pipe_fds[1]);

  const pid_t child = ::fork();
  if (child < 0) return ResultFromErrno(errno);
  if (child == 0) {
    ::setsid();
    const auto fail = [&report_write] {
      const int error = errno;
      (void)!::write(report_write.get(), &error, sizeof error);
      ::_exit(127);
    };
    const pid_t grandchild = ::fork();
    if (grandchild < 0) fail();
    if (grandchild > 0) ::_exit(0);  // the grandchild is adopted by init and reaped there
    if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) fail();
    ::execve(argv[0], argv.data(), environ);
    fail();
  }
  report_write.Reset();
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = ::read(report_read.get(), &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof error) ? ResultFromErrno(error) : Result::Ok;
}

}  // namespace vexlo
