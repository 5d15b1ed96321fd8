#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <string>

#include "common/Result.h"
#include "platform/linux/UniqueFd.h"

// Local stream sockets in the runtime folder, through which copies of the program and the
// virtual mouse talk to each other.
namespace vexlo {

// Listens at `path`, replacing a stale socket file left by a process that died; the socket
// appears at the path only once it listens. AlreadyExists when a live socket answers there.
[[nodiscard]] Result ListenAt(const std::string& path, UniqueFd& listener);

// Connects to the socket at `path`. FileNotFound when there is none, ConnectionRefused when
// nobody listens there any more.
[[nodiscard]] Result ConnectTo(const std::string& path, UniqueFd& connection);

// Sends every byte. Any failure (the peer gone) is returned.
[[nodiscard]] Result SendAll(int fd, std::span<const std::byte> bytes);

// Receives exactly bytes.size() bytes, waiting at most `timeout` for each piece. Timeout, or
// DeviceNotConnected when the peer closes first.
[[nodiscard]] Result ReceiveExactly(int fd, std::span<std::byte> bytes,
                                    std::chrono::milliseconds timeout);

}  // namespace vexlo
