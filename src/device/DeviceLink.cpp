#include "device/DeviceLink.h"

#include <array>
#include <chrono>
#include <condition_variable>

#include "common/RealtimeThread.h"
#include "device/DriverInterface.h"
#include "device/SplitProbe.h"
#include "device/TranslationTable.h"

namespace vexlo {
namespace {

constexpr std::uint8_t kPageRegister = 0x7F;
constexpr std::uint8_t kSessionRegister = 0x09;  // on page 0
constexpr std::uint8_t kSessionKey = 0x5A;

// Page 0 holds the session registers, page 1 the 32 configuration registers.
constexpr std::array<SetupPacket, 6> kWakeSequence = {
    kWakePacket,
    WriteRegisterPacket(kPageRegister, 0x00),
    WriteRegisterPacket(kSessionRegister, kSessionKey),
    ReadRegisterPacket(0x10),
    ReadRegisterPacket(0x11),
    WriteRegisterPacket(kPageRegister, 0x01),
};

constexpr std::array<SetupPacket, 3> kReleaseSequence = {
    WriteRegisterPacket(kPageRegister, 0x00),
    WriteRegisterPacket(kSessionRegister, 0x00),
    kReleasePacket,
};

constexpr auto kPauseAfterWrite = std::chrono::milliseconds(1);
constexpr auto kRetryAfterFailedWait = std::chrono::seconds(1);

}  // namespace

DeviceLink::DeviceLink(DeviceIo& io, HidEnumerator& enumerator)
    : io_(io), enumerator_(enumerator), collection_(io, enumerator) {}

DeviceLink::~DeviceLink() {
  (void)Close();
}

Result DeviceLink::Open() {
  if (open_.load()) {
    if (IsMousePresent()) return Result::Ok;
    (void)Close();
  }
  // A driver or events made here are closed again by their owners when anything below fails.
  std::unique_ptr<DeviceEventSet> events;
  if (io_.CreateEventSet(kEventCount, events) != Result::Ok) return Result::NotEnoughMemory;
  std::unique_ptr<DriverEndpoint> hidFilter;
  std::unique_ptr<DriverEndpoint> mouseFilter;
  Result opened = io_.OpenDriver(kHidFilterName, hidFilter);
  if (opened == Result::Ok) opened = io_.OpenDriver(kMouseFilterName, mouseFilter);
  if (opened != Result::Ok) {
    return opened == Result::AccessDenied ? Result::AccessDenied : Result::DriverUnavailable;
  }
  if (const Result found = FindMouseCollection(); found != Result::Ok) return found;

  // Without a resolved node, transfers carry whatever key the collection holds.
  (void)collection_.ResolveDeviceNode();
  (void)collection_.FlushQueue();  // reports from before the link opened mean nothing now
  // A collection without input reports has no reader; the link works without button reports.
  (void)collection_.StartReader(
      [this](bool ok, std::span<const std::uint8_t> report) { OnReport(ok, report); });
  {
    std::scoped_lock lock(transferMutex_);
    hidFilter_ = std::move(hidFilter);
    transferKey_ = collection_.DriverKey();
  }
  mouseFilter_ = std::move(mouseFilter);
  events_ = std::move(events);
  open_.store(true);

  (void)RunSequence(kWakeSequence);  // a mouse that does not wake fails the reads below
  ReadAllRegisters();
  SetUpRegistersAtOpen();
  SendTranslationTable();
  eventWorker_ = std::jthread(
      [this, &events = *events_](std::stop_token stop) { RunEventWorker(stop, events); });
  if (!(registerCache_[kHostSetupRegister] & kHostSetupBit)) {
    registerCache_[kHostSetupRegister] |= kHostSetupBit;
    (void)WriteRegister(kHostSetupRegister, registerCache_[kHostSetupRegister]);  // best effort
  }
  return Result::Ok;
}

Result DeviceLink::FindMouseCollection() {
  return OpenFirstCollection(
      enumerator_, {kMouseVendorId, kMouseProductId, kConsumerUsagePage, kConsumerControlUsage},
      /*write=*/false, /*overlapped=*/true, collection_);
}

Result DeviceLink::Close() {
  if (!open_.load()) return Result::Ok;
  if (eventWorker_.joinable()) {
    // The stop token only ends a wait for the events that failed; otherwise the worker leaves when
    // it takes the stop event, after the presses signalled before it.
    events_->Signal(kStopEvent);
    eventWorker_.request_stop();
    eventWorker_.join();
  }
  (void)RunSequence(kReleaseSequence);  // a mouse that is gone cannot be released
  collection_.Close();
  {
    std::scoped_lock lock(transferMutex_);
    hidFilter_.reset();
    transferKey_.clear();
  }
  mouseFilter_.reset();
  events_.reset();
  open_.store(false);
  modelVariant_ = kVariantUnknown;
  return Result::Ok;
}

Result DeviceLink::Transfer(const SetupPacket& packet, std::span<std::uint8_t> output) {
  const bool isRead = IsDeviceToHost(packet);
  Result result = Result::Ok;
  std::size_t returned = 0;
  {
    std::scoped_lock lock(transferMutex_);
    if (!hidFilter_) return Result::NotFound;
    const TransferRequest request = EncodeTransferRequest(transferKey_, packet);
    result = hidFilter_->IoControl(kIoctlVendorTransfer, request,
                                   isRead ? output : std::span<std::uint8_t>(), returned);
  }
  if (isRead) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(kPauseAfterWrite);
  }
  if (result == Result::Ok && isRead && returned != output.size()) return Result::BadData;
  return result;
}

Result DeviceLink::ReadRegister(std::uint8_t reg, std::uint8_t& value) {
  if (!open_.load()) return Result::NotFound;
  std::uint8_t answer = 0;
  const Result result = Transfer(ReadRegisterPacket(reg), std::span(&answer, 1));
  if (result == Result::Ok) value = answer;
  return result;
}

Result DeviceLink::WriteRegister(std::uint8_t reg, std::uint8_t value) {
  if (!open_.load()) return Result::NotFound;
  return Transfer(WriteRegisterPacket(reg, value), {});
}

Result DeviceLink::MouseFilterControl(std::uint32_t code, std::span<const std::uint8_t> input) {
  if (!open_.load() || !mouseFilter_) return Result::NotFound;
  std::size_t returned = 0;
  return mouseFilter_->IoControl(code, input, {}, returned);
}

std::int64_t DeviceLink::EventDriverValue(std::size_t index) const {
  return events_ ? events_->DriverValue(index) : 0;
}

// Each step runs only while the ones before it succeeded and the link is open; values read are
// checked for their length only.
Result DeviceLink::RunSequence(std::span<const SetupPacket> steps) {
  for (const SetupPacket& packet : steps) {
    if (!open_.load()) return Result::NotFound;
    std::uint8_t answer = 0;
    const bool isRead = IsDeviceToHost(packet);
    const Result result =
        Transfer(packet, isRead ? std::span(&answer, 1) : std::span<std::uint8_t>());
    if (result != Result::Ok) return result;
  }
  return Result::Ok;
}

void DeviceLink::ReadAllRegisters() {
  for (std::size_t reg = 0; reg < kRegisterCount; ++reg) {
    // A register that cannot be read keeps what the cache held.
    (void)ReadRegister(static_cast<std::uint8_t>(reg), registerCache_[reg]);
  }
}

void DeviceLink::SetUpRegistersAtOpen() {
  modelVariant_ = IdentifyModelVariant(registerCache_, modelVariant_);
  NormaliseButtonRegisters(registerCache_, modelVariant_);
  buttonRegisters_ = MapButtonRegisters(registerCache_);
}

void DeviceLink::SendTranslationTable() {
  const TranslationTable table = BuildTranslationTable();
  std::size_t returned = 0;
  std::scoped_lock lock(transferMutex_);
  // Nothing depends on the driver taking it.
  if (hidFilter_) (void)hidFilter_->IoControl(kIoctlTranslationTable, table, {}, returned);
}

void DeviceLink::SetEventCallback(EventCallback callback) {
  std::scoped_lock lock(callbackMutex_);
  callback_ = std::move(callback);
}

void DeviceLink::Deliver(int pressed, std::uint16_t code) {
  std::scoped_lock lock(callbackMutex_);
  if (callback_) callback_(pressed, code);
}

void DeviceLink::OnReport(bool ok, std::span<const std::uint8_t> report) {
  if (ok && report.size() != kButtonReportLength) return;  // not a button report
  const std::uint16_t code =
      ok ? static_cast<std::uint16_t>(report[1] | report[2] << 8) : std::uint16_t{0};
  Deliver(ok ? 1 : 0, code);
}

void DeviceLink::RunEventWorker(std::stop_token stop, DeviceEventSet& events) {
  (void)EnterRealtime("device event");  // refused, it delivers all the same
  for (;;) {
    std::size_t index = 0;
    if (events.WaitAny(index) != Result::Ok) {
      std::mutex mutex;
      std::condition_variable_any pause;
      std::unique_lock lock(mutex);
      pause.wait_for(lock, stop, kRetryAfterFailedWait, [] { return false; });
      if (stop.stop_requested()) return;  // its events go with the connection
      continue;
    }
    if (index == kStopEvent) return;
    if (index < kStopEvent) {
      // Even records are presses (left, right, middle), odd ones releases.
      const std::uint16_t code =
          index % 2 == 0 ? static_cast<std::uint16_t>(0x11 + index / 2) : std::uint16_t{0};
      Deliver(1, code);
    }
  }
}

int DeviceLink::ProbeSplit() {
  return SplitProbe(enumerator_, io_);
}

}  // namespace vexlo
