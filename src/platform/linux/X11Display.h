#pragma once

#include <memory>

// A connection to an X server, closed by its owner; Xlib's header stays in the files that use it.
struct _XDisplay;

namespace vexlo {

struct CloseX11Display {
  void operator()(_XDisplay* display) const;
};
using X11Display = std::unique_ptr<_XDisplay, CloseX11Display>;

// Connects to the server that $DISPLAY names; none without one. Safe for one thread at a time.
X11Display OpenX11Display();

}  // namespace vexlo
