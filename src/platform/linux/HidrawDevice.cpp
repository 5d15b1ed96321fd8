#include "platform/linux/HidrawDevice.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>

namespace vexlo {
namespace {

constexpr std::size_t kMaxReportSize = 4096;  // the kernel's HID_MAX_BUFFER_SIZE
constexpr int kFlushLimit = 256;

// What a failed call on the node means: a node whose device has gone answers ENODEV (ioctl) or EIO
// (read and write).
Result NodeFailure(int error) {
  return error == EIO || error == ENODEV || error == ENXIO ? Result::DeviceNotConnected
                                                           : ResultFromErrno(error);
}

}  // namespace

Result ReadHidrawLayout(int fd, HidDescriptorLayout& layout) {
  int size = 0;
  if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0) return NodeFailure(errno);
  if (size < 0 || static_cast<std::size_t>(size) > kMaxReportDescriptorSize) return Result::BadData;
  hidraw_report_descriptor descriptor{};
  descriptor.size = static_cast<std::uint32_t>(size);
  if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0) return NodeFailure(errno);
  return ParseReportDescriptor(std::span<const std::uint8_t>(descriptor.value, descriptor.size),
                               layout);
}

Result HidrawDevice::Open(const LinuxHidPath& path, const HidOpenOptions& options,
                          std::shared_ptr<const ButtonReportTranslation> translation,
                          std::unique_ptr<HidDevice>& device) {
  // Reads wait in poll, never in read itself.
  const int access = options.write ? O_RDWR : O_RDONLY;
  UniqueFd node(::open(path.devnode.c_str(), access | O_NONBLOCK | O_CLOEXEC));
  if (!node.valid()) return ResultFromErrno(errno);
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.valid()) return ResultFromErrno(errno);

  hidraw_devinfo info{};
  if (::ioctl(node.get(), HIDIOCGRAWINFO, &info) < 0) return NodeFailure(errno);
  HidDescriptorLayout layout;
  if (const Result r = ReadHidrawLayout(node.get(), layout); r != Result::Ok) return r;
  const std::size_t index = path.collection == 0 ? 0 : path.collection - 1u;
  if (index >= layout.collections.size()) return Result::FileNotFound;
  const HidTopCollection& collection = layout.collections[index];

  std::unique_ptr<HidrawDevice> opened(new HidrawDevice(std::move(node), std::move(wake)));
  opened->options_ = options;
  opened->attributes_ = {.vendorId = static_cast<std::uint16_t>(info.vendor),
                         .productId = static_cast<std::uint16_t>(info.product)};
  opened->capabilities_ = {.usage = collection.usage,
                           .usagePage = collection.usagePage,
                           .inputReportLength = collection.inputReportLength,
                           .outputReportLength = collection.outputReportLength,
                           .featureReportLength = collection.featureReportLength};
  opened->usesReportIds_ = layout.usesReportIds;
  opened->inputReportIds_ = collection.inputReportIds;
  opened->translation_ = std::move(translation);
  opened->readBuffer_.resize(kMaxReportSize);
  device = std::move(opened);
  return Result::Ok;
}

bool HidrawDevice::Owns(std::span<const std::uint8_t> raw) const {
  if (!usesReportIds_) return capabilities_.inputReportLength != 0;
  return std::find(inputReportIds_.begin(), inputReportIds_.end(), raw[0]) !=
         inputReportIds_.end();
}

Result HidrawDevice::ReadInputReport(std::span<std::uint8_t> out, std::size_t& got) {
  got = 0;
  if (!options_.read) return Result::AccessDenied;
  for (;;) {
    if (stopped_.load()) return Result::OperationAborted;
    pollfd waiting[2] = {{node_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
    if (::poll(waiting, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno);
    }
    if (waiting[1].revents != 0) return Result::OperationAborted;
    if (waiting[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return Result::DeviceNotConnected;
    const ssize_t length = ::read(node_.get(), readBuffer_.data(), readBuffer_.size());
    if (length < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return NodeFailure(errno);
    }
    const auto raw = std::span<const std::uint8_t>(readBuffer_.data(), static_cast<std::size_t>(length));
    if (raw.empty() || !Owns(raw)) continue;
    // Without report IDs the platform's reports still start with a report ID byte, 0.
    std::size_t at = 0;
    if (!usesReportIds_ && !out.empty()) out[at++] = 0;
    const std::size_t copied = std::min(raw.size(), out.size() - at);
    std::copy_n(raw.begin(), copied, out.begin() + static_cast<std::ptrdiff_t>(at));
    got = at + copied;
    if (translation_) translation_->Apply(out.first(got));
    return Result::Ok;
  }
}

void HidrawDevice::StopReads() {
  stopped_.store(true);
  const std::uint64_t one = 1;
  // An eventfd write fails only when its counter would overflow, which leaves it readable too.
  (void)!::write(wake_.get(), &one, sizeof one);
}

Result HidrawDevice::WriteOutputReport(std::span<const std::uint8_t> report) {
  if (!options_.write) return Result::AccessDenied;
  if (capabilities_.outputReportLength == 0) return Result::InvalidFunction;
  if (report.size() != capabilities_.outputReportLength) return Result::InvalidParameter;
  // hidraw takes the report number first, 0 when the descriptor uses none, as the platform does.
  const ssize_t written = ::write(node_.get(), report.data(), report.size());
  if (written < 0) return NodeFailure(errno);
  return static_cast<std::size_t>(written) == report.size() ? Result::Ok : Result::WriteFault;
}

Result HidrawDevice::SetFeature(std::span<const std::uint8_t> report) {
  if (report.empty()) {
    hidraw_devinfo info{};
    return ::ioctl(node_.get(), HIDIOCGRAWINFO, &info) < 0 ? NodeFailure(errno) : Result::Ok;
  }
  if (report.size() != capabilities_.featureReportLength) return Result::InvalidParameter;
  std::vector<std::uint8_t> buffer(report.begin(), report.end());
  if (::ioctl(node_.get(), HIDIOCSFEATURE(buffer.size()), buffer.data()) < 0) {
    return NodeFailure(errno);
  }
  return Result::Ok;
}

Result HidrawDevice::FlushQueue() {
  std::vector<std::uint8_t> discard(kMaxReportSize);
  for (int i = 0; i < kFlushLimit; ++i) {
    if (::read(node_.get(), discard.data(), discard.size()) >= 0) continue;
    return errno == EAGAIN ? Result::Ok : NodeFailure(errno);
  }
  return Result::Ok;
}

}  // namespace vexlo
