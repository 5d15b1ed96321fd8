#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/linux/UniqueFd.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimProtocol.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// The simulated environment of a running vexlo-sim, reached through its socket. It connects when
// asked for something and again after vexlo-sim restarts. While no vexlo-sim runs, requests are
// answered by a local environment that has no filter drivers, no mouse and no injection device
// (so the drivers cannot be opened), whose desktop settings live in this process and which has no
// foreground program.
//
// One thread, owned by the client, receives vexlo-sim's answers and notifications and passes the
// notifications to the endpoints' listeners. When the connection ends, every open endpoint hears
// OnGone and later requests on it fail with DeviceNotConnected. Any thread.
class SimClient final : public SimService {
 public:
  explicit SimClient(std::string socketPath);
  ~SimClient() override;
  SimClient(const SimClient&) = delete;
  SimClient& operator=(const SimClient&) = delete;

  // Connects unless connected. Ok, FileNotFound or ConnectionRefused when no vexlo-sim runs.
  [[nodiscard]] Result Connect();

  // For the vexlo-sim command line (DeviceNotConnected without a vexlo-sim): runs a command
  // (SimCommands) in vexlo-sim; hears every injected line so far and each new one, on the
  // receiving thread, until the connection ends; asks vexlo-sim to end.
  [[nodiscard]] Result RunCommand(std::span<const std::string> words, std::string& output);
  [[nodiscard]] Result Follow(std::function<void(std::string_view line)> onLine);
  [[nodiscard]] Result RequestStop();

  // Blocks until the connection has ended (at once when there is none).
  void WaitUntilDisconnected();

  Result ListHidPaths(std::vector<std::string>& paths) override;
  Result InterfaceNode(std::string_view path, DeviceNode& node) override;
  Result ParentNode(DeviceNode node, DeviceNode& parent) override;
  Result NodeInstanceId(DeviceNode node, std::string& id) override;
  Result NodeDriverKey(DeviceNode node, std::string& key) override;
  Result OpenDriver(std::string_view name, SimEndpointListener& listener,
                    SimEndpointId& id) override;
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 SimEndpointListener& listener, SimEndpointId& id, SimHidInfo& info) override;
  void CloseEndpoint(SimEndpointId id) override;
  Result IoControl(SimEndpointId id, std::uint32_t code, std::span<const std::uint8_t> input,
                   std::span<std::uint8_t> output, std::size_t& returned) override;
  Result WriteReport(SimEndpointId id, std::span<const std::uint8_t> report) override;
  Result SetFeature(SimEndpointId id, std::span<const std::uint8_t> report) override;
  Result GetPointerSettings(SimPointerSettings& settings) override;
  Result SetPointerSetting(SimPointerSetting which, std::uint32_t value) override;
  std::optional<std::string> ForegroundPath() override;
  Result InstallSplitDrivers() override;

 private:
  // An endpoint id carries the connection it was opened on (generation, high 32 bits) and the
  // server's number for it; generation 0 is the local environment.
  static constexpr std::uint64_t kLocal = 0;

  std::optional<SimFrame> Call(SimFrame request, std::uint64_t generation,
                               SimEndpointListener* opening = nullptr,
                               std::uint64_t* usedGeneration = nullptr);
  std::optional<SimFrame> CallAny(SimFrame request) { return Call(std::move(request), kAny); }
  std::optional<SimFrame> OpenEndpoint(SimFrame request, SimEndpointListener& listener,
                                       SimEndpointId& id);
  Result EnsureConnected();
  void Receive(int socket, int wake);
  void Dispatch(const SimFrame& frame);
  void Disconnected();

  static constexpr std::uint64_t kAny = ~std::uint64_t{0};

  std::string socketPath_;
  std::shared_ptr<SimEnvironment> local_;
  // Lock order: requestMutex_ before mutex_; listeners are called with mutex_ held.
  std::mutex requestMutex_;  // one request at a time; guards socket_, wake_, receiver_, sequence_
  UniqueFd socket_;
  UniqueFd wake_;
  std::uint32_t sequence_ = 0;
  std::mutex mutex_;  // guards everything below
  std::condition_variable changed_;
  bool connected_ = false;
  std::uint64_t generation_ = 0;
  std::uint32_t awaited_ = 0;
  SimEndpointListener* opening_ = nullptr;
  std::optional<SimFrame> response_;
  std::map<std::uint64_t, SimEndpointListener*> listeners_;  // by the server's number
  std::function<void(std::string_view)> follower_;
  std::jthread receiver_;
};

}  // namespace vexlo
