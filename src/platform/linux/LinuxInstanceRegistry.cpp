#include "platform/linux/LinuxInstanceRegistry.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "common/Text.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/UnixSocket.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kPacketMagic = 0x56584D31;  // "VXM1"
constexpr std::string_view kWindowPrefix = "window-";
constexpr std::string_view kDeletedSuffix = " (deleted)";

struct Packet {
  std::uint32_t magic;
  std::uint32_t message;
  std::uint32_t wParam;
  std::uint32_t lParam;
};
static_assert(sizeof(Packet) == 16);

class FileLock final : public ReleaseOnDestroy {
 public:
  explicit FileLock(UniqueFd fd) : fd_(std::move(fd)) {}

 private:
  UniqueFd fd_;  // closing it releases the lock
};

// Listens on the window's socket and hands each admitted packet to the window. One thread serves
// every connection without ever waiting on one: sockets are non-blocking, each connection has a
// short deadline for its one packet, and the oldest connection gives way when too many are open.
class WindowListener final : public ReleaseOnDestroy {
 public:
  static constexpr std::chrono::milliseconds kPacketDeadline{250};
  static constexpr std::size_t kMaxConnections = 32;

  WindowListener(std::string path, UniqueFd listener, UniqueFd wake, MessageAdmission admit,
                 MessageTarget& target)
      : path_(std::move(path)), listener_(std::move(listener)), wake_(std::move(wake)),
        admit_(std::move(admit)), target_(target),
        thread_([this](std::stop_token stop) { Run(stop); }) {}

  ~WindowListener() override {
    thread_.request_stop();
    const std::uint64_t one = 1;
    (void)!::write(wake_.get(), &one, sizeof one);
    thread_.join();
    ::unlink(path_.c_str());
  }

 private:
  using Clock = std::chrono::steady_clock;

  struct Connection {
    UniqueFd fd;
    std::uint32_t processId = 0;
    Clock::time_point deadline;
    std::array<std::byte, sizeof(Packet)> bytes{};
    std::size_t got = 0;
  };

  void Run(std::stop_token stop) {
    std::vector<pollfd> waiting;
    while (!stop.stop_requested()) {
      waiting.assign({{listener_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}});
      for (const Connection& connection : connections_) {
        waiting.push_back({connection.fd.get(), POLLIN, 0});
      }
      const int ready = ::poll(waiting.data(), waiting.size(), NextTimeout());
      // A wait that fails for good leaves the window unreachable, not a loop that spins.
      if (ready < 0 && errno != EINTR) return;
      if (ready <= 0) {
        DropExpired();
        continue;
      }
      if (waiting[1].revents) return;
      // In the order they came, so that one sender's messages keep theirs; the connections
      // accepted below have nothing to read yet.
      for (std::size_t i = 0; i < connections_.size(); ++i) {
        if (waiting[i + 2].revents) Read(connections_[i]);
      }
      std::erase_if(connections_, [](const Connection& c) { return !c.fd.valid(); });
      if (waiting[0].revents & POLLIN) AcceptAll();
      DropExpired();
    }
  }

  int NextTimeout() const {
    if (connections_.empty()) return -1;
    const auto left = connections_.front().deadline - Clock::now();  // the oldest ends first
    return static_cast<int>(
        std::clamp<std::int64_t>(std::chrono::ceil<std::chrono::milliseconds>(left).count(), 0,
                                 kPacketDeadline.count()));
  }

  void AcceptAll() {
    for (;;) {
      UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
      if (!client.valid()) return;  // none waiting any more (or out of descriptors)
      ucred peer{};
      socklen_t length = sizeof peer;
      if (::getsockopt(client.get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 ||
          peer.uid != ::getuid()) {
        continue;  // another user's process never reaches the window
      }
      if (connections_.size() == kMaxConnections) connections_.erase(connections_.begin());
      connections_.push_back({std::move(client), static_cast<std::uint32_t>(peer.pid),
                              Clock::now() + kPacketDeadline});
    }
  }

  // Reads what the connection has; a whole packet is handled and ends the connection, as do the
  // end of the connection and any error.
  void Read(Connection& connection) {
    const std::span<std::byte> rest = std::span(connection.bytes).subspan(connection.got);
    const ssize_t n = ::recv(connection.fd.get(), rest.data(), rest.size(), 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) connection.got += static_cast<std::size_t>(n);
    if (n > 0 && connection.got < connection.bytes.size()) return;
    if (connection.got == connection.bytes.size()) Deliver(connection);
    connection.fd.Reset();
  }

  void Deliver(const Connection& connection) {
    Packet packet{};
    std::memcpy(&packet, connection.bytes.data(), sizeof packet);
    if (packet.magic != kPacketMagic) return;  // not one of ours
    const IncomingMessage message{connection.processId, packet.message, packet.wParam,
                                  packet.lParam};
    if (!admit_ || !admit_(message)) return;
    (void)target_.Post(packet.message, packet.wParam, packet.lParam);  // window gone: dropped
  }

  void DropExpired() {
    const auto now = Clock::now();
    std::erase_if(connections_, [now](const Connection& c) { return c.deadline <= now; });
  }

  std::string path_;
  UniqueFd listener_;
  UniqueFd wake_;
  MessageAdmission admit_;
  MessageTarget& target_;
  std::vector<Connection> connections_;  // oldest first; the listener thread's own
  std::jthread thread_;                  // last: started after everything it uses
};

// Parses "window-<tag hex>-<pid>-<n>.sock".
std::optional<RunningWindow> ParseWindowName(const std::string& folder, std::string_view name) {
  if (!name.starts_with(kWindowPrefix) || !name.ends_with(".sock")) return std::nullopt;
  std::string_view rest = name.substr(kWindowPrefix.size());
  RunningWindow window{folder + std::string(name), 0, 0};
  auto [tag_end, tag_error] = std::from_chars(rest.data(), rest.data() + rest.size(),
                                              window.userData, 16);
  if (tag_error != std::errc() || tag_end == rest.data() + rest.size() || *tag_end != '-') {
    return std::nullopt;
  }
  rest.remove_prefix(static_cast<std::size_t>(tag_end - rest.data()) + 1);
  auto [pid_end, pid_error] = std::from_chars(rest.data(), rest.data() + rest.size(),
                                              window.processId);
  if (pid_error != std::errc()) return std::nullopt;
  return window;
}

// False for a process that has ended, zombies included: a window of it is gone.
bool ProcessRuns(std::uint32_t processId) {
  std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
  std::string text;
  if (!std::getline(stat, text)) return false;
  const auto name_end = text.rfind(')');  // the name may hold spaces and parentheses
  return name_end != std::string::npos && name_end + 2 < text.size() && text[name_end + 2] != 'Z';
}

}  // namespace

LinuxInstanceRegistry::LinuxInstanceRegistry(std::string folder) : folder_(std::move(folder)) {}

Result LinuxInstanceRegistry::AcquireInstanceLock(std::string_view name,
                                                  std::unique_ptr<ReleaseOnDestroy>& lock) {
  if (folder_.empty()) return Result::PathNotFound;  // no runtime folder that is safe to use
  const std::string path = folder_ + std::string(name);
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd.valid()) return ResultFromErrno(errno);
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? Result::Busy : ResultFromErrno(errno);
  }
  lock = std::make_unique<FileLock>(std::move(fd));
  return Result::Ok;
}

Result LinuxInstanceRegistry::PublishWindow(std::uint32_t userData, MessageAdmission admit,
                                            MessageTarget& target,
                                            std::unique_ptr<ReleaseOnDestroy>& publication,
                                            RunningWindow& self) {
  if (folder_.empty()) return Result::PathNotFound;  // as above
  static std::atomic<unsigned> sequence{0};
  char tag[9];
  std::snprintf(tag, sizeof tag, "%08X", userData);
  const std::string path = folder_ + std::string(kWindowPrefix) + tag + "-" +
                           std::to_string(::getpid()) + "-" +
                           std::to_string(sequence.fetch_add(1)) + ".sock";
  UniqueFd listener;
  if (const Result r = ListenAt(path, listener); r != Result::Ok) return r;
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC));
  if (!wake.valid()) {
    ::unlink(path.c_str());
    return ResultFromErrno(errno);
  }
  if (::fcntl(listener.get(), F_SETFL, O_NONBLOCK) != 0) {
    ::unlink(path.c_str());
    return ResultFromErrno(errno);
  }
  publication = std::make_unique<WindowListener>(path, std::move(listener), std::move(wake),
                                                 std::move(admit), target);
  self = RunningWindow{path, userData, static_cast<std::uint32_t>(::getpid())};
  return Result::Ok;
}

std::vector<RunningWindow> LinuxInstanceRegistry::ListWindows() {
  struct Found {
    RunningWindow window;
    std::filesystem::file_time_type published;
  };
  std::vector<Found> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
    auto window = ParseWindowName(folder_, entry.path().filename().string());
    if (!window) continue;
    if (!ProcessRuns(window->processId)) {
      std::filesystem::remove(entry.path(), error);  // left behind by a process that died
      continue;
    }
    const auto published = entry.last_write_time(error);
    if (error) continue;  // vanished while listed
    found.push_back({std::move(*window), published});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Found& a, const Found& b) { return a.published > b.published; });
  std::vector<RunningWindow> windows;
  windows.reserve(found.size());
  for (Found& f : found) windows.push_back(std::move(f.window));
  return windows;
}

std::optional<RunningWindow> LinuxInstanceRegistry::WindowAt(const std::string& endpoint) {
  const std::filesystem::path path(endpoint);
  std::error_code error;
  if (path.parent_path().string() + "/" != folder_ ||
      !std::filesystem::exists(path, error)) {
    return std::nullopt;
  }
  return ParseWindowName(folder_, path.filename().string());
}

Result LinuxInstanceRegistry::PostToWindow(const RunningWindow& window, std::uint32_t message,
                                           std::uint32_t wParam, std::uint32_t lParam) {
  UniqueFd connection;
  const Result connected = ConnectTo(window.endpoint, connection);
  if (connected == Result::ConnectionRefused) {
    ::unlink(window.endpoint.c_str());  // its process died without removing it
  }
  if (connected != Result::Ok) return Result::InvalidWindowHandle;
  const Packet packet{kPacketMagic, message, wParam, lParam};
  return SendAll(connection.get(), std::as_bytes(std::span(&packet, 1)));
}

std::optional<std::string> LinuxInstanceRegistry::ProcessImagePath(std::uint32_t processId) {
  if (processId == 0) return std::nullopt;
  std::error_code error;
  std::string path =
      std::filesystem::read_symlink("/proc/" + std::to_string(processId) + "/exe", error).string();
  if (error) return std::nullopt;
  // A program file replaced by a rebuild while it runs is still the same program file.
  if (path.ends_with(kDeletedSuffix)) path.resize(path.size() - kDeletedSuffix.size());
  return TruncateToBuffer(path);
}

}  // namespace vexlo
