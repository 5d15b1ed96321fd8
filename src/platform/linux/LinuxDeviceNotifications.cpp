#include "platform/linux/LinuxDeviceNotifications.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <array>
#include <cerrno>
#include <string_view>
#include <thread>

#include "platform/linux/UdevPtrs.h"
#include "platform/linux/UniqueFd.h"

namespace vexlo {
namespace {

class MonitorRegistration final : public ReleaseOnDestroy {
 public:
  MonitorRegistration(UdevPtr udev, UdevMonitorPtr monitor, UniqueFd wake, MessageTarget& window)
      : udev_(std::move(udev)),
        monitor_(std::move(monitor)),
        wake_(std::move(wake)),
        window_(window),
        thread_([this] { Run(); }) {}

  ~MonitorRegistration() override {
    const std::uint64_t one = 1;
    (void)!::write(wake_.get(), &one, sizeof one);  // fails only when already readable
    thread_.join();
  }

 private:
  void Run() {
    const int monitorFd = udev_monitor_get_fd(monitor_.get());
    for (;;) {
      std::array<pollfd, 2> waiting{{{monitorFd, POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
      if (::poll(waiting.data(), waiting.size(), -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (waiting[1].revents != 0) return;
      const UdevDevicePtr device(udev_monitor_receive_device(monitor_.get()));
      if (!device) continue;
      const char* action = udev_device_get_action(device.get());
      const std::string_view change = action ? action : "";
      if (change != "add" && change != "remove") continue;
      // A window that has gone misses nothing it could act on.
      (void)window_.Post(DeviceNotifications::kDeviceChangeMessage,
                         change == "add" ? DeviceNotifications::kArrival
                                         : DeviceNotifications::kRemoveComplete,
                         DeviceNotifications::kHidInterface);
    }
  }

  UdevPtr udev_;
  UdevMonitorPtr monitor_;
  UniqueFd wake_;
  MessageTarget& window_;
  std::thread thread_;  // started last, joined by the destructor
};

}  // namespace

Result LinuxDeviceNotifications::Register(MessageTarget& window,
                                          std::unique_ptr<ReleaseOnDestroy>& registration) {
  UdevPtr udev(udev_new());
  if (!udev) return Result::GeneralFailure;
  UdevMonitorPtr monitor(udev_monitor_new_from_netlink(udev.get(), "udev"));
  if (!monitor ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor.get()) < 0) {
    return Result::GeneralFailure;
  }
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.valid()) return ResultFromErrno(errno);
  registration = std::make_unique<MonitorRegistration>(std::move(udev), std::move(monitor),
                                                       std::move(wake), window);
  return Result::Ok;
}

}  // namespace vexlo
