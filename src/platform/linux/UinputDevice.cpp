#include "platform/linux/UinputDevice.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace vexlo {
namespace {

// Enables an event type and each of its codes.
Result Enable(int fd, unsigned long typeBit, int type, unsigned long codeBit,
              const std::vector<std::uint16_t>& codes) {
  if (codes.empty()) return Result::Ok;
  if (::ioctl(fd, typeBit, type) < 0) return ResultFromErrno(errno);
  for (const std::uint16_t code : codes) {
    if (::ioctl(fd, codeBit, static_cast<int>(code)) < 0) return ResultFromErrno(errno);
  }
  return Result::Ok;
}

}  // namespace

Result UinputDevice::Create(const std::string& uinputNode, const UinputSetup& setup,
                            std::unique_ptr<UinputDevice>& device) {
  UniqueFd node(::open(uinputNode.c_str(), O_WRONLY | O_CLOEXEC));
  if (!node.valid()) return ResultFromErrno(errno);
  const int fd = node.get();
  if (const Result r = Enable(fd, UI_SET_EVBIT, EV_KEY, UI_SET_KEYBIT, setup.keys); r != Result::Ok) {
    return r;
  }
  if (const Result r = Enable(fd, UI_SET_EVBIT, EV_REL, UI_SET_RELBIT, setup.relativeAxes);
      r != Result::Ok) {
    return r;
  }
  if (const Result r = Enable(fd, UI_SET_EVBIT, EV_MSC, UI_SET_MSCBIT, setup.miscellaneous);
      r != Result::Ok) {
    return r;
  }
  uinput_setup identity{};
  identity.id = {.bustype = BUS_VIRTUAL, .vendor = setup.vendorId, .product = setup.productId,
                 .version = 1};
  std::strncpy(identity.name, setup.name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
  if (::ioctl(fd, UI_DEV_SETUP, &identity) < 0 || ::ioctl(fd, UI_DEV_CREATE) < 0) {
    return ResultFromErrno(errno);
  }
  device.reset(new UinputDevice(std::move(node)));
  return Result::Ok;
}

UinputDevice::~UinputDevice() {
  // Closing the node removes the device as well; this says so at once.
  (void)::ioctl(node_.get(), UI_DEV_DESTROY);
}

Result UinputDevice::Emit(std::span<const input_event> events) {
  const std::size_t bytes = events.size_bytes();
  const ssize_t written = ::write(node_.get(), events.data(), bytes);
  if (written < 0) return ResultFromErrno(errno);
  return static_cast<std::size_t>(written) == bytes ? Result::Ok : Result::WriteFault;
}

}  // namespace vexlo
