#include "ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <time.h>

extern char** environ;

namespace vexlo::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environment) {
  std::map<std::string, std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (equals) merged[std::string(*entry, static_cast<std::size_t>(equals - *entry))] = equals + 1;
  }
  for (const auto& [name, value] : environment) merged[name] = value;
  std::vector<std::string> env_strings;
  for (const auto& [name, value] : merged) env_strings.push_back(name + "=" + value);

  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : env_strings) envp.push_back(entry.data());
  envp.push_back(nullptr);
  if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
    pid_ = -1;
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !exit_code_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds deadline) {
  if (exit_code_ || pid_ <= 0) return exit_code_;
  WaitUntil(
      [&] {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
      },
      deadline);
  return exit_code_;
}

}  // namespace vexlo::test
