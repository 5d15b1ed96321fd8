#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"

namespace vexlo::test {

// An Xvfb of the test's own, named by $DISPLAY while it runs (the previous value comes back
// after). started() is false when Xvfb is not installed or did not answer.
class PrivateXServer {
 public:
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  bool started() const { return !display_.empty(); }

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string display_;
  std::string previous_;
  bool had_previous_ = false;
};

}  // namespace vexlo::test
