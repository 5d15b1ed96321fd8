#include "PrivateXServer.h"

#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace vexlo::test {
namespace {

bool Answers(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool answers = !xcb_connection_has_error(connection);
  xcb_disconnect(connection);
  return answers;
}

}  // namespace

PrivateXServer::PrivateXServer() {
  if (!std::filesystem::exists("/usr/bin/Xvfb")) return;
  int fds[2];
  if (::pipe(fds) != 0) return;
  server_ = std::make_unique<ChildProcess>(
      "/usr/bin/Xvfb",
      std::vector<std::string>{"-displayfd", "1", "-noreset", "-screen", "0", "640x480x24",
                               "-nolisten", "tcp"},
      std::map<std::string, std::string>{}, fds[1]);
  ::close(fds[1]);
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (number.empty()) return;
  const std::string display = ":" + number;
  if (!WaitUntil([&] { return Answers(display); }, std::chrono::seconds(15))) return;
  if (const char* previous = std::getenv("DISPLAY")) {
    had_previous_ = true;
    previous_ = previous;
  }
  ::setenv("DISPLAY", display.c_str(), 1);
  display_ = display;
}

PrivateXServer::~PrivateXServer() {
  if (!started()) return;
  if (had_previous_) {
    ::setenv("DISPLAY", previous_.c_str(), 1);
  } else {
    ::unsetenv("DISPLAY");
  }
}

}  // namespace vexlo::test
