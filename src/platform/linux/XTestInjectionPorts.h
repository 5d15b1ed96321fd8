#pragma once

#include <memory>

#include "platform/ports/DeviceIo.h"
#include "platform/ports/HidEnumerator.h"

namespace vexlo {

// The interface path under which the XTest injection device is listed and opened.
inline constexpr std::string_view kXTestInjectionPath = "xtest#vid_1bcf&pid_05e3#injection";

// The HID interfaces of `inner` followed by the XTest injection device.
class XTestInjectionEnumerator final : public HidEnumerator {
 public:
  explicit XTestInjectionEnumerator(std::unique_ptr<HidEnumerator> inner)
      : inner_(std::move(inner)) {}

  Result ListInterfacePaths(std::vector<std::string>& paths) override;
  Result InterfaceNode(std::string_view path, DeviceNode& node) override {
    return inner_->InterfaceNode(path, node);
  }
  Result ParentNode(DeviceNode node, DeviceNode& parent) override {
    return inner_->ParentNode(node, parent);
  }
  Result NodeInstanceId(DeviceNode node, std::string& id) override {
    return inner_->NodeInstanceId(node, id);
  }
  Result NodeDriverKey(DeviceNode node, std::string& key) override {
    return inner_->NodeDriverKey(node, key);
  }

 private:
  std::unique_ptr<HidEnumerator> inner_;
};

// The devices of `inner`, and the XTest injection device at kXTestInjectionPath (FileNotFound
// when the X server has no XTest; AccessDenied when not opened for writing).
class XTestInjectionDeviceIo final : public DeviceIo {
 public:
  explicit XTestInjectionDeviceIo(std::unique_ptr<DeviceIo> inner) : inner_(std::move(inner)) {}

  Result OpenDriver(std::string_view name, std::unique_ptr<DriverEndpoint>& endpoint) override {
    return inner_->OpenDriver(name, endpoint);
  }
  Result OpenHid(std::string_view path, const HidOpenOptions& options,
                 std::unique_ptr<HidDevice>& device) override;
  Result CreateEventSet(std::size_t count, std::unique_ptr<DeviceEventSet>& events) override {
    return inner_->CreateEventSet(count, events);
  }

 private:
  std::unique_ptr<DeviceIo> inner_;
};

}  // namespace vexlo
