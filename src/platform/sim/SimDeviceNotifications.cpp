#include "platform/sim/SimDeviceNotifications.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <thread>

#include "platform/linux/UniqueFd.h"
#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {
namespace {

void PostChange(MessageTarget& window, bool arrived) {
  // A window that has gone misses nothing it could act on.
  (void)window.Post(DeviceNotifications::kDeviceChangeMessage,
                    arrived ? DeviceNotifications::kArrival
                            : DeviceNotifications::kRemoveComplete,
                    DeviceNotifications::kHidInterface);
}

class EnvironmentRegistration final : public ReleaseOnDestroy {
 public:
  EnvironmentRegistration(std::shared_ptr<SimEnvironment> environment, MessageTarget& window)
      : environment_(std::move(environment)),
        id_(environment_->AddDeviceObserver(
            [&window](bool arrived) { PostChange(window, arrived); })) {}
  ~EnvironmentRegistration() override { environment_->RemoveDeviceObserver(id_); }

 private:
  std::shared_ptr<SimEnvironment> environment_;
  std::uint64_t id_;
};

// Follows vexlo-sim's runs on a thread of its own: waits for its socket to appear, watches the
// mouse while it runs, and tells the window of every change.
class SocketRegistration final : public ReleaseOnDestroy {
 public:
  SocketRegistration(std::string socketPath, MessageTarget& window, UniqueFd stop)
      : socketPath_(std::move(socketPath)),
        window_(window),
        stop_(std::move(stop)),
        thread_([this] { Run(); }) {}

  ~SocketRegistration() override {
    const std::uint64_t one = 1;
    (void)!::write(stop_.get(), &one, sizeof one);
    thread_.join();
  }

 private:
  void Run() {
    const std::filesystem::path socket(socketPath_);
    UniqueFd folderWatch(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    // A watch that cannot be added (the folder does not exist yet) would never wake: without
    // one, WaitForSocket looks again now and then.
    if (folderWatch.valid() && ::inotify_add_watch(folderWatch.get(), socket.parent_path().c_str(),
                                                   IN_CREATE | IN_MOVED_TO) < 0) {
      folderWatch.Reset();
    }
    for (;;) {
      UniqueFd connection;
      if (ConnectTo(socketPath_, connection) == Result::Ok) {
        if (!Watch(connection)) return;
        continue;  // vexlo-sim ended; it may be back already
      }
      if (!WaitForSocket(folderWatch.get())) return;
    }
  }

  // Watches a running vexlo-sim until it ends (true) or the registration goes (false).
  bool Watch(const UniqueFd& connection) {
    std::vector<std::uint8_t> request;
    AppendFrame(MakeFrame(SimFrameType::WatchDevices), request);
    if (SendAll(connection.get(), std::as_bytes(std::span(request))) != Result::Ok) return true;
    PostChange(window_, true);
    SimFrameReader reader;
    std::array<std::uint8_t, 512> chunk;
    for (;;) {
      std::array<pollfd, 2> waiting{{{connection.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}}};
      if (::poll(waiting.data(), waiting.size(), -1) < 0) {
        if (errno == EINTR) continue;
        return false;  // the thread's own descriptors are broken: it cannot watch on
      }
      if (waiting[1].revents) return false;
      const ssize_t got = ::recv(connection.get(), chunk.data(), chunk.size(), 0);
      if (got <= 0) {
        if (got < 0 && errno == EINTR) continue;
        PostChange(window_, false);  // vexlo-sim ended, and its mouse with it
        return true;
      }
      reader.Append(std::span(chunk.data(), static_cast<std::size_t>(got)));
      SimFrame frame;
      SimFrameReader::Status status;
      while ((status = reader.Next(frame)) == SimFrameReader::Status::Frame) {
        if (frame.Type() == SimFrameType::DevicesChanged) {
          PostChange(window_, frame.header.value != 0);
        }
      }
      if (status == SimFrameReader::Status::Bad) {
        PostChange(window_, false);
        return true;
      }
    }
  }

  // Waits until something is created in the folder (true) or the registration goes (false).
  bool WaitForSocket(int folderWatch) {
    std::array<pollfd, 2> waiting{{{folderWatch, POLLIN, 0}, {stop_.get(), POLLIN, 0}}};
    // Without a folder watch, look again now and then rather than never.
    const int timeout = folderWatch >= 0 ? -1 : 1000;
    if (::poll(waiting.data(), waiting.size(), timeout) < 0) return errno == EINTR;
    if (waiting[1].revents) return false;
    std::array<char, 4096> events;
    while (folderWatch >= 0 && ::read(folderWatch, events.data(), events.size()) > 0) {
    }
    return true;
  }

  std::string socketPath_;
  MessageTarget& window_;
  UniqueFd stop_;
  std::thread thread_;  // last: started after everything it uses
};

}  // namespace

SimEnvironmentNotifications::SimEnvironmentNotifications(
    std::shared_ptr<SimEnvironment> environment)
    : environment_(std::move(environment)) {}

Result SimEnvironmentNotifications::Register(MessageTarget& window,
                                             std::unique_ptr<ReleaseOnDestroy>& registration) {
  registration = std::make_unique<EnvironmentRegistration>(environment_, window);
  return Result::Ok;
}

SimSocketNotifications::SimSocketNotifications(std::string socketPath)
    : socketPath_(std::move(socketPath)) {}

Result SimSocketNotifications::Register(MessageTarget& window,
                                        std::unique_ptr<ReleaseOnDestroy>& registration) {
  UniqueFd stop(::eventfd(0, EFD_CLOEXEC));
  if (!stop.valid()) return ResultFromErrno(errno);
  registration = std::make_unique<SocketRegistration>(socketPath_, window, std::move(stop));
  return Result::Ok;
}

}  // namespace vexlo
