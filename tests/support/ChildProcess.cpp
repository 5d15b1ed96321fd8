#include "ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstring>
#include <time.h>

extern char** environ;

namespace vexlo::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environment, int outputFd) {
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
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  if (outputFd >= 0) ::posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
    pid_ = -1;
  }
  ::posix_spawn_file_actions_destroy(&actions);
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

namespace vexlo::test {

std::optional<std::string> RunForOutput(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::map<std::string, std::string>& environment,
                                        std::chrono::milliseconds deadline) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  std::string output;
  std::optional<int> exit_code;
  {
    ChildProcess child(program, arguments, environment, fds[1]);
    ::close(fds[1]);
    if (!child.started()) {
      ::close(fds[0]);
      return std::nullopt;
    }
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0) output.append(buffer, got);
    exit_code = child.WaitForExit(deadline);
  }
  ::close(fds[0]);
  if (!exit_code) return std::nullopt;
  return output;
}

std::unique_ptr<ChildProcess> StartXvfb(const std::string& screen, std::string& display) {
  int fds[2];
  if (::pipe(fds) != 0) return nullptr;
  auto server = std::make_unique<ChildProcess>(
      "/usr/bin/Xvfb",
      std::vector<std::string>{"-displayfd", "1", "-noreset", "-screen", "0", screen, "-nolisten",
                               "tcp"},
      std::map<std::string, std::string>{}, fds[1]);
  ::close(fds[1]);
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (number.empty()) return nullptr;
  display = ":" + number;
  return server;
}

}  // namespace vexlo::test
