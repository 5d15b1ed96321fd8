#include "platform/linux/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>

namespace vexlo {
namespace {

// Only a path in the file system: an empty or relative one would name an abstract socket, or one
// in whatever the current folder is.
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  if (!path.starts_with('/')) return false;
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

Result ListenAt(const std::string& path, UniqueFd& listener) {
  // Someone answering at the path is alive; otherwise a file there is a leftover of a crash.
  if (UniqueFd probe; ConnectTo(path, probe) == Result::Ok) return Result::AlreadyExists;
  // The socket is bound under a temporary name and renamed into place once it listens, so that
  // whoever sees it appear can connect at once.
  if (!path.starts_with('/')) return Result::PathNotFound;
  const std::string temporary = path + ".new";
  sockaddr_un address;
  if (!MakeAddress(temporary, address)) return Result::FilenameTooLong;
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return ResultFromErrno(errno);
  ::unlink(temporary.c_str());
  if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd.get(), 16) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return ResultFromErrno(error);
  }
  listener = std::move(fd);
  return Result::Ok;
}

Result ConnectTo(const std::string& path, UniqueFd& connection) {
  if (!path.starts_with('/')) return Result::FileNotFound;  // no runtime folder: nobody there
  sockaddr_un address;
  if (!MakeAddress(path, address)) return Result::FilenameTooLong;
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return ResultFromErrno(errno);
  if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return ResultFromErrno(errno);
  }
  connection = std::move(fd);
  return Result::Ok;
}

Result SendAll(int fd, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno == EPIPE || errno == ECONNRESET ? ENODEV : errno);
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return Result::Ok;
}

Result ReceiveExactly(int fd, std::span<std::byte> bytes, std::chrono::milliseconds timeout) {
  while (!bytes.empty()) {
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(timeout.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno);
    }
    if (ready == 0) return Result::Timeout;
    const ssize_t n = ::recv(fd, bytes.data(), bytes.size(), 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno == ECONNRESET ? ENODEV : errno);
    }
    if (n == 0) return Result::DeviceNotConnected;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return Result::Ok;
}

}  // namespace vexlo
