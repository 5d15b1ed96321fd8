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
  std::string display;
  server_ = StartXvfb("640x480x24", display);
  if (!server_) return;
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
