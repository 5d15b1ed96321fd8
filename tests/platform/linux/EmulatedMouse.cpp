#include "EmulatedMouse.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/hidraw.h>
#include <linux/uinput.h>
#include <poll.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Inbox.h"
#include "MouseDescriptors.h"
#include "platform/sim/SimMouseFirmware.h"

namespace vexlo::test {
namespace {

// What libusb reads from the usbfs node: the device descriptor and one configuration with the
// two interfaces.
constexpr std::uint8_t kUsbDescriptors[] = {
    18, 1, 0x00, 0x02, 0, 0, 0, 8, 0x3A, 0x09, 0x33, 0x25, 0x00, 0x01, 1, 2, 0, 1,  //
    9, 2, 50, 0, 2, 1, 0, 0xA0, 50,                                                  //
    9, 4, 0, 0, 1, 3, 1, 2, 0, 9, 0x21, 0x11, 0x01, 0, 1, 0x22, 52, 0,               //
    7, 5, 0x81, 3, 8, 0, 1,                                                          //
    9, 4, 1, 0, 1, 3, 0, 0, 0,                                                       //
    7, 5, 0x82, 3, 16, 0, 1};

template <typename T>
T* Resolve(UMockdevIoctlClient* client) {
  GError* error = nullptr;
  UMockdevIoctlData* data =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(T), &error);
  if (error) g_error_free(error);
  return data ? reinterpret_cast<T*>(data->data) : nullptr;
}

void Fail(UMockdevIoctlClient* client, int error) {
  umockdev_ioctl_client_complete(client, -1, error);
}

// The value of an ioctl that takes its argument by value (EVIOCGRAB, UI_SET_EVBIT).
unsigned long ValueArgument(UMockdevIoctlClient* client) {
  unsigned long value = 0;
  std::memcpy(&value, umockdev_ioctl_client_get_arg(client)->data, sizeof value);
  return value;
}

// Fills an ioctl's output buffer of `size` bytes with `bytes` (truncated); returns how many.
int AnswerBytes(UMockdevIoctlClient* client, std::span<const std::uint8_t> bytes, gsize size) {
  GError* error = nullptr;
  UMockdevIoctlData* data =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, size, &error);
  if (error) g_error_free(error);
  const std::size_t copied = std::min<std::size_t>(bytes.size(), size);
  std::fill_n(data->data, size, 0);
  std::copy_n(bytes.begin(), copied, data->data);
  return static_cast<int>(copied);
}

// The pointer's events: five buttons, two axes and the wheel.
std::vector<std::uint8_t> Bits(std::initializer_list<int> codes) {
  std::vector<std::uint8_t> bits;
  for (const int code : codes) {
    const auto at = static_cast<std::size_t>(code);
    if (bits.size() <= at / 8) bits.resize(at / 8 + 1);
    bits[at / 8] = static_cast<std::uint8_t>(bits[at / 8] | 1u << (at % 8));
  }
  return bits;
}

}  // namespace

EmulatedMouse::EmulatedMouse(SimMouse mouse)
    : testbed_(umockdev_testbed_new()), handler_(umockdev_ioctl_base_new()), mouse_(mouse) {
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  root_ = root;
  g_free(root);
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
  g_signal_connect(handler_, "client-connected", G_CALLBACK(OnClientConnected), this);
  for (const char* node : {kUsbNode, kPointerNode, kButtonNode, kEventNode, kUinputNode}) {
    GError* error = nullptr;
    EXPECT_TRUE(umockdev_testbed_attach_ioctl(testbed_, node, handler_, &error)) << node;
    if (error) g_error_free(error);
  }
  MakeFifo(kUinputNode, uinputReader_);
  Plug();
}

EmulatedMouse::~EmulatedMouse() {
  Unplug();
  for (const char* node : {kUsbNode, kPointerNode, kButtonNode, kEventNode, kUinputNode}) {
    (void)umockdev_testbed_detach_ioctl(testbed_, node, nullptr);
  }
  g_object_unref(handler_);
  g_object_unref(testbed_);
}

std::string EmulatedMouse::Add(const char* subsystem, const std::string& name,
                               const std::string& parent, std::vector<const char*> attributes,
                               std::vector<const char*> properties) {
  attributes.push_back(nullptr);
  properties.push_back(nullptr);
  gchar* syspath =
      umockdev_testbed_add_devicev(testbed_, subsystem, name.c_str(),
                                   parent.empty() ? nullptr : parent.c_str(),
                                   const_cast<gchar**>(attributes.data()),
                                   const_cast<gchar**>(properties.data()));
  std::string path = syspath ? syspath : "";
  g_free(syspath);
  devices_.push_back(path);
  return path;
}

void EmulatedMouse::MakeFifo(const char* node, UniqueFd& writer) {
  const std::string file = root_ + node;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  ::unlink(file.c_str());
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0) << file;
  // Held open for reading and writing, so that the node has a writer until the mouse goes.
  writer.Reset(::open(file.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
}

void EmulatedMouse::Plug() {
  {
    std::scoped_lock lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    ++generation_;
  }
  const std::string usb = Add("usb", "usb1/1-4", "",
                              {"idVendor", "093a", "idProduct", "2533", "bNumInterfaces", " 2",
                               "busnum", "1", "devnum", "4", "dev", "189:3"},
                              {"DEVTYPE", "usb_device", "DEVNAME", kUsbNode});
  std::filesystem::create_directories(root_ + "/dev/bus/usb/001");
  std::ofstream(root_ + kUsbNode, std::ios::binary)
      .write(reinterpret_cast<const char*>(kUsbDescriptors), sizeof kUsbDescriptors);
  for (int interface = 0; interface < 2; ++interface) {
    const std::string number = "0" + std::to_string(interface);
    const std::string usbInterface =
        Add("usb", "1-4:1." + std::to_string(interface), usb,
            {"bInterfaceNumber", number.c_str()}, {"DEVTYPE", "usb_interface"});
    const std::string hid =
        Add("hid", "0003:093A:2533.000" + std::to_string(interface + 1), usbInterface, {},
            {"HID_ID", "0003:0000093A:00002533"});
    const std::string hidraw = "hidraw" + std::to_string(interface);
    const std::string major = "240:" + std::to_string(interface);
    const std::string devname = "/dev/" + hidraw;
    Add("hidraw", "hidraw/" + hidraw, hid, {"dev", major.c_str()}, {"DEVNAME", devname.c_str()});
    if (interface == 0) {
      const std::string input =
          Add("input", "input/input5", hid, {"name", kPointerName}, {"PRODUCT", "3/93a/2533/111"});
      Add("input", "event5", input, {"dev", "13:69"},
          {"DEVNAME", "/dev/input/event5", "ID_INPUT", "1", "ID_INPUT_MOUSE", "1"});
    }
  }
  MakeFifo(kPointerNode, pointerWriter_);
  MakeFifo(kButtonNode, buttonWriter_);
  MakeFifo(kEventNode, eventWriter_);
  for (const std::string& device : devices_) umockdev_testbed_uevent(testbed_, device.c_str(), "add");
}

void EmulatedMouse::Unplug() {
  {
    std::scoped_lock lock(mutex_);
    if (!plugged_) return;
    plugged_ = false;
    grabbed_ = false;  // the kernel drops the grab with the device
    finished_.clear();
  }
  // Readers of the nodes find them closed, as a hidraw node whose device has gone.
  pointerWriter_.Reset();
  buttonWriter_.Reset();
  eventWriter_.Reset();
  for (const char* node : {kUsbNode, kPointerNode, kButtonNode, kEventNode}) {
    ::unlink((root_ + node).c_str());
  }
  // Children first, as the kernel removes them.
  for (auto it = devices_.rbegin(); it != devices_.rend(); ++it) {
    umockdev_testbed_uevent(testbed_, it->c_str(), "remove");
    umockdev_testbed_remove_device(testbed_, it->c_str());
  }
  // What the testbed leaves: the folders that group the nodes ("hidraw", "input").
  std::filesystem::remove_all(root_ + "/sys/devices/usb1");
  devices_.clear();
}

void EmulatedMouse::VanishDuringNextTransfer() {
  std::scoped_lock lock(mutex_);
  vanishDuringTransfer_ = true;
}

void EmulatedMouse::SendButtonReport(std::span<const std::uint8_t> report) {
  ASSERT_EQ(::write(buttonWriter_.get(), report.data(), report.size()),
            static_cast<ssize_t>(report.size()));
}

void EmulatedMouse::SendPointerEvents(std::span<const input_event> events) {
  ASSERT_EQ(::write(eventWriter_.get(), events.data(), events.size_bytes()),
            static_cast<ssize_t>(events.size_bytes()));
}

std::vector<input_event> EmulatedMouse::TakeUinputEvents(std::size_t count) {
  std::vector<input_event> events;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (events.size() < count && std::chrono::steady_clock::now() < deadline) {
    pollfd waiting{uinputReader_.get(), POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    input_event event{};
    while (::read(uinputReader_.get(), &event, sizeof event) == sizeof event) {
      events.push_back(event);
    }
  }
  return events;
}

bool EmulatedMouse::Grabbed() const {
  std::scoped_lock lock(mutex_);
  return grabbed_;
}

std::vector<std::string> EmulatedMouse::UinputDevices() const {
  std::scoped_lock lock(mutex_);
  std::vector<std::string> names;
  for (const auto& [client, name] : uinputDevices_) names.push_back(name);
  return names;
}

SimMouse EmulatedMouse::Mouse() const {
  std::scoped_lock lock(mutex_);
  return mouse_;
}

std::uint64_t EmulatedMouse::Transfers() const {
  std::scoped_lock lock(mutex_);
  return transfers_;
}

std::string EmulatedMouse::InterfaceSyspath(int interface) const {
  return "/sys/devices/usb1/1-4/1-4:1." + std::to_string(interface);
}

void EmulatedMouse::OnClientConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client,
                                      gpointer self) {
  auto* mouse = static_cast<EmulatedMouse*>(self);
  std::scoped_lock lock(mouse->mutex_);
  g_object_set_data(G_OBJECT(client), "generation",
                    GUINT_TO_POINTER(static_cast<guint>(mouse->generation_)));
}

gboolean EmulatedMouse::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
  auto* mouse = static_cast<EmulatedMouse*>(self);
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  const std::string node = umockdev_ioctl_client_get_devnode(client);
  if (node == kUinputNode) return mouse->AnswerUinput(client, request);
  {
    std::scoped_lock lock(mouse->mutex_);
    const auto opened = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(client), "generation"));
    // A node opened before the mouse went stays gone, as the kernel's do.
    if (!mouse->plugged_ || opened != mouse->generation_) {
      Fail(client, ENODEV);
      return TRUE;
    }
  }
  if (node == kUsbNode) return mouse->AnswerUsb(client, request);
  if (node == kEventNode) return mouse->AnswerEvdev(client, request);
  return mouse->AnswerHidraw(client, request, node == kPointerNode ? 0 : 1);
}

bool EmulatedMouse::AnswerUsb(UMockdevIoctlClient* client, unsigned long request) {
  if (request == USBDEVFS_CONNECTINFO) {
    auto* info = Resolve<usbdevfs_connectinfo>(client);
    *info = {.devnum = 4, .slow = 0};
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
  }
  if (request == USBDEVFS_SUBMITURB) {
    GError* error = nullptr;
    UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client),
                                                             0, sizeof(usbdevfs_urb), &error);
    auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
    constexpr std::size_t kSetupSize = 8;
    if (urb->type != USBDEVFS_URB_TYPE_CONTROL || urb->buffer_length < static_cast<int>(kSetupSize)) {
      Fail(client, EINVAL);
      return true;
    }
    UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
        urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), &error);
    std::scoped_lock lock(mutex_);
    ++transfers_;
    if (vanishDuringTransfer_) {
      vanishDuringTransfer_ = false;
      ++generation_;  // every node opened so far is gone; Unplug takes the devices away
      Fail(client, ENODEV);
      return true;
    }
    const auto setup = std::span<const std::uint8_t, kSetupSize>(buffer->data, kSetupSize);
    const auto data = std::span<std::uint8_t>(buffer->data + kSetupSize,
                                              static_cast<std::size_t>(urb->buffer_length) - kSetupSize);
    std::size_t returned = 0;
    const Result answer = AnswerControlTransfer(mouse_, setup, data, returned);
    // The firmware refuses what it does not know with a stall.
    urb->status = answer == Result::Ok ? 0 : -EPIPE;
    urb->actual_length = static_cast<int>(returned);
    finished_.push_back(urbData->client_addr);
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
  }
  if (request == USBDEVFS_REAPURBNDELAY || request == USBDEVFS_REAPURB) {
    std::scoped_lock lock(mutex_);
    if (finished_.empty()) {
      Fail(client, EAGAIN);
      return true;
    }
    *Resolve<unsigned long>(client) = finished_.front();
    finished_.pop_front();
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
  }
  Fail(client, ENOTTY);  // what libusb may ask besides, and can do without
  return true;
}

bool EmulatedMouse::AnswerHidraw(UMockdevIoctlClient* client, unsigned long request,
                                 int interface) {
  const std::span<const std::uint8_t> descriptor =
      interface == 0 ? std::span<const std::uint8_t>(kPointerDescriptor)
                     : std::span<const std::uint8_t>(kButtonInterfaceDescriptor);
  if (request == HIDIOCGRAWINFO) {
    *Resolve<hidraw_devinfo>(client) = {.bustype = 3, .vendor = 0x093A, .product = 0x2533};
  } else if (request == HIDIOCGRDESCSIZE) {
    *Resolve<int>(client) = static_cast<int>(descriptor.size());
  } else if (request == HIDIOCGRDESC) {
    auto* out = Resolve<hidraw_report_descriptor>(client);
    const std::size_t size = std::min<std::size_t>(out->size, descriptor.size());
    std::copy_n(descriptor.begin(), size, out->value);
    out->size = static_cast<std::uint32_t>(size);
  } else {
    Fail(client, EINVAL);
    return true;
  }
  umockdev_ioctl_client_complete(client, 0, 0);
  return true;
}

bool EmulatedMouse::AnswerEvdev(UMockdevIoctlClient* client, unsigned long request) {
  const unsigned nr = _IOC_NR(request);
  const gsize size = _IOC_SIZE(request);
  int answer = 0;
  if (_IOC_TYPE(request) != 'E') {
    Fail(client, ENOTTY);
    return true;
  }
  if (request == EVIOCGRAB) {
    std::scoped_lock lock(mutex_);
    const bool grab = ValueArgument(client) != 0;
    if (grab == grabbed_) {
      Fail(client, grab ? EBUSY : EINVAL);
      return true;
    }
    grabbed_ = grab;
  } else if (request == EVIOCGID) {
    const input_id id{.bustype = BUS_USB, .vendor = 0x093A, .product = 0x2533, .version = 0x0111};
    (void)AnswerBytes(client, std::span(reinterpret_cast<const std::uint8_t*>(&id), sizeof id),
                      sizeof id);
  } else if (nr == _IOC_NR(EVIOCGNAME(0))) {
    static constexpr char kName[] = "Halvec QXA7702 Gaming Mouse";
    answer = AnswerBytes(client, std::span(reinterpret_cast<const std::uint8_t*>(kName), sizeof kName), size);
  } else if (nr == 0x20 + EV_KEY) {
    answer = AnswerBytes(client, Bits({BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA}), size);
  } else if (nr == 0x20 + EV_REL) {
    answer = AnswerBytes(client, Bits({REL_X, REL_Y, REL_WHEEL}), size);
  } else if (nr >= 0x20 && nr < 0x20 + EV_MAX) {
    answer = AnswerBytes(client, {}, size);
  } else {
    Fail(client, EINVAL);
    return true;
  }
  umockdev_ioctl_client_complete(client, answer, 0);
  return true;
}

bool EmulatedMouse::AnswerUinput(UMockdevIoctlClient* client, unsigned long request) {
  std::scoped_lock lock(mutex_);
  if (request == UI_DEV_SETUP) {
    const auto* setup = Resolve<uinput_setup>(client);
    g_object_set_data_full(G_OBJECT(client), "name", g_strdup(setup->name), g_free);
  } else if (request == UI_DEV_CREATE) {
    const auto* name = static_cast<const char*>(g_object_get_data(G_OBJECT(client), "name"));
    uinputDevices_.emplace_back(client, name ? name : "");
  } else if (request == UI_DEV_DESTROY) {
    std::erase_if(uinputDevices_, [client](const auto& device) { return device.first == client; });
  } else if (request != UI_SET_EVBIT && request != UI_SET_KEYBIT && request != UI_SET_RELBIT &&
             request != UI_SET_MSCBIT) {
    Fail(client, EINVAL);
    return true;
  }
  umockdev_ioctl_client_complete(client, 0, 0);
  return true;
}

}  // namespace vexlo::test
