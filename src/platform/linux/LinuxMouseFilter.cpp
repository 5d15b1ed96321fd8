#include "platform/linux/LinuxMouseFilter.h"

#include "platform/linux/UdevDevices.h"

namespace vexlo {

LinuxMouseFilter::LinuxMouseFilter(std::shared_ptr<DriverEventRegistry> events,
                                   std::string uinputNode)
    : events_(std::move(events)), uinputNode_(std::move(uinputNode)) {}

LinuxMouseFilter::~LinuxMouseFilter() {
  std::scoped_lock lock(requestMutex_);
  forwarder_.reset();
}

Result LinuxMouseFilter::IoControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                   std::span<std::uint8_t>, std::size_t& returned) {
  returned = 0;
  std::scoped_lock lock(requestMutex_);
  PointerRules rules = rules_;
  if (code == filter::kButtonInterception) {
    filter::InterceptTable table;
    if (const Result r = filter::DecodeInterceptTable(input, table); r != Result::Ok) return r;
    {
      std::scoped_lock tableLock(tableMutex_);
      table_ = table;
    }
    for (std::size_t button = 0; button < rules.intercepted.size(); ++button) {
      rules.intercepted[button] = table[2 * button].enabled || table[2 * button + 1].enabled;
    }
  } else if (code == filter::kReportRate) {
    if (const Result r = filter::DecodeReportRate(input, rules.rateFactor); r != Result::Ok) {
      return r;
    }
  } else {
    return Result::InvalidFunction;
  }
  return Apply(rules);
}

Result LinuxMouseFilter::Apply(const PointerRules& rules) {
  rules_ = rules;
  if (!rules.NeedsGrab()) {
    forwarder_.reset();
    return Result::Ok;
  }
  if (forwarder_ && forwarder_->Running()) {
    forwarder_->SetRules(rules);
    return Result::Ok;
  }
  forwarder_.reset();
  const std::optional<std::string> eventNode =
      PointerEventNode(filter::kMouseVendorId, filter::kMouseProductId);
  if (!eventNode) return Result::DeviceNotConnected;
  return PointerForwarder::Start(*eventNode, uinputNode_, rules,
                                 [this](std::size_t record) { OnButton(record); }, forwarder_);
}

void LinuxMouseFilter::OnButton(std::size_t record) {
  filter::InterceptRecord entry;
  {
    std::scoped_lock lock(tableMutex_);
    entry = table_[record];
  }
  if (entry.enabled) events_->Signal(entry.eventValue);
}

}  // namespace vexlo
