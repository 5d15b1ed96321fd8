#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace vexlo::test {

// A client of the test's X server that plays programs and their window manager: maps windows
// with the properties programs set, and names the active one as a window manager would.
class X11TestClient {
 public:
  X11TestClient();
  ~X11TestClient();
  X11TestClient(const X11TestClient&) = delete;
  X11TestClient& operator=(const X11TestClient&) = delete;

  bool connected() const { return !xcb_connection_has_error(connection_); }
  xcb_connection_t* connection() const { return connection_; }

  // A mapped window over the whole screen, with _NET_WM_PID and WM_CLIENT_MACHINE when given,
  // taking key and button events.
  std::uint32_t MapWindow(std::optional<std::uint32_t> pid, std::optional<std::string_view> host);
  // Sets the root window's _NET_ACTIVE_WINDOW (0: none) and gives the window the input focus.
  void Activate(std::uint32_t window);
  // The next key or button event; none when none comes within a few seconds.
  std::optional<xcb_generic_event_t> NextInputEvent();

 private:
  std::uint32_t Atom(std::string_view name);

  xcb_connection_t* connection_;
  xcb_screen_t* screen_ = nullptr;
};

}  // namespace vexlo::test
