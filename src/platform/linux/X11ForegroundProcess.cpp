#include "platform/linux/X11ForegroundProcess.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "common/Text.h"

namespace vexlo {
namespace {

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

std::uint32_t InternAtom(xcb_connection_t* connection, std::string_view name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const std::uint32_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// The property's value, or none when the window or the property is gone; an error (the window
// vanished meanwhile) is answered by the reply, never by ending the program.
Reply GetProperty(xcb_connection_t* connection, std::uint32_t window, std::uint32_t property,
                  std::uint32_t type, std::uint32_t longs) {
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, property, type, 0, longs);
  Reply reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (reply && reply->type == XCB_ATOM_NONE) reply.reset();
  return reply;
}

std::optional<std::uint32_t> Cardinal(xcb_connection_t* connection, std::uint32_t window,
                                      std::uint32_t property, std::uint32_t type) {
  const Reply reply = GetProperty(connection, window, property, type, 1);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  std::memcpy(&value, xcb_get_property_value(reply.get()), sizeof value);
  return value;
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::optional<std::string> ProgramOfProcess(std::uint32_t pid) {
  std::error_code error;
  const std::filesystem::path program =
      std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  if (error || program.empty()) return std::nullopt;
  return TruncateToBuffer(program.string());
}

}  // namespace

std::unique_ptr<X11ForegroundProcess> X11ForegroundProcess::Connect() {
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen_number && screens.rem > 0; ++i) xcb_screen_next(&screens);
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (screens.rem == 0 || !wake.valid()) {
    xcb_disconnect(connection);
    return nullptr;
  }
  const std::uint32_t root = screens.data->root;
  const Atoms atoms{
      InternAtom(connection, "_NET_ACTIVE_WINDOW"), InternAtom(connection, "_NET_WM_PID"),
      InternAtom(connection, "WM_CLIENT_MACHINE"), InternAtom(connection, "_NET_SUPPORTED")};
  const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection);
  return std::unique_ptr<X11ForegroundProcess>(
      new X11ForegroundProcess(connection, root, atoms, std::move(wake)));
}

X11ForegroundProcess::X11ForegroundProcess(xcb_connection_t* connection, std::uint32_t root,
                                           Atoms atoms, UniqueFd wake)
    : connection_(connection),
      root_(root),
      atoms_(atoms),
      host_(HostName()),
      wake_(std::move(wake)) {
  path_ = QueryForeground();
  knows_ = QueryKnowsForeground();
  worker_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

X11ForegroundProcess::~X11ForegroundProcess() {
  worker_.request_stop();
  const std::uint64_t one = 1;
  // A write can fail only on a counter that is full, which wakes the worker as well.
  [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
  worker_.join();
  xcb_disconnect(connection_);
}

std::optional<std::string> X11ForegroundProcess::ForegroundImagePath() {
  std::scoped_lock lock(mutex_);
  return path_;
}

void X11ForegroundProcess::WatchChanges(std::function<void()> onChange) {
  std::scoped_lock lock(watch_mutex_);
  on_change_ = std::move(onChange);
}

bool X11ForegroundProcess::SameProgram(std::string_view linked, std::string_view foreground) const {
  if (linked == foreground) return true;
  // /proc gives the file a link leads to; a link in the profile stands for that file too.
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(linked, error);
  return !error && resolved.string() == foreground;
}

std::optional<std::string> X11ForegroundProcess::QueryForeground() {
  const std::optional<std::uint32_t> window =
      Cardinal(connection_, root_, atoms_.activeWindow, XCB_ATOM_WINDOW);
  if (!window || *window == XCB_WINDOW_NONE) return std::nullopt;
  if (const Reply machine =
          GetProperty(connection_, *window, atoms_.clientMachine, XCB_ATOM_STRING, 64)) {
    const std::string_view name(
        static_cast<const char*>(xcb_get_property_value(machine.get())),
        static_cast<std::size_t>(xcb_get_property_value_length(machine.get())));
    // A window shown here by a program running on another machine.
    if (name.substr(0, name.find('\0')) != host_) return std::nullopt;
  }
  const std::optional<std::uint32_t> pid =
      Cardinal(connection_, *window, atoms_.pid, XCB_ATOM_CARDINAL);
  if (!pid || *pid == 0) return std::nullopt;
  return ProgramOfProcess(*pid);
}

bool X11ForegroundProcess::QueryKnowsForeground() {
  if (GetProperty(connection_, root_, atoms_.activeWindow, XCB_ATOM_WINDOW, 1)) return true;
  // A few hundred atoms at most.
  const Reply supported = GetProperty(connection_, root_, atoms_.supported, XCB_ATOM_ATOM, 4096);
  if (!supported || supported->format != 32) return false;
  const auto* atoms = static_cast<const std::uint32_t*>(xcb_get_property_value(supported.get()));
  const auto count = static_cast<std::size_t>(xcb_get_property_value_length(supported.get())) / 4;
  return std::find(atoms, atoms + count, atoms_.activeWindow) != atoms + count;
}

void X11ForegroundProcess::Run(std::stop_token stop) {
  while (!stop.stop_requested() && !xcb_connection_has_error(connection_)) {
    bool changed = false;
    bool manager = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
        const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
        changed |= notify->window == root_ && notify->atom == atoms_.activeWindow;
        manager |= notify->window == root_ && notify->atom == atoms_.supported;
      }
      std::free(event);
    }
    if (manager) {
      knows_ = QueryKnowsForeground();
      if (!changed) continue;  // the query may have queued more events
    }
    if (changed) {
      knows_ = QueryKnowsForeground();
      std::optional<std::string> path = QueryForeground();
      {
        std::scoped_lock lock(mutex_);
        path_ = std::move(path);
      }
      std::scoped_lock lock(watch_mutex_);
      if (on_change_) on_change_();
      continue;  // the queries may have queued more events
    }
    pollfd fds[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
  }
  // The server is gone: no window is in front any more.
  std::scoped_lock lock(mutex_);
  path_.reset();
}

}  // namespace vexlo
