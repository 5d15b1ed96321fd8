#pragma once

#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

#include "ChildProcess.h"

namespace vexlo::test {

// Whether a program is installed in one of the usual folders.
inline bool OnPath(const std::string& program) {
  for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"}) {
    if (::access((std::string(folder) + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// An X server of the test's own (Xvfb, 1280 x 800, no network), ended when the object goes.
class PrivateDisplay {
 public:
  // Starts the server and waits until it answers (xwininfo, of the package x11-utils); false when
  // it does not.
  bool Start() {
    using namespace std::chrono_literals;
    int fds[2];
    if (::pipe(fds) != 0) return false;
    server_ = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb",
        std::vector<std::string>{"-displayfd", "1", "-noreset", "-screen", "0", "1280x800x24",
                                 "-nolisten", "tcp"},
        std::map<std::string, std::string>{}, fds[1]);
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (number.empty()) return false;
    name_ = ":" + number;
    // The number comes as soon as the server has its display; wait until it answers too.
    return WaitUntil(
        [&] {
          return RunForOutput("/usr/bin/xwininfo", {"-root", "-display", name_}, {}, 10s)
                     .value_or("")
                     .find("Map State") != std::string::npos;
        },
        15s);
  }

  bool Running() const { return server_ != nullptr; }
  // The value of DISPLAY for its clients.
  const std::string& Name() const { return name_; }

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string name_;
};

}  // namespace vexlo::test
