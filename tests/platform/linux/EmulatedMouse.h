#pragma once

#include <linux/input.h>
#include <umockdev.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/UniqueFd.h"
#include "platform/sim/SimState.h"

namespace vexlo::test {

// The mouse as the kernel shows it, emulated in user space with umockdev (the test program runs
// under umockdev-wrapper): its sysfs tree (USB device, two interfaces, a HID device with its
// hidraw node below each, the pointer's event node), uevents when it is plugged and unplugged, and
// the answers of its nodes. Vendor control transfers on the usbfs node (as libusb submits and reaps
// them) are answered by the firmware of the simulated mouse, so its 32 registers behave exactly as
// vexlo-sim's do. The hidraw nodes answer the kernel's queries (descriptor, identity) and carry the
// reports the test sends; once unplugged, every node opened before fails as the kernel's do. The
// pointer's event node answers evdev's queries and the grab and carries the events the test sends;
// /dev/uinput takes the devices the program makes and hands the test what they send.
class EmulatedMouse {
 public:
  static constexpr const char* kUsbNode = "/dev/bus/usb/001/004";
  static constexpr const char* kPointerNode = "/dev/hidraw0";
  static constexpr const char* kButtonNode = "/dev/hidraw1";
  static constexpr const char* kEventNode = "/dev/input/event5";
  static constexpr const char* kUinputNode = "/dev/uinput";
  static constexpr const char* kPointerName = "PixArt USB Optical Mouse";  // its input device's

  explicit EmulatedMouse(SimMouse mouse = SimMouse::FactoryNew(2));
  ~EmulatedMouse();
  EmulatedMouse(const EmulatedMouse&) = delete;
  EmulatedMouse& operator=(const EmulatedMouse&) = delete;

  // Adds or removes the mouse's devices, with their uevents.
  void Plug();
  void Unplug();
  // The next vendor transfer finds the mouse gone and fails as the kernel fails it.
  void VanishDuringNextTransfer();

  // One input report of the button interface (report ID first), as the mouse sends it.
  void SendButtonReport(std::span<const std::uint8_t> report);

  // Events of the mouse's pointer, as the kernel reads them from the mouse (end with SYN_REPORT).
  void SendPointerEvents(std::span<const input_event> events);
  // What the program's uinput devices sent, once there are `count` events; fewer when they do not
  // come within the patience of the tests.
  std::vector<input_event> TakeUinputEvents(std::size_t count);
  bool Grabbed() const;
  // The names of the uinput devices that exist.
  std::vector<std::string> UinputDevices() const;

  SimMouse Mouse() const;
  std::uint64_t Transfers() const;
  std::string InterfaceSyspath(int interface) const;

 private:
  static gboolean OnIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, gpointer self);
  static void OnClientConnected(UMockdevIoctlBase* handler, UMockdevIoctlClient* client,
                                gpointer self);
  bool AnswerUsb(UMockdevIoctlClient* client, unsigned long request);
  bool AnswerHidraw(UMockdevIoctlClient* client, unsigned long request, int interface);
  bool AnswerEvdev(UMockdevIoctlClient* client, unsigned long request);
  bool AnswerUinput(UMockdevIoctlClient* client, unsigned long request);
  std::string Add(const char* subsystem, const std::string& name, const std::string& parent,
                  std::vector<const char*> attributes, std::vector<const char*> properties);
  void MakeFifo(const char* node, UniqueFd& writer);

  UMockdevTestbed* testbed_;
  UMockdevIoctlBase* handler_;
  std::string root_;
  std::vector<std::string> devices_;  // added, parents first
  UniqueFd pointerWriter_;
  UniqueFd buttonWriter_;
  UniqueFd eventWriter_;
  UniqueFd uinputReader_;

  mutable std::mutex mutex_;  // guards everything below; taken by umockdev's thread
  SimMouse mouse_;
  bool plugged_ = false;
  std::uint64_t generation_ = 0;  // counts plug-ins; nodes opened earlier are gone
  bool vanishDuringTransfer_ = false;
  std::uint64_t transfers_ = 0;
  std::deque<unsigned long> finished_;  // URBs answered and not reaped yet (client addresses)
  bool grabbed_ = false;
  std::vector<std::pair<UMockdevIoctlClient*, std::string>> uinputDevices_;  // made, not destroyed
};

}  // namespace vexlo::test
