#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/linux/ButtonReportTranslation.h"
#include "platform/linux/HidReportDescriptor.h"
#include "platform/linux/LinuxHidPath.h"
#include "platform/linux/UniqueFd.h"
#include "platform/ports/HidDevice.h"

namespace vexlo {

// Reads the report descriptor of an open hidraw node (HIDIOCGRDESCSIZE, HIDIOCGRDESC) and the
// collections it declares. BadData for a descriptor that cannot be parsed, else the platform's
// error.
[[nodiscard]] Result ReadHidrawLayout(int fd, HidDescriptorLayout& layout);

// One top-level collection of a hidraw node, as the HidDevice port. The node carries every
// collection of its interface; reads pass on only the input reports whose ID belongs to this
// collection, with the report ID byte first as the platform's HID class gives them (0 when the
// descriptor uses no IDs).
//
// Reads poll the node together with a wake-up descriptor, so StopReads ends a waiting read at once.
// The liveness probe asks the kernel about the node (HIDIOCGRAWINFO), which fails with ENODEV once
// the device has gone. Sharing modes do not exist for hidraw: `exclusive` is ignored.
class HidrawDevice final : public HidDevice {
 public:
  // Opens the collection `path` names. Ok; FileNotFound when the node or the collection does not
  // exist; AccessDenied when this user may not open the node; else the platform's error.
  // `translation`, when given, rewrites the 3-byte reports (the mouse's consumer collection).
  [[nodiscard]] static Result Open(const LinuxHidPath& path, const HidOpenOptions& options,
                                   std::shared_ptr<const ButtonReportTranslation> translation,
                                   std::unique_ptr<HidDevice>& device);

  const HidAttributes& Attributes() const override { return attributes_; }
  const HidCapabilities& Capabilities() const override { return capabilities_; }
  Result ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) override;
  void StopReads() override;
  Result WriteOutputReport(std::span<const std::uint8_t> report) override;
  Result SetFeature(std::span<const std::uint8_t> report) override;
  Result FlushQueue() override;

 private:
  HidrawDevice(UniqueFd node, UniqueFd wake) : node_(std::move(node)), wake_(std::move(wake)) {}
  // True when a report read from the node belongs to this collection.
  bool Owns(std::span<const std::uint8_t> raw) const;

  UniqueFd node_;
  UniqueFd wake_;  // an eventfd, readable once StopReads was called
  std::atomic<bool> stopped_{false};
  HidOpenOptions options_;
  HidAttributes attributes_;
  HidCapabilities capabilities_;
  bool usesReportIds_ = false;
  std::vector<std::uint8_t> inputReportIds_;
  std::shared_ptr<const ButtonReportTranslation> translation_;
  std::vector<std::uint8_t> readBuffer_;  // the reader's alone
};

}  // namespace vexlo
