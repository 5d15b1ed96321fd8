#include "platform/sim/SimEnvironment.h"

#include <cstring>

#include "common/Text.h"
#include "platform/sim/SimInjectionDecoder.h"
#include "platform/sim/SimMouseFirmware.h"

namespace vexlo {
namespace {

constexpr std::string_view kHidFilterName = "hidfiltr_QN5K8W";
constexpr std::string_view kMouseFilterName = "moufiltr_QN5K8W";

constexpr std::uint32_t kIoctlVendorTransfer = 0x222010;
constexpr std::uint32_t kIoctlTranslationTable = 0x222118;
constexpr std::uint32_t kIoctlButtonInterception = 0x222114;
constexpr std::uint32_t kIoctlReportRate = 0x222294;

constexpr std::size_t kTransferRequestSize = 528;
constexpr std::size_t kTransferKeyBytes = 520;
constexpr std::size_t kTranslationTableSize = 640;
constexpr std::size_t kInterceptRecordSize = 24;
constexpr std::size_t kInterceptRecordCount = 6;
constexpr std::size_t kReportRateRecordSize = 16;

constexpr std::uint8_t kButtonReportId = 0x03;
constexpr int kFirstReportingButton = 3;
constexpr std::size_t kInjectionLogLimit = 10000;

// Little-endian fields of driver requests.
std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::int64_t ReadI64(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
  return static_cast<std::int64_t>(value);
}

// The NUL-terminated UTF-16LE text at the start of a transfer request.
std::string ReadTransferKey(std::span<const std::uint8_t> request) {
  std::u16string key;
  for (std::size_t at = 0; at + 1 < kTransferKeyBytes; at += 2) {
    const auto unit = static_cast<char16_t>(ReadU16(request, at));
    if (unit == 0) break;
    key.push_back(unit);
  }
  return ToUtf8(key);
}

}  // namespace

SimEnvironment::SimEnvironment(SimState initial) : state_(std::move(initial)) {
  state_.open = {};
}

SimState SimEnvironment::State() const {
  std::scoped_lock lock(mutex_);
  SimState state = state_;
  for (const auto& [id, endpoint] : endpoints_) {
    switch (endpoint.kind) {
      case EndpointKind::HidFilter:
        ++state.open.hidFilter;
        break;
      case EndpointKind::MouseFilter:
        ++state.open.mouseFilter;
        break;
      case EndpointKind::Collection:
        ++state.open.hidCollections;
        break;
    }
  }
  return state;
}

bool SimEnvironment::Present(SimDeviceOwner owner) const {
  switch (owner) {
    case SimDeviceOwner::Mouse:
      return state_.mouse.plugged;
    case SimDeviceOwner::Injection:
      return state_.injection.present;
    case SimDeviceOwner::Other:
      return true;
  }
  return false;
}

const SimNode* SimEnvironment::FindNode(DeviceNode id) const {
  for (const SimDeviceGroup& group : SimDeviceGroups(state_.mouse.composite)) {
    for (const SimNode& node : group.nodes) {
      if (node.id == id) return Present(node.owner) ? &node : nullptr;
    }
  }
  return nullptr;
}

const SimInterface* SimEnvironment::FindInterface(std::string_view path) const {
  for (const SimDeviceGroup& group : SimDeviceGroups(state_.mouse.composite)) {
    for (const SimInterface& hid : group.interfaces) {
      if (EqualsNoCase(hid.path, path)) return FindNode(hid.node) ? &hid : nullptr;
    }
  }
  return nullptr;
}

const SimEnvironment::Endpoint* SimEnvironment::FindEndpoint(SimEndpointId id) const {
  const auto it = endpoints_.find(id);
  return it == endpoints_.end() ? nullptr : &it->second;
}

bool SimEnvironment::IsStale(const Endpoint& endpoint) const {
  return endpoint.owner == SimDeviceOwner::Mouse && endpoint.generation != plugGeneration_;
}

// The HID filter knows the mouse by the driver key of its consumer-control collection's parent.
std::string SimEnvironment::MouseDriverKey() const {
  const SimNode* collection = FindNode(kSimButtonCollectionNode);
  const SimNode* parent = collection ? FindNode(collection->parent) : nullptr;
  return parent ? std::string(parent->driverKey) : std::string();
}

Result SimEnvironment::Plug() {
  std::scoped_lock lock(mutex_);
  if (state_.mouse.plugged) return Result::Ok;
  state_.mouse.plugged = true;
  for (const auto& [id, observer] : deviceObservers_) observer(true);
  return Result::Ok;
}

Result SimEnvironment::Unplug() {
  std::scoped_lock lock(mutex_);
  UnplugLocked();
  return Result::Ok;
}

void SimEnvironment::UnplugLocked() {
  if (!state_.mouse.plugged) return;
  for (const auto& [id, observer] : deviceObservers_) observer(false);
  SimMouse& mouse = state_.mouse;
  mouse.plugged = false;
  mouse.pressed = 0;
  mouse.reported = 0;
  mouse.page = 1;
  mouse.sessionKey = 0;
  mouse.awake = false;
  state_.mouseFilter = {};
  state_.hidFilter.translationTable.clear();
  interceptionOwner_ = 0;
  for (auto& [id, endpoint] : endpoints_) {
    if (endpoint.owner == SimDeviceOwner::Mouse && !IsStale(endpoint)) endpoint.listener->OnGone();
  }
  ++plugGeneration_;
}

Result SimEnvironment::Press(int button) {
  std::scoped_lock lock(mutex_);
  return ChangeButton(button, true);
}

Result SimEnvironment::Release(int button) {
  std::scoped_lock lock(mutex_);
  return ChangeButton(button, false);
}

Result SimEnvironment::Click(int button) {
  std::scoped_lock lock(mutex_);
  if (const Result r = ChangeButton(button, true); r != Result::Ok) return r;
  return ChangeButton(button, false);
}

Result SimEnvironment::ChangeButton(int button, bool down) {
  if (button < 0 || button >= kSimButtonCount) return Result::InvalidParameter;
  SimMouse& mouse = state_.mouse;
  if (!mouse.plugged) return Result::DeviceNotConnected;
  const auto bit = static_cast<std::uint8_t>(1u << button);
  if (((mouse.pressed & bit) != 0) == down) return Result::Ok;
  mouse.pressed = static_cast<std::uint8_t>(down ? mouse.pressed | bit : mouse.pressed & ~bit);

  if (button < kFirstReportingButton) {
    SignalInterception(static_cast<std::size_t>(button) * 2 + (down ? 0 : 1));
    return Result::Ok;
  }
  if (!down) {
    if (mouse.reported & bit) {
      mouse.reported = static_cast<std::uint8_t>(mouse.reported & ~bit);
      SendButtonReport(0);
    }
    return Result::Ok;
  }
  const std::uint8_t function = ButtonFunction(mouse, button);
  const SimButtonAction action = ButtonAction(function);
  if (action.reportCode != 0) {
    mouse.reported = static_cast<std::uint8_t>(mouse.reported | bit);
    SendButtonReport(action.reportCode);
  } else {
    mouse.level = NextLevel(mouse.level, action);
  }
  return Result::Ok;
}

void SimEnvironment::SignalInterception(std::size_t record) {
  const auto& table = state_.mouseFilter.interception;
  if (!table || !(*table)[record].enabled) return;  // the click goes on as a plain click
  if (const Endpoint* owner = FindEndpoint(interceptionOwner_)) {
    owner->listener->OnEventSignalled((*table)[record].eventValue);
  }
}

void SimEnvironment::SendButtonReport(std::uint16_t code) {
  const std::array<std::uint8_t, 3> report = {kButtonReportId,
                                              static_cast<std::uint8_t>(code & 0xFF),
                                              static_cast<std::uint8_t>(code >> 8)};
  for (const auto& [id, endpoint] : endpoints_) {
    if (endpoint.kind == EndpointKind::Collection && !IsStale(endpoint) &&
        endpoint.collection->node == kSimButtonCollectionNode && endpoint.options.read) {
      endpoint.listener->OnInputReport(report);
    }
  }
}

void SimEnvironment::SetFaults(const SimFaults& faults) {
  std::scoped_lock lock(mutex_);
  state_.faults = faults;
}

void SimEnvironment::SetDrivers(const SimDrivers& drivers) {
  std::scoped_lock lock(mutex_);
  state_.drivers = drivers;
}

void SimEnvironment::SetForeground(std::optional<std::string> path) {
  std::scoped_lock lock(mutex_);
  state_.desktop.foreground = std::move(path);
}

void SimEnvironment::ClearInjected() {
  std::scoped_lock lock(mutex_);
  state_.injection.log.clear();
}

std::uint64_t SimEnvironment::AddInjectionObserver(InjectionObserver observer) {
  std::scoped_lock lock(mutex_);
  const std::uint64_t id = nextObserver_++;
  for (const std::string& line : state_.injection.log) observer(line);
  observers_.emplace(id, std::move(observer));
  return id;
}

void SimEnvironment::RemoveInjectionObserver(std::uint64_t id) {
  std::scoped_lock lock(mutex_);
  observers_.erase(id);
}

std::uint64_t SimEnvironment::AddDeviceObserver(DeviceObserver observer) {
  std::scoped_lock lock(mutex_);
  const std::uint64_t id = nextObserver_++;
  deviceObservers_.emplace(id, std::move(observer));
  return id;
}

void SimEnvironment::RemoveDeviceObserver(std::uint64_t id) {
  std::scoped_lock lock(mutex_);
  deviceObservers_.erase(id);
}

void SimEnvironment::AppendInjected(std::vector<std::string> lines) {
  std::vector<std::string>& log = state_.injection.log;
  for (std::string& line : lines) {
    for (const auto& [id, observer] : observers_) observer(line);
    log.push_back(std::move(line));
  }
  if (log.size() > kInjectionLogLimit) {
    log.erase(log.begin(),
              log.begin() + static_cast<std::ptrdiff_t>(log.size() - kInjectionLogLimit));
  }
}

Result SimEnvironment::ListHidPaths(std::vector<std::string>& paths) {
  std::scoped_lock lock(mutex_);
  paths.clear();
  for (const SimDeviceGroup& group : SimDeviceGroups(state_.mouse.composite)) {
    for (const SimInterface& hid : group.interfaces) {
      if (FindNode(hid.node)) paths.emplace_back(hid.path);
    }
  }
  return Result::Ok;
}

Result SimEnvironment::InterfaceNode(std::string_view path, DeviceNode& node) {
  std::scoped_lock lock(mutex_);
  const SimInterface* hid = FindInterface(path);
  if (!hid) return Result::NotFound;
  node = hid->node;
  return Result::Ok;
}

Result SimEnvironment::ParentNode(DeviceNode node, DeviceNode& parent) {
  std::scoped_lock lock(mutex_);
  const SimNode* found = FindNode(node);
  if (!found || found->parent == 0) return Result::NotFound;
  parent = found->parent;
  return Result::Ok;
}

Result SimEnvironment::NodeText(DeviceNode node, std::string_view SimNode::*field,
                                std::string& text) {
  std::scoped_lock lock(mutex_);
  const SimNode* found = FindNode(node);
  if (!found) return Result::NotFound;
  text = found->*field;
  return Result::Ok;
}

Result SimEnvironment::NodeInstanceId(DeviceNode node, std::string& id) {
  return NodeText(node, &SimNode::instanceId, id);
}

Result SimEnvironment::NodeDriverKey(DeviceNode node, std::string& key) {
  return NodeText(node, &SimNode::driverKey, key);
}

Result SimEnvironment::OpenDriver(std::string_view name, SimEndpointListener& listener,
                                  SimEndpointId& id) {
  std::scoped_lock lock(mutex_);
  EndpointKind kind;
  if (EqualsNoCase(name, kHidFilterName) && state_.drivers.hidFilter) {
    kind = EndpointKind::HidFilter;
  } else if (EqualsNoCase(name, kMouseFilterName) && state_.drivers.mouseFilter) {
    kind = EndpointKind::MouseFilter;
  } else {
    return Result::FileNotFound;
  }
  id = nextEndpoint_++;
  endpoints_.emplace(id, Endpoint{.kind = kind, .listener = &listener, .options = {}});
  return Result::Ok;
}

Result SimEnvironment::OpenHid(std::string_view path, const HidOpenOptions& options,
                               SimEndpointListener& listener, SimEndpointId& id, SimHidInfo& info) {
  std::scoped_lock lock(mutex_);
  const SimInterface* hid = FindInterface(path);
  if (!hid) return Result::FileNotFound;
  if (hid->systemOwned) return Result::AccessDenied;
  const SimNode* node = FindNode(hid->node);
  id = nextEndpoint_++;
  endpoints_.emplace(id, Endpoint{.kind = EndpointKind::Collection,
                                  .listener = &listener,
                                  .collection = hid,
                                  .owner = node->owner,
                                  .generation = plugGeneration_,
                                  .options = options});
  info = hid->info;
  return Result::Ok;
}

void SimEnvironment::CloseEndpoint(SimEndpointId id) {
  std::scoped_lock lock(mutex_);
  const Endpoint* endpoint = FindEndpoint(id);
  if (endpoint && endpoint->kind == EndpointKind::Collection && endpoint->options.write &&
      endpoint->collection->node == kSimInjectionNode) {
    // As the kernel does for an input device whose program has gone: nothing stays held.
    std::vector<std::string> released;
    ReleaseEverythingHeld(state_.injection, released);
    if (!released.empty()) AppendInjected(std::move(released));
  }
  endpoints_.erase(id);
  if (id == interceptionOwner_) {
    // The driver forgets the events of a handle that is closed.
    interceptionOwner_ = 0;
    state_.mouseFilter.interception.reset();
  }
}

Result SimEnvironment::IoControl(SimEndpointId id, std::uint32_t code,
                                 std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output, std::size_t& returned) {
  std::scoped_lock lock(mutex_);
  returned = 0;
  const Endpoint* endpoint = FindEndpoint(id);
  if (!endpoint) return Result::InvalidHandle;
  switch (endpoint->kind) {
    case EndpointKind::HidFilter:
      return HidFilterControl(code, input, output, returned);
    case EndpointKind::MouseFilter:
      return MouseFilterControl(id, code, input);
    case EndpointKind::Collection:
      return Result::InvalidFunction;
  }
  return Result::InvalidFunction;
}

Result SimEnvironment::HidFilterControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                        std::span<std::uint8_t> output, std::size_t& returned) {
  if (code == kIoctlVendorTransfer) {
    if (input.size() != kTransferRequestSize) return Result::InvalidParameter;
    return VendorTransfer(input, output, returned);
  }
  if (code == kIoctlTranslationTable) {
    if (input.size() != kTranslationTableSize) return Result::InvalidParameter;
    if (!state_.mouse.plugged) return Result::DeviceNotConnected;
    state_.hidFilter.translationTable.assign(input.begin(), input.end());
    return Result::Ok;
  }
  return Result::InvalidFunction;
}

Result SimEnvironment::VendorTransfer(std::span<const std::uint8_t> request,
                                      std::span<std::uint8_t> output, std::size_t& returned) {
  ++state_.hidFilter.transfers;
  SimFaults& faults = state_.faults;
  const bool faultsWait = faults.passTransfers > 0;
  if (faultsWait) --faults.passTransfers;
  if (!faultsWait && faults.unplugDuringTransfer) {
    faults.unplugDuringTransfer = false;
    UnplugLocked();
    return Result::DeviceNotConnected;
  }
  if (!faultsWait && faults.failTransfers > 0) {
    --faults.failTransfers;
    return faults.failWith;
  }
  if (!state_.mouse.plugged) return Result::DeviceNotConnected;
  if (!EqualsNoCase(ReadTransferKey(request), MouseDriverKey())) return Result::NoSuchDevice;

  const auto setup = request.subspan<kTransferKeyBytes, 8>();
  const bool isRead = (setup[0] & 0x80) != 0;
  if (isRead && output.size() < ReadU16(setup, 6)) return Result::InsufficientBuffer;
  const Result result = AnswerControlTransfer(state_.mouse, setup, output, returned);
  if (result == Result::Ok && isRead && !faultsWait && faults.shortAnswers > 0) {
    --faults.shortAnswers;
    returned = 0;
  }
  return result;
}

Result SimEnvironment::MouseFilterControl(SimEndpointId id, std::uint32_t code,
                                          std::span<const std::uint8_t> input) {
  if (code == kIoctlButtonInterception) {
    if (input.size() != kInterceptRecordSize * kInterceptRecordCount) {
      return Result::InvalidParameter;
    }
    if (!state_.mouse.plugged) return Result::DeviceNotConnected;
    std::array<SimInterceptRecord, kInterceptRecordCount> table;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const auto record = input.subspan(i * kInterceptRecordSize, kInterceptRecordSize);
      table[i] = SimInterceptRecord{.enabled = record[0] != 0,
                                    .action = record[1],
                                    .buttonFlag = ReadU16(record, 4),
                                    .eventValue = ReadI64(record, 16)};
    }
    state_.mouseFilter.interception = table;
    interceptionOwner_ = id;
    return Result::Ok;
  }
  if (code == kIoctlReportRate) {
    if (input.size() != kReportRateRecordSize) return Result::InvalidParameter;
    if (!state_.mouse.plugged) return Result::DeviceNotConnected;
    double factor = 0;
    std::memcpy(&factor, input.data(), sizeof factor);
    if (!(factor > 0 && factor <= 1)) return Result::InvalidParameter;
    state_.mouseFilter.reportRateFactor = factor;
    return Result::Ok;
  }
  return Result::InvalidFunction;
}

const SimEnvironment::Endpoint* SimEnvironment::UsableCollection(SimEndpointId id,
                                                                 Result& failure) const {
  const Endpoint* endpoint = FindEndpoint(id);
  failure = !endpoint                                    ? Result::InvalidHandle
            : endpoint->kind != EndpointKind::Collection ? Result::InvalidFunction
            : IsStale(*endpoint)                         ? Result::DeviceNotConnected
                                                         : Result::Ok;
  return failure == Result::Ok ? endpoint : nullptr;
}

Result SimEnvironment::WriteReport(SimEndpointId id, std::span<const std::uint8_t> report) {
  std::scoped_lock lock(mutex_);
  Result failure = Result::Ok;
  const Endpoint* endpoint = UsableCollection(id, failure);
  if (!endpoint) return failure;
  if (!endpoint->options.write) return Result::AccessDenied;
  const HidCapabilities& caps = endpoint->collection->info.capabilities;
  if (caps.outputReportLength == 0) return Result::InvalidFunction;
  if (report.size() != caps.outputReportLength) return Result::InvalidParameter;
  if (endpoint->collection->node != kSimInjectionNode) return Result::Ok;
  std::vector<std::string> lines;
  if (const Result r = DecodeInjectionReport(state_.injection, report, lines); r != Result::Ok) {
    return r;
  }
  AppendInjected(std::move(lines));
  return Result::Ok;
}

Result SimEnvironment::SetFeature(SimEndpointId id, std::span<const std::uint8_t> report) {
  std::scoped_lock lock(mutex_);
  Result failure = Result::Ok;
  const Endpoint* endpoint = UsableCollection(id, failure);
  if (!endpoint) return failure;
  // As on the real system, a feature report of the wrong size (the empty probe included) is
  // refused by a device that is there.
  const std::uint16_t length = endpoint->collection->info.capabilities.featureReportLength;
  if (length == 0 || report.size() != length) return Result::InvalidParameter;
  return Result::Ok;
}

Result SimEnvironment::GetPointerSettings(SimPointerSettings& settings) {
  std::scoped_lock lock(mutex_);
  settings = state_.desktop.pointer;
  return Result::Ok;
}

Result SimEnvironment::SetPointerSetting(SimPointerSetting which, std::uint32_t value) {
  std::scoped_lock lock(mutex_);
  SimPointerSettings& pointer = state_.desktop.pointer;
  switch (which) {
    case SimPointerSetting::DoubleClickTime:
      pointer.doubleClickTime = value;
      return Result::Ok;
    case SimPointerSetting::PointerSpeed:
      // The desktop refuses speeds outside its scale, as the real one does.
      if (value < 1 || value > 20) return Result::InvalidParameter;
      pointer.pointerSpeed = value;
      return Result::Ok;
    case SimPointerSetting::WheelScrollLines:
      pointer.wheelScrollLines = value;
      return Result::Ok;
  }
  return Result::InvalidParameter;
}

std::optional<std::string> SimEnvironment::ForegroundPath() {
  std::scoped_lock lock(mutex_);
  return state_.desktop.foreground;
}

}  // namespace vexlo
