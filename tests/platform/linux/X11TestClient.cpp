#include "X11TestClient.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>

namespace vexlo::test {

X11TestClient::X11TestClient() : connection_(xcb_connect(nullptr, nullptr)) {
  if (connected()) screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
}

X11TestClient::~X11TestClient() {
  xcb_disconnect(connection_);
}

std::uint32_t X11TestClient::Atom(std::string_view name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection_,
      xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data()),
      nullptr);
  const std::uint32_t atom = reply != nullptr ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

std::uint32_t X11TestClient::MapWindow(std::optional<std::uint32_t> pid,
                                       std::optional<std::string_view> host) {
  const std::uint32_t window = xcb_generate_id(connection_);
  const std::uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                               XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root, 0, 0,
                    screen_->width_in_pixels, screen_->height_in_pixels, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, XCB_CW_EVENT_MASK,
                    &events);
  if (pid) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, Atom("_NET_WM_PID"),
                        XCB_ATOM_CARDINAL, 32, 1, &*pid);
  }
  if (host) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLIENT_MACHINE,
                        XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(host->size()), host->data());
  }
  xcb_map_window(connection_, window);
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  return window;
}

void X11TestClient::Activate(std::uint32_t window) {
  xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, screen_->root, Atom("_NET_ACTIVE_WINDOW"),
                      XCB_ATOM_WINDOW, 32, 1, &window);
  if (window != 0) {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
  }
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

std::optional<xcb_generic_event_t> X11TestClient::NextInputEvent() {
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      const xcb_generic_event_t copy = *event;
      std::free(event);
      switch (copy.response_type & 0x7F) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
          return copy;
        default:
          break;
      }
    }
    pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
    // Only reached when an event the test waits for never comes.
    if (::poll(&fd, 1, 5000) <= 0) return std::nullopt;
  }
}

}  // namespace vexlo::test
