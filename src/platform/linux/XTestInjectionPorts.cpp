#include "platform/linux/XTestInjectionPorts.h"

#include "platform/linux/XTestInjectionDevice.h"

namespace vexlo {

Result XTestInjectionEnumerator::ListInterfacePaths(std::vector<std::string>& paths) {
  const Result r = inner_->ListInterfacePaths(paths);
  // Listed last, so that a device of the machine's own comes first.
  paths.emplace_back(kXTestInjectionPath);
  return r == Result::HidEnumerationFailed ? Result::Ok : r;
}

Result XTestInjectionDeviceIo::OpenHid(std::string_view path, const HidOpenOptions& options,
                                       std::unique_ptr<HidDevice>& device) {
  if (path != kXTestInjectionPath) return inner_->OpenHid(path, options, device);
  if (!options.write) return Result::AccessDenied;
  std::unique_ptr<XTestInjectionDevice> xtest = XTestInjectionDevice::Open();
  if (!xtest) return Result::FileNotFound;
  device = std::move(xtest);
  return Result::Ok;
}

}  // namespace vexlo
