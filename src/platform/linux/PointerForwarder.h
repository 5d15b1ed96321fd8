#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "common/Result.h"
#include "platform/linux/UinputDevice.h"
#include "platform/linux/UniqueFd.h"

namespace vexlo {

// What the mouse filter asks of the pointer: which of the left, right and middle buttons the
// desktop must not see, and what share of the mouse's 1000 reports a second reaches it.
struct PointerRules {
  std::array<bool, 3> intercepted{};  // left, right, middle
  double rateFactor = 1.0;

  bool NeedsGrab() const;
  bool operator==(const PointerRules&) const = default;
};

// The mouse filter's two jobs in user space, the way Linux remappers do them: the mouse's event
// node is taken from the desktop (EVIOCGRAB) and every event is passed on through a uinput mirror
// of the mouse, except the transitions of intercepted buttons, which are signalled instead. Below
// the full rate, relative motion is added up and passed on once per interval (1 ms / factor);
// buttons, the wheel and everything else pass at once, after the motion that came before them.
//
// A forwarding thread does the work; a watchdog thread gives the grab back when the forwarder has
// not taken events that were waiting for two checks in a row (a stalled forwarder must never leave
// the pointer dead). The grab ends when this object is destroyed, when the mouse goes away, and with
// the process, however it ends, since the kernel drops it with the descriptor.
class PointerForwarder {
 public:
  // Called on the forwarding thread with the interception record of a transition: 0 left down,
  // 1 left up, 2 right down, 3 right up, 4 middle down, 5 middle up. Must not block.
  using ButtonSignal = std::function<void(std::size_t record)>;

  // Grabs `eventNode` and makes the mirror on `uinputNode`. Ok; FileNotFound or AccessDenied for
  // either node; Busy when another program holds the grab; else the platform's error.
  [[nodiscard]] static Result Start(const std::string& eventNode, const std::string& uinputNode,
                                    const PointerRules& rules, ButtonSignal signal,
                                    std::unique_ptr<PointerForwarder>& forwarder);
  ~PointerForwarder();
  PointerForwarder(const PointerForwarder&) = delete;
  PointerForwarder& operator=(const PointerForwarder&) = delete;

  // Takes new rules for the events still to come. Any thread.
  void SetRules(const PointerRules& rules);

  // False once the forwarding has ended: the mouse went away or the watchdog gave the grab back.
  bool Running() const { return running_.load(); }

  // How often the watchdog looks; a forwarder that left waiting events alone for two looks in a
  // row has stalled.
  static constexpr auto kWatchPeriod = std::chrono::milliseconds(200);

 private:
  PointerForwarder(UniqueFd source, std::unique_ptr<UinputDevice> mirror, UniqueFd wake,
                   const PointerRules& rules, ButtonSignal signal);
  void Forward(std::stop_token stop);
  void Watch(std::stop_token stop);
  void Wake();

  UniqueFd source_;
  std::unique_ptr<UinputDevice> mirror_;
  UniqueFd wake_;  // an eventfd: readable once the forwarder is to end
  ButtonSignal signal_;
  std::mutex rulesMutex_;  // guards rules_
  PointerRules rules_;
  std::atomic<std::uint64_t> progress_{0};  // reads the forwarder has done
  std::atomic<bool> running_{true};
  std::jthread forwarder_;  // started once everything they use is there
  std::jthread watchdog_;
};

}  // namespace vexlo
