#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/Result.h"
#include "platform/ports/DeviceIo.h"
#include "platform/ports/HidEnumerator.h"

namespace vexlo {

// Replaces `paths` with the paths of every HID interface present, in the platform's order.
// Ok, or HidEnumerationFailed.
[[nodiscard]] Result EnumerateHidPaths(HidEnumerator& enumerator, std::vector<std::string>& paths);

// What identifies a HID collection: the device's vendor and product, the collection's usage.
struct HidCollectionId {
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t usagePage;
  std::uint16_t usage;
};

class HidCollection;

// Opens in `collection` the first HID interface, in the platform's order, whose path names the
// device and whose attributes and capabilities match `id`. Ok; NotFound when none does (the
// collection is then closed); HidEnumerationFailed.
[[nodiscard]] Result OpenFirstCollection(HidEnumerator& enumerator, const HidCollectionId& id,
                                         bool write, bool overlapped, HidCollection& collection);

// One opened HID top-level collection: the mouse's consumer-control collection, or the injection
// device. It knows where the collection sits in the device tree (the driver key that names the
// mouse to the HID filter) and can run a reader thread that hands every input report to a
// callback.
//
// Open, close, node resolution and the probe run on one thread (the user-interface thread); the
// reader runs on its own thread, owned by this object.
class HidCollection {
 public:
  // The reader's callback, on the reader's thread: (true, report) for each input report;
  // (false, empty) once when reading ends, because the collection closed or the device went away.
  // It must not call back into this collection.
  using ReportCallback = std::function<void(bool ok, std::span<const std::uint8_t> report)>;

  HidCollection(DeviceIo& io, HidEnumerator& enumerator);
  ~HidCollection();
  HidCollection(const HidCollection&) = delete;
  HidCollection& operator=(const HidCollection&) = delete;

  // Stores the path (limited to 259 UTF-16 units) and the options (read access always, shared
  // for reading and writing), closes what is open and opens the collection, reading its
  // attributes and capabilities and the interface and collection numbers of the path. Ok, or the
  // platform's error, in which case the collection is closed.
  [[nodiscard]] Result OpenPath(std::string_view path, bool write, bool overlapped);

  // Stops and joins the reader, forgets the resolved device nodes and closes the collection. The
  // path stays.
  void Close();

  bool IsOpen() const { return device_ != nullptr; }

  // Finds the collection's node, its parent's driver key and the USB device above it (for an
  // interface of a composite device the parent's parent, else the parent). Ok (at once when done
  // before), NotFound when the collection is not open, or the platform's error; a failed step
  // leaves the node unresolved and keeps what the steps before it found.
  [[nodiscard]] Result ResolveDeviceNode();

  // Starts the reader, unless one runs; the callback replaces the previous one either way. Ok, or
  // NotFound when the collection is not open, NothingToActOn when it has no input reports.
  [[nodiscard]] Result StartReader(ReportCallback callback);

  // True while the reader thread runs.
  bool ReaderRunning() const { return readerRunning_.load(); }

  // The liveness probe: false when the collection is not open or the platform says the device is
  // gone, true otherwise.
  bool IsPresent();

  // Drops queued input reports. Ok, NotFound when not open, or the platform's error.
  [[nodiscard]] Result FlushQueue();

  // Writes one output report. NotFound when not open, else as HidDevice::WriteOutputReport.
  [[nodiscard]] Result WriteOutputReport(std::span<const std::uint8_t> report);

  const std::string& Path() const { return path_; }
  const HidOpenOptions& Options() const { return options_; }
  const HidAttributes& Attributes() const { return attributes_; }
  const HidCapabilities& Capabilities() const { return capabilities_; }
  std::uint32_t InterfaceNumber() const { return interfaceNumber_; }
  std::uint32_t CollectionNumber() const { return collectionNumber_; }
  bool NodeResolved() const { return nodeResolved_; }
  const std::string& CollectionInstanceId() const { return collectionInstanceId_; }
  const std::string& UsbDeviceInstanceId() const { return usbDeviceInstanceId_; }
  const std::string& DriverKey() const { return driverKey_; }
  DeviceNode CollectionNode() const { return collectionNode_; }
  DeviceNode UsbDeviceNode() const { return usbDeviceNode_; }

 private:
  void RunReader(std::stop_token stop);
  ReportCallback CurrentCallback();
  void StopReader();

  DeviceIo& io_;
  HidEnumerator& enumerator_;
  std::unique_ptr<HidDevice> device_;
  std::string path_;
  HidAttributes attributes_;
  HidCapabilities capabilities_;
  std::uint32_t interfaceNumber_ = 0;
  std::uint32_t collectionNumber_ = 0;
  std::vector<std::uint8_t> inputBuffer_;  // the reader's alone while it runs
  bool nodeResolved_ = false;
  std::string collectionInstanceId_;
  std::string usbDeviceInstanceId_;
  std::string driverKey_;
  DeviceNode collectionNode_ = 0;
  DeviceNode usbDeviceNode_ = 0;
  HidOpenOptions options_;
  std::mutex callbackMutex_;  // guards callback_
  ReportCallback callback_;
  std::atomic<bool> readerRunning_{false};
  std::jthread reader_;
};

}  // namespace vexlo
