// The program's side of the virtual mouse's socket, against a vexlo-sim that answers anything:
// frames with any numbers and payloads, notifications for any endpoint, garbage, a closed
// connection. Endpoints are opened, used and destroyed meanwhile; nothing the client hands out
// may be used after its owner destroyed it, and no answer overflows the caller's buffer.
#include <sys/socket.h>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "FuzzSupport.h"
#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimDeviceIo.h"
#include "platform/sim/SimProtocol.h"

using namespace vexlo;

namespace {

// Answers every request it reads with what the input says, until the input runs out. It takes
// one connection only: a client that connects again finds nobody listening and answers locally.
class HostileServer {
 public:
  HostileServer(std::string path, UniqueFd listener, fuzz::Choices& choices)
      : path_(std::move(path)),
        listener_(std::move(listener)),
        choices_(choices),
        thread_([this] { Serve(); }) {}
  // Once the client has gone: a server still waiting for it to connect is woken.
  ~HostileServer() {
    UniqueFd wake;
    (void)ConnectTo(path_, wake);
    wake.Reset();
    thread_.join();
  }

 private:
  void Serve() {
    UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    listener_.Reset();
    if (!connection.valid()) return;
    SimFrameReader reader;
    std::vector<std::uint8_t> chunk(4096);
    for (;;) {
      const ssize_t got = ::recv(connection.get(), chunk.data(), chunk.size(), 0);
      if (got <= 0) return;
      reader.Append(std::span(chunk.data(), static_cast<std::size_t>(got)));
      SimFrame request;
      while (reader.Next(request) == SimFrameReader::Status::Frame) {
        std::vector<std::uint8_t> bytes;
        if (!Answer(request, bytes)) return;  // closes the connection
        if (SendAll(connection.get(), std::as_bytes(std::span(bytes))) != Result::Ok) return;
      }
    }
  }

  // Notifications and noise, then the response; false to hang up instead.
  bool Answer(const SimFrame& request, std::vector<std::uint8_t>& bytes) {
    std::scoped_lock lock(mutex_);
    for (std::uint8_t extra = choices_.Byte() % 4; extra > 0; --extra) {
      const std::uint8_t kind = choices_.Byte();
      if (kind == 0xFF) {
        // Never the start of a frame, so the client sees it as noise at once and does not
        // wait for the rest of a frame.
        bytes.push_back(0);
        const std::string garbage = choices_.Text(40);
        bytes.insert(bytes.end(), garbage.begin(), garbage.end());
        continue;
      }
      static constexpr SimFrameType kNotifications[] = {
          SimFrameType::InputReport, SimFrameType::EventSignalled, SimFrameType::EndpointGone,
          SimFrameType::InjectedLine, SimFrameType::DevicesChanged};
      SimFrame note = MakeFrame(kNotifications[kind % 5], choices_.Byte() % 4);
      const std::string payload = choices_.Text(16);
      note.payload.assign(payload.begin(), payload.end());
      AppendFrame(note, bytes);
    }
    if (choices_.Empty()) return false;
    SimFrame response = MakeFrame(SimFrameType::Response);
    response.header.sequence = request.header.sequence;
    const std::uint8_t shape = choices_.Byte();
    response.header.value = shape & 1 ? choices_.Number() : 0;  // mostly Ok
    response.header.endpoint = shape & 2 ? std::uint64_t{choices_.Number()} << 32 | choices_.Number()
                                         : choices_.Byte() % 4;
    response.header.extra = choices_.Number();
    const std::string payload = choices_.Text(96);
    response.payload.assign(payload.begin(), payload.end());
    AppendFrame(response, bytes);
    return true;
  }

  std::string path_;
  UniqueFd listener_;
  fuzz::Choices& choices_;
  std::mutex mutex_;  // guards choices_ against the client's use of them
  std::thread thread_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string socketPath = (fuzz::FreshScratchFolder() / "vexlo-sim.sock").string();
  UniqueFd listener;
  if (ListenAt(socketPath, listener) != Result::Ok) std::abort();
  // The client's choices come from the same input, read before the server starts.
  fuzz::Choices choices(data, size);
  std::vector<std::uint8_t> plan;
  for (int i = 0; i < 12; ++i) plan.push_back(choices.Byte());

  HostileServer server(socketPath, std::move(listener), choices);
  // Everything of the client goes before the server is joined: its socket closing ends the
  // server's reads.
  auto client = std::make_shared<SimClient>(socketPath);
  SimDeviceIo io(client);
  std::vector<std::unique_ptr<DriverEndpoint>> drivers;
  std::vector<std::unique_ptr<HidDevice>> devices;
  for (const std::uint8_t step : plan) {
    switch (step % 5) {
      case 0: {
        std::unique_ptr<DriverEndpoint> driver;
        if (io.OpenDriver("HalvecFilter", driver) == Result::Ok) drivers.push_back(std::move(driver));
        break;
      }
      case 1: {
        std::unique_ptr<HidDevice> device;
        if (io.OpenHid("/dev/hidraw0", HidOpenOptions{}, device) == Result::Ok) {
          devices.push_back(std::move(device));
        }
        break;
      }
      case 2:
        if (!drivers.empty()) {
          std::array<std::uint8_t, 8> output{};
          std::size_t returned = 0;
          const std::array<std::uint8_t, 2> input{step, 1};
          (void)drivers.back()->IoControl(step, input, output, returned);
          FUZZ_CHECK(returned <= output.size());
        }
        break;
      case 3:
        if (!drivers.empty()) drivers.erase(drivers.begin());
        break;
      default:
        if (!devices.empty()) devices.erase(devices.begin());
        break;
    }
  }
  return 0;
}
