#include "platform/sim/SimClient.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/linux/UnixSocket.h"

namespace vexlo {
namespace {

// vexlo-sim answers at once; one that does not answer in this time is taken as gone.
constexpr auto kAnswerTimeout = std::chrono::seconds(3);
constexpr std::size_t kReceiveChunk = 64 * 1024;

// The machine without vexlo-sim: no filter drivers, no mouse, no injection device.
SimState LocalMachine() {
  SimState state;
  state.mouse.plugged = false;
  state.drivers = {.hidFilter = false, .mouseFilter = false};
  state.injection.present = false;
  return state;
}

SimFrame Answer(Result result) {
  SimFrame frame = MakeFrame(SimFrameType::Response);
  frame.header.value = ToNumber(result);
  return frame;
}

Result ResultOf(const SimFrame& frame) {
  return FromNumber(frame.header.value);
}

std::uint64_t GenerationOf(SimEndpointId id) {
  return id >> 32;
}
constexpr std::uint64_t kMaxServerNumber = 0xFFFFFFFF;

std::uint64_t ServerNumberOf(SimEndpointId id) {
  return id & kMaxServerNumber;
}

}  // namespace

SimClient::SimClient(std::string socketPath)
    : socketPath_(std::move(socketPath)),
      local_(std::make_shared<SimEnvironment>(LocalMachine())) {}

SimClient::~SimClient() {
  std::scoped_lock requestLock(requestMutex_);
  if (!receiver_.joinable()) return;
  const std::uint64_t one = 1;
  (void)!::write(wake_.get(), &one, sizeof one);
  receiver_.join();
}

Result SimClient::Connect() {
  std::scoped_lock requestLock(requestMutex_);
  return EnsureConnected();
}

Result SimClient::EnsureConnected() {
  {
    std::scoped_lock lock(mutex_);
    if (connected_) return Result::Ok;
  }
  if (receiver_.joinable()) receiver_.join();  // it has ended: the connection went down
  UniqueFd socket;
  if (const Result r = ConnectTo(socketPath_, socket); r != Result::Ok) return r;
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.valid()) return ResultFromErrno(errno);
  socket_ = std::move(socket);
  wake_ = std::move(wake);
  {
    std::scoped_lock lock(mutex_);
    connected_ = true;
    ++generation_;
  }
  receiver_ =
      std::jthread([this, socket = socket_.get(), wake = wake_.get()] { Receive(socket, wake); });
  return Result::Ok;
}

// Sends a request and waits for its answer. Nullopt when no vexlo-sim can be reached (the caller
// answers from the local environment). With a generation other than kAny, the request goes only
// over that connection: when it has ended, or during the wait, the answer is DeviceNotConnected.
std::optional<SimFrame> SimClient::Call(SimFrame request, std::uint64_t generation,
                                        SimEndpointListener* opening,
                                        std::uint64_t* usedGeneration) {
  std::scoped_lock requestLock(requestMutex_);
  if (generation == kAny) {
    if (EnsureConnected() != Result::Ok) return std::nullopt;
  } else {
    std::scoped_lock lock(mutex_);
    if (!connected_ || generation_ != generation) return Answer(Result::DeviceNotConnected);
  }
  request.header.sequence = ++sequence_;
  {
    std::scoped_lock lock(mutex_);
    awaited_ = request.header.sequence;
    opening_ = opening;
    response_.reset();
    if (usedGeneration) *usedGeneration = generation_;
  }
  std::vector<std::uint8_t> bytes;
  AppendFrame(request, bytes);
  const Result sent = SendAll(socket_.get(), std::as_bytes(std::span(bytes)));
  std::unique_lock lock(mutex_);
  const bool settled = sent == Result::Ok && changed_.wait_for(lock, kAnswerTimeout, [this] {
    return response_.has_value() || !connected_;
  });
  awaited_ = 0;
  opening_ = nullptr;
  if (response_) return std::exchange(response_, std::nullopt);
  // A silent or broken connection is ended here; the receiver tells everyone.
  if (!settled && connected_) ::shutdown(socket_.get(), SHUT_RDWR);
  return Answer(Result::DeviceNotConnected);
}

void SimClient::Receive(int socket, int wake) {
  SimFrameReader reader;
  std::vector<std::uint8_t> chunk(kReceiveChunk);
  for (bool running = true; running;) {
    pollfd waiting[2] = {{socket, POLLIN, 0}, {wake, POLLIN, 0}};
    if (::poll(waiting, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (waiting[1].revents) break;
    const ssize_t got = ::recv(socket, chunk.data(), chunk.size(), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    reader.Append(std::span(chunk.data(), static_cast<std::size_t>(got)));
    SimFrame frame;
    for (;;) {
      const SimFrameReader::Status status = reader.Next(frame);
      if (status == SimFrameReader::Status::NeedMore) break;
      if (status == SimFrameReader::Status::Bad) {
        running = false;
        break;
      }
      Dispatch(frame);
    }
  }
  Disconnected();
}

void SimClient::Dispatch(const SimFrame& frame) {
  std::scoped_lock lock(mutex_);
  const std::uint64_t number = frame.header.endpoint;
  const auto listener = listeners_.find(number);
  switch (frame.Type()) {
    case SimFrameType::Response:
      if (frame.header.sequence != awaited_) return;  // the answer to a request given up on
      response_ = frame;
      if (opening_ && ResultOf(frame) == Result::Ok) {
        // An endpoint id keeps 32 bits of the server's number: a larger one could never be
        // closed, and its listener would be called after its owner had gone.
        if (number > kMaxServerNumber) {
          response_->header.value = ToNumber(Result::BadData);
        } else {
          listeners_[number] = opening_;
        }
      }
      changed_.notify_all();
      return;
    case SimFrameType::InputReport:
      if (listener != listeners_.end()) listener->second->OnInputReport(frame.payload);
      return;
    case SimFrameType::EventSignalled: {
      std::int64_t value = 0;
      if (listener == listeners_.end() || frame.payload.size() != sizeof value) return;
      std::memcpy(&value, frame.payload.data(), sizeof value);
      listener->second->OnEventSignalled(value);
      return;
    }
    case SimFrameType::EndpointGone:
      if (listener != listeners_.end()) listener->second->OnGone();
      return;
    case SimFrameType::InjectedLine:
      if (follower_) follower_(PayloadText(frame));
      return;
    default:
      return;
  }
}

void SimClient::Disconnected() {
  std::scoped_lock lock(mutex_);
  connected_ = false;
  for (const auto& [number, listener] : listeners_) listener->OnGone();
  listeners_.clear();
  follower_ = nullptr;
  changed_.notify_all();
}

void SimClient::WaitUntilDisconnected() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !connected_; });
}

Result SimClient::RunCommand(std::span<const std::string> words, std::string& output) {
  SimFrame request = MakeFrame(SimFrameType::Command);
  request.payload = EncodeStrings(words);
  const std::optional<SimFrame> response = CallAny(std::move(request));
  if (!response) return Result::DeviceNotConnected;
  output = PayloadText(*response);
  return ResultOf(*response);
}

Result SimClient::Follow(std::function<void(std::string_view line)> onLine) {
  {
    std::scoped_lock lock(mutex_);
    follower_ = std::move(onLine);
  }
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::Follow));
  return response ? ResultOf(*response) : Result::DeviceNotConnected;
}

Result SimClient::RequestStop() {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::Stop));
  return response ? ResultOf(*response) : Result::DeviceNotConnected;
}

Result SimClient::ListHidPaths(std::vector<std::string>& paths) {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::ListHidPaths));
  if (!response) return local_->ListHidPaths(paths);
  const Result r = ResultOf(*response);
  if (r != Result::Ok) return r;
  return DecodeStrings(response->payload, paths) ? Result::Ok : Result::HidEnumerationFailed;
}

Result SimClient::InterfaceNode(std::string_view path, DeviceNode& node) {
  SimFrame request = MakeFrame(SimFrameType::InterfaceNode);
  request.payload = TextPayload(path);
  const std::optional<SimFrame> response = CallAny(std::move(request));
  if (!response) return local_->InterfaceNode(path, node);
  if (ResultOf(*response) == Result::Ok) node = static_cast<DeviceNode>(response->header.endpoint);
  return ResultOf(*response);
}

Result SimClient::ParentNode(DeviceNode node, DeviceNode& parent) {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::ParentNode, node));
  if (!response) return local_->ParentNode(node, parent);
  if (ResultOf(*response) == Result::Ok) {
    parent = static_cast<DeviceNode>(response->header.endpoint);
  }
  return ResultOf(*response);
}

Result SimClient::NodeInstanceId(DeviceNode node, std::string& id) {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::NodeInstanceId, node));
  if (!response) return local_->NodeInstanceId(node, id);
  if (ResultOf(*response) == Result::Ok) id = PayloadText(*response);
  return ResultOf(*response);
}

Result SimClient::NodeDriverKey(DeviceNode node, std::string& key) {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::NodeDriverKey, node));
  if (!response) return local_->NodeDriverKey(node, key);
  if (ResultOf(*response) == Result::Ok) key = PayloadText(*response);
  return ResultOf(*response);
}

// Opens an endpoint in vexlo-sim and names it by the connection it lives on; nullopt when no
// vexlo-sim runs.
std::optional<SimFrame> SimClient::OpenEndpoint(SimFrame request, SimEndpointListener& listener,
                                                SimEndpointId& id) {
  std::uint64_t generation = 0;
  std::optional<SimFrame> response = Call(std::move(request), kAny, &listener, &generation);
  if (response && ResultOf(*response) == Result::Ok) {
    id = generation << 32 | response->header.endpoint;
  }
  return response;
}

Result SimClient::OpenDriver(std::string_view name, SimEndpointListener& listener,
                             SimEndpointId& id) {
  SimFrame request = MakeFrame(SimFrameType::OpenDriver);
  request.payload = TextPayload(name);
  const std::optional<SimFrame> response = OpenEndpoint(std::move(request), listener, id);
  if (!response) return local_->OpenDriver(name, listener, id);  // it has no drivers
  return ResultOf(*response);
}

Result SimClient::OpenHid(std::string_view path, const HidOpenOptions& options,
                          SimEndpointListener& listener, SimEndpointId& id, SimHidInfo& info) {
  SimFrame request = MakeFrame(SimFrameType::OpenHid, 0, 0, EncodeOpenOptions(options));
  request.payload = TextPayload(path);
  const std::optional<SimFrame> response = OpenEndpoint(std::move(request), listener, id);
  if (!response) return local_->OpenHid(path, options, listener, id, info);
  const Result r = ResultOf(*response);
  if (r == Result::Ok && !DecodeHidInfo(response->payload, info)) return Result::BadData;
  return r;
}

void SimClient::CloseEndpoint(SimEndpointId id) {
  const std::uint64_t generation = GenerationOf(id);
  if (generation == kLocal) {
    local_->CloseEndpoint(id);
    return;
  }
  {
    std::scoped_lock lock(mutex_);
    if (generation != generation_) return;  // its connection has ended, and the endpoint with it
    listeners_.erase(ServerNumberOf(id));
  }
  (void)Call(MakeFrame(SimFrameType::CloseEndpoint, ServerNumberOf(id)), generation);
}

Result SimClient::IoControl(SimEndpointId id, std::uint32_t code,
                            std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                            std::size_t& returned) {
  returned = 0;
  if (GenerationOf(id) == kLocal) return local_->IoControl(id, code, input, output, returned);
  SimFrame request = MakeFrame(SimFrameType::IoControl, ServerNumberOf(id), code,
                               static_cast<std::uint32_t>(output.size()));
  request.payload.assign(input.begin(), input.end());
  const SimFrame response = *Call(std::move(request), GenerationOf(id));
  returned = std::min(response.payload.size(), output.size());
  std::copy_n(response.payload.begin(), returned, output.begin());
  return ResultOf(response);
}

Result SimClient::WriteReport(SimEndpointId id, std::span<const std::uint8_t> report) {
  if (GenerationOf(id) == kLocal) return local_->WriteReport(id, report);
  SimFrame request = MakeFrame(SimFrameType::WriteReport, ServerNumberOf(id));
  request.payload.assign(report.begin(), report.end());
  return ResultOf(*Call(std::move(request), GenerationOf(id)));
}

Result SimClient::SetFeature(SimEndpointId id, std::span<const std::uint8_t> report) {
  if (GenerationOf(id) == kLocal) return local_->SetFeature(id, report);
  SimFrame request = MakeFrame(SimFrameType::SetFeature, ServerNumberOf(id));
  request.payload.assign(report.begin(), report.end());
  return ResultOf(*Call(std::move(request), GenerationOf(id)));
}

Result SimClient::GetPointerSettings(SimPointerSettings& settings) {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::GetPointerSettings));
  if (!response) return local_->GetPointerSettings(settings);
  const Result r = ResultOf(*response);
  if (r != Result::Ok) return r;
  return DecodePointerSettings(response->payload, settings) ? Result::Ok : Result::BadData;
}

Result SimClient::SetPointerSetting(SimPointerSetting which, std::uint32_t value) {
  const std::optional<SimFrame> response = CallAny(
      MakeFrame(SimFrameType::SetPointerSetting, 0, static_cast<std::uint32_t>(which), value));
  if (!response) return local_->SetPointerSetting(which, value);
  return ResultOf(*response);
}

Result SimClient::InstallSplitDrivers() {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::InstallSplitDrivers));
  if (!response) return local_->InstallSplitDrivers();
  return ResultOf(*response);
}

std::optional<std::string> SimClient::ForegroundPath() {
  const std::optional<SimFrame> response = CallAny(MakeFrame(SimFrameType::ForegroundPath));
  if (!response) return local_->ForegroundPath();
  if (ResultOf(*response) != Result::Ok || response->header.extra == 0) return std::nullopt;
  return PayloadText(*response);
}

}  // namespace vexlo
