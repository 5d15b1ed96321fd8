#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/linux/UniqueFd.h"
#include "platform/ports/ForegroundProcess.h"

struct xcb_connection_t;

namespace vexlo {

// The foreground program of an X11 session, XWayland's windows included: the window that the
// window manager names in the root window's _NET_ACTIVE_WINDOW, the process in its _NET_WM_PID,
// and that process's /proc/PID/exe. A window of another host (WM_CLIENT_MACHINE) or without a
// process number gives no program.
//
// A worker follows the root window's property changes, so the answer is ready when asked and
// watchers hear of a change as it happens. Paths compare as Linux compares them: byte for byte,
// a linked path that is a symbolic link standing for the file it leads to.
//
// The foreground is known while a window manager names the active window: the root window has
// _NET_ACTIVE_WINDOW, or lists it in _NET_SUPPORTED. Without one (an X server without a window
// manager, a Wayland session's XWayland that is told nothing of the windows in front) the answer
// is "unknown".
class X11ForegroundProcess final : public ForegroundProcess {
 public:
  // Connects to the X server that $DISPLAY names; none without one.
  static std::unique_ptr<X11ForegroundProcess> Connect();
  ~X11ForegroundProcess() override;
  X11ForegroundProcess(const X11ForegroundProcess&) = delete;
  X11ForegroundProcess& operator=(const X11ForegroundProcess&) = delete;

  std::optional<std::string> ForegroundImagePath() override;
  void WatchChanges(std::function<void()> onChange) override;
  bool SameProgram(std::string_view linked, std::string_view foreground) const override;
  bool KnowsForeground() const override { return knows_.load(); }

 private:
  struct Atoms {
    std::uint32_t activeWindow = 0;
    std::uint32_t pid = 0;
    std::uint32_t clientMachine = 0;
    std::uint32_t supported = 0;
  };

  X11ForegroundProcess(xcb_connection_t* connection, std::uint32_t root, Atoms atoms,
                       UniqueFd wake);
  void Run(std::stop_token stop);
  // Reads the active window's program; called by the worker only.
  std::optional<std::string> QueryForeground();
  // Whether a window manager names the active window; called by the worker only.
  bool QueryKnowsForeground();

  xcb_connection_t* connection_;  // owned; used by the worker only, once it runs
  const std::uint32_t root_;
  const Atoms atoms_;
  const std::string host_;
  UniqueFd wake_;  // eventfd that ends the worker's wait
  std::atomic<bool> knows_{false};

  std::mutex mutex_;  // guards path_
  std::optional<std::string> path_;
  std::mutex watch_mutex_;  // held across each call of on_change_
  std::function<void()> on_change_;
  std::jthread worker_;  // last: stopped and joined first
};

}  // namespace vexlo
