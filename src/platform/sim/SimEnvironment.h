#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/SimDeviceTree.h"
#include "platform/sim/SimService.h"
#include "platform/sim/SimState.h"

namespace vexlo {

// The simulated machine: the mouse with its 32 registers and seven buttons, the two filter drivers
// that reach it, the injection device that turns output reports into readable input, and the
// desktop's pointer settings and foreground program. It is one model, used in-process by tests
// and held by vexlo-sim for a running program.
//
// What the program relies on, it meets: vendor transfers answered from the registers (and failed
// with DeviceNotConnected while the mouse is unplugged), the interception table's events signalled
// on the transitions of the left, right and middle buttons, 3-byte reports of event codes 0x14 to
// 0x17 (0 on release) for buttons 3 to 6 set to report to the host, the liveness probe failing with
// DeviceNotConnected exactly while the mouse is unplugged.
//
// Every operation takes the environment's lock; listeners and observers are called with it held.
// Any thread.
class SimEnvironment final : public SimService {
 public:
  explicit SimEnvironment(SimState initial = {});

  // Everything, with the counts of endpoints the program holds open.
  SimState State() const;

  // Plugging the mouse in and out; Ok also when nothing changes. Unplugging releases every
  // button, closes the host's session, makes every open collection of the mouse useless and drops
  // what the drivers held for the mouse (interception table, report rate, translation table).
  Result Plug();
  Result Unplug();

  // Buttons 0..6 going down and up. Ok (also when the button already was so: no transition),
  // InvalidParameter for another button, DeviceNotConnected while unplugged.
  Result Press(int button);
  Result Release(int button);
  Result Click(int button);

  void SetFaults(const SimFaults& faults);
  void SetDrivers(const SimDrivers& drivers);
  void SetForeground(std::optional<std::string> path);
  void ClearInjected();

  // Hears every line of the injection log so far, then each new one, with the lock held: it must
  // return quickly and must not call the environment. No call comes after RemoveInjectionObserver
  // has returned.
  using InjectionObserver = std::function<void(std::string_view line)>;
  std::uint64_t AddInjectionObserver(InjectionObserver observer);
  void RemoveInjectionObserver(std::uint64_t id);

  // Hears the mouse arrive (true) and go (false), as the desktop's device notifications tell of
  // it, under the same rules as the injection observers.
  using DeviceObserver = std::function<void(bool arrived)>;
  std::uint64_t AddDeviceObserver(DeviceObserver observer);
  void RemoveDeviceObserver(std::uint64_t id);

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
  enum class EndpointKind { HidFilter, MouseFilter, Collection };
  struct Endpoint {
    EndpointKind kind;
    SimEndpointListener* listener;
    const SimInterface* collection = nullptr;  // for a collection
    SimDeviceOwner owner = SimDeviceOwner::Other;
    std::uint64_t generation = 0;  // the mouse's plug generation when it was opened
    HidOpenOptions options;
  };

  bool Present(SimDeviceOwner owner) const;
  const SimNode* FindNode(DeviceNode id) const;
  const SimInterface* FindInterface(std::string_view path) const;
  const Endpoint* FindEndpoint(SimEndpointId id) const;
  Result NodeText(DeviceNode node, std::string_view SimNode::*field, std::string& text);
  bool IsStale(const Endpoint& endpoint) const;
  // The open, current HID collection that `id` names; null, with the reason, for anything else.
  const Endpoint* UsableCollection(SimEndpointId id, Result& failure) const;
  std::string MouseDriverKey() const;
  Result ChangeButton(int button, bool down);
  void SignalInterception(std::size_t record);
  void SendButtonReport(std::uint16_t code);
  void PlugLocked();
  void UnplugLocked();
  Result HidFilterControl(std::uint32_t code, std::span<const std::uint8_t> input,
                          std::span<std::uint8_t> output, std::size_t& returned);
  Result MouseFilterControl(SimEndpointId id, std::uint32_t code,
                            std::span<const std::uint8_t> input);
  Result VendorTransfer(std::span<const std::uint8_t> request, std::span<std::uint8_t> output,
                        std::size_t& returned);
  void AppendInjected(std::vector<std::string> lines);

  mutable std::mutex mutex_;  // guards everything below
  SimState state_;
  std::map<SimEndpointId, Endpoint> endpoints_;
  SimEndpointId nextEndpoint_ = 1;
  SimEndpointId interceptionOwner_ = 0;  // the mouse-filter endpoint that sent the table
  std::uint64_t plugGeneration_ = 1;
  std::map<std::uint64_t, InjectionObserver> observers_;
  std::map<std::uint64_t, DeviceObserver> deviceObservers_;
  std::uint64_t nextObserver_ = 1;
};

}  // namespace vexlo
