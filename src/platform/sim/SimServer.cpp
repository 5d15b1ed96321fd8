#include "platform/sim/SimServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <list>
#include <map>
#include <mutex>
#include <optional>

#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimCommands.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {
namespace {

// A connection whose peer does not read what it is sent is dropped beyond this.
constexpr std::size_t kOutgoingLimit = std::size_t{4} << 20;
constexpr std::size_t kReceiveChunk = 64 * 1024;

}  // namespace

// One client. Its socket, reader and endpoints belong to the server thread; its outgoing bytes
// also take notifications from whichever thread changes the environment.
class SimServer::Connection {
 public:
  explicit Connection(UniqueFd socket) : fd(std::move(socket)) {}

  // Queues a frame; never blocks. Lock order: called with the environment's lock held.
  void Queue(const SimFrame& frame) {
    std::scoped_lock lock(outMutex_);
    AppendFrame(frame, out_);
    if (out_.size() > kOutgoingLimit) overflow_ = true;
  }

  bool HasOutgoing() {
    std::scoped_lock lock(outMutex_);
    return !out_.empty();
  }

  // Sends what the socket takes without waiting. False when the peer is gone or too slow.
  bool Flush() {
    std::scoped_lock lock(outMutex_);
    if (overflow_) return false;
    while (!out_.empty()) {
      const ssize_t sent = ::send(fd.get(), out_.data(), out_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
      if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
      out_.erase(out_.begin(), out_.begin() + sent);
    }
    return true;
  }

  UniqueFd fd;
  SimFrameReader reader;
  std::map<SimEndpointId, std::unique_ptr<EndpointListener>> endpoints;
  std::optional<std::uint64_t> observer;        // the injected lines it follows
  std::optional<std::uint64_t> deviceObserver;  // the arrivals and removals it watches
  bool dead = false;

 private:
  std::mutex outMutex_;  // guards out_ and overflow_
  std::vector<std::uint8_t> out_;
  bool overflow_ = false;
};

// Passes what the environment says about one endpoint on to the connection that opened it.
class SimServer::EndpointListener final : public SimEndpointListener {
 public:
  EndpointListener(SimServer& server, Connection& connection)
      : server_(server), connection_(connection) {}

  void SetId(SimEndpointId id) { id_.store(id); }

  void OnInputReport(std::span<const std::uint8_t> report) override {
    SimFrame frame = MakeFrame(SimFrameType::InputReport, id_.load());
    frame.payload.assign(report.begin(), report.end());
    Send(frame);
  }
  void OnEventSignalled(std::int64_t driverValue) override {
    SimFrame frame = MakeFrame(SimFrameType::EventSignalled, id_.load());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&driverValue);
    frame.payload.assign(bytes, bytes + sizeof driverValue);
    Send(frame);
  }
  void OnGone() override { Send(MakeFrame(SimFrameType::EndpointGone, id_.load())); }

 private:
  void Send(const SimFrame& frame) {
    connection_.Queue(frame);
    server_.Wake();
  }

  SimServer& server_;
  Connection& connection_;
  std::atomic<SimEndpointId> id_{0};
};

SimServer::SimServer(std::shared_ptr<SimEnvironment> environment, std::string socketPath)
    : environment_(std::move(environment)), socketPath_(std::move(socketPath)) {}

SimServer::~SimServer() {
  RequestStop();
  WaitUntilStopped();
}

Result SimServer::Start(UniqueFd stopSignal) {
  if (const Result r = ListenAt(socketPath_, listener_); r != Result::Ok) return r;
  wake_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake_.valid()) {
    const Result r = ResultFromErrno(errno);
    listener_.Reset();
    ::unlink(socketPath_.c_str());
    return r;
  }
  stopSignal_ = std::move(stopSignal);
  thread_ = std::jthread([this] { Run(); });
  return Result::Ok;
}

void SimServer::RequestStop() {
  stopRequested_.store(true);
  Wake();
}

void SimServer::WaitUntilStopped() {
  if (thread_.joinable()) thread_.join();
}

void SimServer::Wake() {
  if (!wake_.valid()) return;
  const std::uint64_t one = 1;
  (void)!::write(wake_.get(), &one, sizeof one);  // a full counter wakes the loop just as well
}

void SimServer::Run() {
  std::list<Connection> connections;
  while (!stopRequested_.load()) {
    std::vector<pollfd> waiting = {
        {wake_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}, {stopSignal_.get(), POLLIN, 0}};
    for (Connection& connection : connections) {
      const short events = connection.HasOutgoing() ? POLLIN | POLLOUT : POLLIN;
      waiting.push_back({connection.fd.get(), events, 0});
    }
    if (::poll(waiting.data(), waiting.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;  // the server's own descriptors are broken: it cannot serve on
    }
    if (waiting[0].revents) {
      std::uint64_t count = 0;
      (void)!::read(wake_.get(), &count, sizeof count);
    }
    if (waiting[2].revents) break;
    if (waiting[1].revents & POLLIN) {
      UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
      if (client.valid()) connections.emplace_back(std::move(client));
    }
    std::size_t index = 3;
    for (Connection& connection : connections) {
      // Connections accepted in this round have no poll entry yet.
      if (index < waiting.size() && waiting[index++].revents) ServeConnection(connection);
      if (!connection.Flush()) connection.dead = true;
    }
    for (auto it = connections.begin(); it != connections.end();) {
      if (!it->dead) {
        ++it;
        continue;
      }
      DropConnection(*it);
      it = connections.erase(it);
    }
  }
  // Gone from the folder first, so that a new server can start as soon as clients see this one end.
  listener_.Reset();
  ::unlink(socketPath_.c_str());
  for (Connection& connection : connections) {
    (void)connection.Flush();  // the answer to a Stop request
    DropConnection(connection);
  }
}

void SimServer::ServeConnection(Connection& connection) {
  std::vector<std::uint8_t> chunk(kReceiveChunk);
  for (;;) {
    const ssize_t got = ::recv(connection.fd.get(), chunk.data(), chunk.size(), MSG_DONTWAIT);
    if (got > 0) {
      connection.reader.Append(std::span(chunk.data(), static_cast<std::size_t>(got)));
      continue;
    }
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      connection.dead = true;
    }
    break;
  }
  SimFrame request;
  for (;;) {
    const SimFrameReader::Status status = connection.reader.Next(request);
    if (status == SimFrameReader::Status::NeedMore) break;
    if (status == SimFrameReader::Status::Bad) {
      connection.dead = true;  // not one of ours
      break;
    }
    HandleRequest(connection, request);
  }
}

void SimServer::DropConnection(Connection& connection) {
  for (const auto& [id, listener] : connection.endpoints) environment_->CloseEndpoint(id);
  connection.endpoints.clear();
  if (connection.observer) environment_->RemoveInjectionObserver(*connection.observer);
  if (connection.deviceObserver) environment_->RemoveDeviceObserver(*connection.deviceObserver);
  connection.observer.reset();
}

void SimServer::HandleRequest(Connection& connection, const SimFrame& request) {
  SimFrame response = MakeFrame(SimFrameType::Response);
  response.header.sequence = request.header.sequence;
  const SimEndpointId endpoint = request.header.endpoint;
  const bool owned = connection.endpoints.contains(endpoint);
  SimEnvironment& environment = *environment_;
  Result result = Result::Ok;

  switch (request.Type()) {
    case SimFrameType::ListHidPaths: {
      std::vector<std::string> paths;
      result = environment.ListHidPaths(paths);
      response.payload = EncodeStrings(paths);
      break;
    }
    case SimFrameType::InterfaceNode: {
      DeviceNode node = 0;
      result = environment.InterfaceNode(PayloadText(request), node);
      response.header.endpoint = node;
      break;
    }
    case SimFrameType::ParentNode: {
      DeviceNode parent = 0;
      result = environment.ParentNode(static_cast<DeviceNode>(endpoint), parent);
      response.header.endpoint = parent;
      break;
    }
    case SimFrameType::NodeInstanceId:
    case SimFrameType::NodeDriverKey: {
      std::string text;
      const auto node = static_cast<DeviceNode>(endpoint);
      result = request.Type() == SimFrameType::NodeInstanceId
                   ? environment.NodeInstanceId(node, text)
                   : environment.NodeDriverKey(node, text);
      response.payload = TextPayload(text);
      break;
    }
    case SimFrameType::OpenDriver:
    case SimFrameType::OpenHid: {
      auto listener = std::make_unique<EndpointListener>(*this, connection);
      SimEndpointId id = 0;
      if (request.Type() == SimFrameType::OpenDriver) {
        result = environment.OpenDriver(PayloadText(request), *listener, id);
      } else {
        SimHidInfo info;
        result = environment.OpenHid(PayloadText(request), DecodeOpenOptions(request.header.extra),
                                     *listener, id, info);
        if (result == Result::Ok) response.payload = EncodeHidInfo(info);
      }
      if (result == Result::Ok) {
        listener->SetId(id);
        connection.endpoints.emplace(id, std::move(listener));
        response.header.endpoint = id;
      }
      break;
    }
    case SimFrameType::CloseEndpoint:
      if (owned) {
        environment.CloseEndpoint(endpoint);
        connection.endpoints.erase(endpoint);
      }
      break;
    case SimFrameType::IoControl: {
      if (!owned) {
        result = Result::InvalidHandle;
        break;
      }
      std::vector<std::uint8_t> output(std::min<std::size_t>(request.header.extra, kSimMaxPayload));
      std::size_t returned = 0;
      result =
          environment.IoControl(endpoint, request.header.value, request.payload, output, returned);
      output.resize(std::min(returned, output.size()));
      response.payload = std::move(output);
      break;
    }
    case SimFrameType::WriteReport:
    case SimFrameType::SetFeature:
      if (!owned) {
        result = Result::InvalidHandle;
      } else {
        result = request.Type() == SimFrameType::WriteReport
                     ? environment.WriteReport(endpoint, request.payload)
                     : environment.SetFeature(endpoint, request.payload);
      }
      break;
    case SimFrameType::GetPointerSettings: {
      SimPointerSettings settings;
      result = environment.GetPointerSettings(settings);
      response.payload = EncodePointerSettings(settings);
      break;
    }
    case SimFrameType::SetPointerSetting:
      result = environment.SetPointerSetting(static_cast<SimPointerSetting>(request.header.value),
                                             request.header.extra);
      break;
    case SimFrameType::ForegroundPath: {
      const std::optional<std::string> path = environment.ForegroundPath();
      response.header.extra = path ? 1 : 0;
      response.payload = TextPayload(path.value_or(""));
      break;
    }
    case SimFrameType::InstallSplitDrivers:
      result = environment.InstallSplitDrivers();
      break;
    case SimFrameType::Command: {
      std::vector<std::string> words;
      std::string output;
      result = DecodeStrings(request.payload, words) ? RunSimCommand(environment, words, output)
                                                     : Result::InvalidParameter;
      response.payload = TextPayload(output);
      break;
    }
    case SimFrameType::Follow:
      // The answer goes first, then every line so far, then each new one.
      response.header.value = ToNumber(Result::Ok);
      connection.Queue(response);
      if (!connection.observer) {
        connection.observer =
            environment.AddInjectionObserver([this, &connection](std::string_view line) {
              SimFrame frame = MakeFrame(SimFrameType::InjectedLine);
              frame.payload = TextPayload(line);
              connection.Queue(frame);
              Wake();
            });
      }
      return;
    case SimFrameType::WatchDevices:
      if (!connection.deviceObserver) {
        connection.deviceObserver =
            environment.AddDeviceObserver([this, &connection](bool arrived) {
              connection.Queue(MakeFrame(SimFrameType::DevicesChanged, 0, arrived ? 1 : 0));
              Wake();
            });
      }
      break;
    case SimFrameType::Stop:
      stopRequested_.store(true);
      break;
    default:
      result = Result::InvalidFunction;
      break;
  }
  response.header.value = ToNumber(result);
  connection.Queue(response);
}

}  // namespace vexlo
