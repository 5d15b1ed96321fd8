#pragma once

#include <memory>

#include "platform/ports/HidEnumerator.h"
#include "platform/sim/SimService.h"

namespace vexlo {

// The HidEnumerator port over a simulated environment.
class SimHidEnumerator final : public HidEnumerator {
 public:
  explicit SimHidEnumerator(std::shared_ptr<SimService> sim) : sim_(std::move(sim)) {}

  Result ListInterfacePaths(std::vector<std::string>& paths) override {
    return sim_->ListHidPaths(paths);
  }
  Result InterfaceNode(std::string_view path, DeviceNode& node) override {
    return sim_->InterfaceNode(path, node);
  }
  Result ParentNode(DeviceNode node, DeviceNode& parent) override {
    return sim_->ParentNode(node, parent);
  }
  Result NodeInstanceId(DeviceNode node, std::string& id) override {
    return sim_->NodeInstanceId(node, id);
  }
  Result NodeDriverKey(DeviceNode node, std::string& key) override {
    return sim_->NodeDriverKey(node, key);
  }

 private:
  std::shared_ptr<SimService> sim_;
};

}  // namespace vexlo
