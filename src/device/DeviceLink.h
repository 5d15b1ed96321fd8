#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "common/Result.h"
#include "device/HidCollection.h"
#include "device/RegisterSetup.h"
#include "device/VendorTransfer.h"
#include "platform/ports/DeviceIo.h"
#include "platform/ports/HidEnumerator.h"

namespace vexlo {

// The program's only path to the mouse. It finds the mouse's consumer-control collection, opens
// the two filter drivers, reads and writes the mouse's registers through the HID filter, reads all
// 32 of them when it opens, and turns the mouse filter's button events and the collection's input
// reports into event codes for the application.
//
// Open, Close and the probe run on the user-interface thread; transfers may come from any thread
// and are serialised by the transfer lock. Two workers run while the link is open, both owned and
// joined by Close: the event worker (the mouse filter's button events) and the collection's
// report reader. Every connection has events of its own, so nothing signalled for one connection
// (its stop request included) reaches the next.
class DeviceLink {
 public:
  // Where button events go, on a worker thread: (1, 0x11 + button) for a press of button 0..6,
  // (1, 0) for a release, (0, 0) when the report reader has stopped (every button counts as
  // released). Must not block and must not call back into the link.
  using EventCallback = std::function<void(int pressed, std::uint16_t code)>;

  // Events 0..5 are the mouse filter's interception records (left down, left up, right down,
  // right up, middle down, middle up); event 6 stops the event worker, after the events signalled
  // before it have been delivered.
  static constexpr std::size_t kEventCount = 7;
  static constexpr std::size_t kStopEvent = 6;

  DeviceLink(DeviceIo& io, HidEnumerator& enumerator);
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // Connects: makes the connection's events, opens both drivers, finds and opens the mouse's
  // collection, starts the reader, then wakes the mouse, reads its 32 registers into the register
  // image, sets them up, installs the translation table and starts the event worker. On a link
  // that is open and whose mouse still answers: Ok at once, without any transfer; on one whose
  // mouse is gone: closes it first. Ok; NotEnoughMemory without events; AccessDenied when this user
  // may not use the mouse (DeniedNodes says why); DriverUnavailable when a driver cannot be opened
  // otherwise; HidEnumerationFailed; NotFound when no collection is the mouse's.
  [[nodiscard]] Result Open();

  // After Open answered AccessDenied: the device nodes the user may not use, as the backend names
  // them.
  std::string DeniedNodes() const { return io_.DeniedNodes(); }

  // Stops the event worker (delivering the button events signalled before) and waits for it, ends
  // the host's session with the mouse, closes the collection (which stops and joins the reader),
  // both drivers and the connection's events. Always Ok.
  Result Close();

  bool IsOpen() const { return open_.load(); }

  // One vendor control transfer to the mouse through the HID filter, under the transfer lock. For a
  // device-to-host packet `output` receives the answer and must be exactly as long as the answer
  // should be; for a host-to-device packet it is not used. Every write is followed by a 1 ms pause
  // and every read by a yield, which paces the mouse. Ok; NotFound when the link is not open;
  // BadData when a read answered another number of bytes; else the driver's error. A failed
  // transfer never closes the link.
  [[nodiscard]] Result Transfer(const SetupPacket& packet, std::span<std::uint8_t> output);

  // Register access through Transfer; NotFound when the link is not open. A failed read leaves
  // `value` as it was.
  [[nodiscard]] Result ReadRegister(std::uint8_t reg, std::uint8_t& value);
  [[nodiscard]] Result WriteRegister(std::uint8_t reg, std::uint8_t value);

  // Sends a request (interception table, report rate) to the mouse filter. NotFound when the link
  // is not open, else the driver's answer. User-interface thread.
  [[nodiscard]] Result MouseFilterControl(std::uint32_t code, std::span<const std::uint8_t> input);

  // The value that names event `index` (0..5) of this connection to the mouse filter; 0 while the
  // link is closed.
  std::int64_t EventDriverValue(std::size_t index) const;

  // Installs where button events go (none: dropped). When it returns, the previous callback is not
  // running and will not run again.
  // Lock order: the callback lock is taken before any lock the callback takes.
  void SetEventCallback(EventCallback callback);

  // The liveness probe: false when the link is not open or the mouse is gone.
  bool IsMousePresent() { return collection_.IsPresent(); }

  // The register image: the host's one copy of the mouse's registers, read at the last open and
  // set up, then changed by the device commands as they write. A register that could not be read
  // keeps what the image held. User-interface thread.
  const RegisterBank& RegisterCache() const { return registerCache_; }
  RegisterBank& RegisterCache() { return registerCache_; }
  // Model variant 0 (not identified), 1 or 2; which register holds which button's function.
  int ModelVariant() const { return modelVariant_; }
  const ButtonRegisterMap& ButtonRegisters() const { return buttonRegisters_; }

  const HidCollection& Collection() const { return collection_; }

 private:
  [[nodiscard]] Result FindMouseCollection();
  [[nodiscard]] Result RunSequence(std::span<const SetupPacket> steps);
  void ReadAllRegisters();
  void SetUpRegistersAtOpen();
  void SendTranslationTable();
  void OnReport(bool ok, std::span<const std::uint8_t> report);
  void RunEventWorker(std::stop_token stop, DeviceEventSet& events);
  void Deliver(int pressed, std::uint16_t code);

  DeviceIo& io_;
  HidEnumerator& enumerator_;
  std::unique_ptr<DriverEndpoint> mouseFilter_;
  ButtonRegisterMap buttonRegisters_{};
  RegisterBank registerCache_{};
  HidCollection collection_;
  std::atomic<bool> open_{false};
  int modelVariant_ = kVariantUnknown;
  std::mutex transferMutex_;  // guards hidFilter_ and transferKey_; held across each transfer
  std::unique_ptr<DriverEndpoint> hidFilter_;
  std::string transferKey_;  // the collection's driver key: which device a transfer is for
  // Lock order: callbackMutex_ is taken before whatever the callback locks.
  std::mutex callbackMutex_;  // guards callback_; held while it runs
  EventCallback callback_;
  std::unique_ptr<DeviceEventSet> events_;  // this connection's; none while closed
  std::jthread eventWorker_;
};

}  // namespace vexlo
