#include "device/HidCollection.h"

#include <algorithm>

#include "common/RealtimeThread.h"
#include "common/Text.h"
#include "device/HidPath.h"

namespace vexlo {

Result EnumerateHidPaths(HidEnumerator& enumerator, std::vector<std::string>& paths) {
  if (enumerator.ListInterfacePaths(paths) != Result::Ok) {
    paths.clear();
    return Result::HidEnumerationFailed;
  }
  return Result::Ok;
}

Result OpenFirstCollection(HidEnumerator& enumerator, const HidCollectionId& id, bool write,
                           bool overlapped, HidCollection& collection) {
  std::vector<std::string> paths;
  if (const Result listed = EnumerateHidPaths(enumerator, paths); listed != Result::Ok) {
    return listed;
  }
  for (const std::string& path : paths) {
    if (!PathNamesDevice(path, id.vendorId, id.productId)) continue;
    if (collection.OpenPath(path, write, overlapped) == Result::Ok &&
        collection.Attributes().vendorId == id.vendorId &&
        collection.Attributes().productId == id.productId &&
        collection.Capabilities().usagePage == id.usagePage &&
        collection.Capabilities().usage == id.usage) {
      return Result::Ok;
    }
    collection.Close();
  }
  return Result::NotFound;
}

HidCollection::HidCollection(DeviceIo& io, HidEnumerator& enumerator)
    : io_(io), enumerator_(enumerator) {}

HidCollection::~HidCollection() {
  Close();
}

Result HidCollection::OpenPath(std::string_view path, bool write, bool overlapped) {
  path_ = TruncateToBuffer(path);
  options_ =
      HidOpenOptions{.read = true, .write = write, .overlapped = overlapped, .exclusive = false};
  Close();
  std::unique_ptr<HidDevice> device;
  if (const Result r = io_.OpenHid(path_, options_, device); r != Result::Ok) return r;
  device_ = std::move(device);
  attributes_ = device_->Attributes();
  capabilities_ = device_->Capabilities();
  interfaceNumber_ = InterfaceNumberOf(path_);
  collectionNumber_ = CollectionNumberOf(path_);
  return Result::Ok;
}

void HidCollection::Close() {
  StopReader();
  inputBuffer_.clear();
  inputBuffer_.shrink_to_fit();
  nodeResolved_ = false;
  device_.reset();
}

void HidCollection::StopReader() {
  if (!reader_.joinable()) return;
  reader_.request_stop();
  device_->StopReads();  // the reader only runs while the device is open
  reader_.join();
}

Result HidCollection::ResolveDeviceNode() {
  if (!device_) return Result::NotFound;
  if (nodeResolved_) return Result::Ok;
  DeviceNode node = 0;
  std::string text;
  if (const Result r = enumerator_.InterfaceNode(path_, node); r != Result::Ok) return r;
  if (const Result r = enumerator_.NodeInstanceId(node, text); r != Result::Ok) return r;
  collectionInstanceId_ = TruncateToBuffer(text);
  collectionNode_ = node;
  DeviceNode parent = 0;
  if (const Result r = enumerator_.ParentNode(node, parent); r != Result::Ok) return r;
  if (const Result r = enumerator_.NodeDriverKey(parent, text); r != Result::Ok) return r;
  driverKey_ = TruncateToBuffer(text);
  // An interface of a composite device sits below the USB interface node, which sits below the
  // USB device; a collection of a plain device sits right below the USB device.
  DeviceNode usbDevice = parent;
  if (ContainsNoCase(path_, "&mi_")) {
    if (const Result r = enumerator_.ParentNode(parent, usbDevice); r != Result::Ok) return r;
  }
  if (const Result r = enumerator_.NodeInstanceId(usbDevice, text); r != Result::Ok) return r;
  usbDeviceInstanceId_ = TruncateToBuffer(text);
  usbDeviceNode_ = usbDevice;
  nodeResolved_ = true;
  return Result::Ok;
}

Result HidCollection::StartReader(ReportCallback callback) {
  if (!device_) return Result::NotFound;
  if (capabilities_.inputReportLength == 0) return Result::NothingToActOn;
  if (inputBuffer_.empty()) inputBuffer_.assign(capabilities_.inputReportLength, 0);
  {
    std::scoped_lock lock(callbackMutex_);
    callback_ = std::move(callback);
  }
  if (readerRunning_.load()) return Result::Ok;
  if (reader_.joinable()) reader_.join();  // it ended on its own after a failed read
  readerRunning_.store(true);
  reader_ = std::jthread([this](std::stop_token stop) { RunReader(stop); });
  return Result::Ok;
}

HidCollection::ReportCallback HidCollection::CurrentCallback() {
  std::scoped_lock lock(callbackMutex_);
  return callback_;
}

void HidCollection::RunReader(std::stop_token stop) {
  (void)EnterRealtime("report reader");  // refused, it reads all the same
  for (;;) {
    std::size_t got = 0;
    const Result r = stop.stop_requested() ? Result::OperationAborted
                                           : device_->ReadInputReport(inputBuffer_, got);
    const ReportCallback callback = CurrentCallback();
    if (r != Result::Ok) {
      // Not running any more from here on: a new start waits for this last call and begins anew.
      readerRunning_.store(false);
      if (callback) callback(false, {});
      return;
    }
    const std::size_t length = std::min(got, inputBuffer_.size());
    if (callback) callback(true, std::span<const std::uint8_t>(inputBuffer_.data(), length));
  }
}

bool HidCollection::IsPresent() {
  return device_ && device_->SetFeature({}) != Result::DeviceNotConnected;
}

Result HidCollection::FlushQueue() {
  return device_ ? device_->FlushQueue() : Result::NotFound;
}

Result HidCollection::WriteOutputReport(std::span<const std::uint8_t> report) {
  return device_ ? device_->WriteOutputReport(report) : Result::NotFound;
}

}  // namespace vexlo
