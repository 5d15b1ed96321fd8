#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/Text.h"

namespace vexlo {

// Which program the user is working with.
class ForegroundProcess {
 public:
  virtual ~ForegroundProcess() = default;

  // Full path of the program file of the process that owns the foreground window (at most 259
  // UTF-16 units); none when there is no foreground window or its process cannot be queried.
  // Never blocks for long; any thread.
  virtual std::optional<std::string> ForegroundImagePath() = 0;

  // False when this desktop cannot tell the foreground program at all (a Wayland session offers
  // no X11 window to ask): the answer is then "unknown" rather than "no program". Any thread.
  virtual bool KnowsForeground() const { return true; }

  // Calls `onChange` (one watcher: it replaces the one before), on a thread of the backend's,
  // each time the foreground may have changed. An empty function stops the calls; once that call returns, none is under way. Backends that
  // cannot tell never call it, and their users keep asking. Not from inside `onChange`.
  virtual void WatchChanges(std::function<void()> onChange) { (void)onChange; }

  // Whether the program path `linked` names the program `foreground` (ForegroundImagePath), as
  // the platform compares file names: by default without regard to case, as on Windows.
  virtual bool SameProgram(std::string_view linked, std::string_view foreground) const {
    return EqualsNoCase(linked, foreground);
  }
};

}  // namespace vexlo
