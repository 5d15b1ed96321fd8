#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "common/Result.h"
#include "device/HidCollection.h"
#include "engine/ScanCodeTable.h"

namespace vexlo {

class DeviceIo;
class HidEnumerator;

// A change of the mouse buttons the host sees: kind 0 is a button event.
struct MouseEvent {
  static constexpr std::uint8_t kButton = 0;

  std::uint8_t kind = kButton;
  std::uint8_t buttons = 0;  // kMouseButton... bits
  bool down = false;
};

// Makes the host's keyboard, consumer-control and mouse-button input by writing output reports to
// the injection device (vendor 0x1BCF, product 0x05E3, usage page 0xFF00, usage 1). It remembers
// what it holds down: up to 28 keys in the order they went down, the mouse buttons, and whether a
// consumer key is down. What it holds persists until released, whoever pressed it.
//
// Without the device every Send answers NotFound and nothing is remembered to be held. A write
// that finds the device gone (DeviceNotConnected: the device, or the process behind it, was
// restarted) opens it again and writes once more; a write that still fails is counted, and the
// first failure after a success is reported on the standard error stream.
//
// The host dispatcher (the button dispatch thread) and the macro player's worker call it at the
// same time: each operation, its report write included, runs entirely under the injector's lock.
class InputInjector {
 public:
  InputInjector(DeviceIo& io, HidEnumerator& enumerator);
  InputInjector(const InputInjector&) = delete;
  InputInjector& operator=(const InputInjector&) = delete;

  // Finds the injection device among the HID interfaces (path naming vendor 0x1BCF and product
  // 0x05E3, then attributes and capabilities checked once open) and opens it for writing, closing
  // what was open before (which releases what it held): at start-up and whenever the mouse
  // arrives. Ok, NotFound when no interface is the device (it stays closed), HidEnumerationFailed.
  [[nodiscard]] Result OpenInjectionDevice();
  // Closes the device; the system releases what it held, as for any input device whose program
  // has gone. At exit.
  void CloseInjectionDevice();
  bool IsOpen() const;

  // Keyboard page: a key down is added to the held keys (unless held already, 28 are held or it
  // is usage 0, "no key"); a key up removes it, and usage 0 up releases every key; the held keys
  // are written. Consumer page: the usage down, or usage 0 for up, is written. Any other page
  // (system control included) writes nothing: NothingToActOn.
  // Ok when the report was written, NotFound without the device, else the write's failure (the
  // held keys keep the change all the same).
  [[nodiscard]] Result SendKey(HidUsage usage, bool down);

  // A key code of the scan-code table (KeyCodeToUsage); code 0 is no key and sends nothing
  // (NothingToActOn).
  [[nodiscard]] Result SendKeyCode(std::uint8_t keyCode, bool down);

  // A button event sets or clears its bits in the held buttons and writes them; any other kind
  // writes nothing (NothingToActOn). Results as for SendKey.
  [[nodiscard]] Result SendMouseEvent(const MouseEvent& event);
  [[nodiscard]] Result SendMouseButton(std::uint8_t buttons, bool down);

  // Releases every key and every mouse button (a report each, also when nothing is held), and the
  // consumer key when one is held. Results of the writes are not examined.
  void ReleaseAll();

  // How many report writes have failed, after the reopen for a device that was gone.
  std::uint64_t FailedWrites() const;

 private:
  [[nodiscard]] Result OpenLocked();
  [[nodiscard]] Result WriteLocked(std::span<const std::uint8_t> report);
  [[nodiscard]] Result SendKeyLocked(HidUsage usage, bool down);
  [[nodiscard]] Result SendMouseButtonLocked(std::uint8_t buttons, bool down);

  HidEnumerator& enumerator_;
  mutable std::mutex mutex_;  // guards everything below, across each report write
  HidCollection device_;
  std::vector<std::uint8_t> keys_;  // held keys in the order they went down, at most 28
  std::uint8_t buttons_ = 0;        // held mouse buttons
  bool consumerHeld_ = false;
  std::uint64_t failedWrites_ = 0;
  bool failureReported_ = false;  // since the last write that succeeded
};

}  // namespace vexlo
