#pragma once

#include <optional>
#include <string>

namespace vexlo {

// Which program the user is working with.
class ForegroundProcess {
 public:
  virtual ~ForegroundProcess() = default;

  // Full path of the program file of the process that owns the foreground window (at most 259
  // UTF-16 units); none when there is no foreground window or its process cannot be queried.
  // Never blocks for long; any thread.
  virtual std::optional<std::string> ForegroundImagePath() = 0;
};

}  // namespace vexlo
