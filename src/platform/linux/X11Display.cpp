#include "platform/linux/X11Display.h"

#include <X11/Xlib.h>

namespace vexlo {

void CloseX11Display::operator()(_XDisplay* display) const {
  XCloseDisplay(display);
}

X11Display OpenX11Display() {
  return X11Display(XOpenDisplay(nullptr));
}

}  // namespace vexlo
