#include "platform/linux/DeviceAccessCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace vexlo {
namespace {

namespace fs = std::filesystem;

// Answers as a user other than root would: every node but the listed ones may be used.
class DeniedNodes final : public NodeAccess {
 public:
  explicit DeniedNodes(std::set<std::string> denied) : denied_(std::move(denied)) {}
  bool CanReadWrite(const std::string& node) const override { return !denied_.contains(node); }

 private:
  std::set<std::string> denied_;
};

// A sysfs tree as the kernel lays out a USB mouse: the device with its interfaces, a HID device
// below each with its hidraw node, and an input device with its event node below the first.
class FakeSysfs {
 public:
  explicit FakeSysfs(const test::TempFolder& root)
      : roots_{.sysfs = root / "sys", .dev = root / "dev"} {}

  const DeviceAccessRoots& roots() const { return roots_; }

  // A USB device "1-<port>" at bus 1 address <port>; for the mouse, interfaces 0 and 1.
  void AddUsbDevice(int port, const std::string& vendor, const std::string& product) {
    const std::string name = "1-" + std::to_string(port);
    const fs::path device = fs::path(roots_.sysfs) / "devices/pci0000:00/usb1" / name;
    Write(device / "idVendor", vendor + "\n");
    Write(device / "idProduct", product + "\n");
    Write(device / "uevent", "DEVTYPE=usb_device\nDEVNAME=bus/usb/001/00" + std::to_string(port) +
                                 "\n");
    for (int interface = 0; interface < 2; ++interface) {
      const fs::path hid = device / (name + ":1." + std::to_string(interface)) /
                           ("0003:093A:2533.000" + std::to_string(port * 2 + interface));
      const std::string hidraw = "hidraw" + std::to_string(port * 2 + interface);
      Write(hid / "hidraw" / hidraw / "uevent", "DEVNAME=" + hidraw + "\n");
      if (interface == 0) {
        const std::string event = "event" + std::to_string(port);
        Write(hid / "input" / ("input" + std::to_string(port)) / event / "uevent",
              "DEVNAME=input/" + event + "\n");
      }
    }
    fs::create_directories(fs::path(roots_.sysfs) / "bus/usb/devices");
    fs::create_directory_symlink(device, fs::path(roots_.sysfs) / "bus/usb/devices" / name);
    fs::create_directory_symlink(device / (name + ":1.0"),
                                 fs::path(roots_.sysfs) / "bus/usb/devices" / (name + ":1.0"));
  }

  std::string Dev(const std::string& node) const { return roots_.dev + "/" + node; }

 private:
  static void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }

  DeviceAccessRoots roots_;
};

TEST(DeviceAccessCheckTest, FindsEveryNodeOfTheMouseAndNoneOfOtherDevices) {
  test::TempFolder root;
  FakeSysfs sysfs(root);
  sysfs.AddUsbDevice(3, "046d", "c52b");
  sysfs.AddUsbDevice(4, "093a", "2533");

  const std::vector<MouseNodes> mice = FindMice(sysfs.roots());

  ASSERT_EQ(mice.size(), 1u);
  EXPECT_EQ(mice[0].usb, sysfs.Dev("bus/usb/001/004"));
  EXPECT_EQ(mice[0].hidraw, (std::vector{sysfs.Dev("hidraw8"), sysfs.Dev("hidraw9")}));
  EXPECT_EQ(mice[0].event, (std::vector{sysfs.Dev("input/event4")}));
}

struct AccessCase {
  const char* name;
  std::vector<int> mousePorts;
  std::set<std::string> deniedNodes;  // relative to the /dev root
  std::size_t mice;
  std::string message;  // the nodes the user is told about
};

class DeviceAccessCases : public testing::TestWithParam<AccessCase> {};

TEST_P(DeviceAccessCases, NamesExactlyTheNodesThatMayNotBeUsed) {
  const AccessCase& c = GetParam();
  test::TempFolder root;
  FakeSysfs sysfs(root);
  sysfs.AddUsbDevice(2, "046d", "c52b");
  for (const int port : c.mousePorts) sysfs.AddUsbDevice(port, "093A", "2533");
  std::set<std::string> denied;
  for (const std::string& node : c.deniedNodes) denied.insert(sysfs.Dev(node));

  const DeviceAccessReport report = CheckDeviceAccess(sysfs.roots(), DeniedNodes(denied));

  EXPECT_EQ(report.mice, c.mice);
  std::string expected = c.message;
  for (std::size_t at = 0; (at = expected.find("DEV/", at)) != std::string::npos;) {
    expected.replace(at, 4, sysfs.roots().dev + "/");
  }
  EXPECT_EQ(DeniedNodesText(report), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Mice, DeviceAccessCases,
    testing::Values(
        AccessCase{"accessible", {4}, {}, 1, ""},
        AccessCase{"noAccess",
                   {4},
                   {"bus/usb/001/004", "hidraw9", "uinput"},
                   1,
                   "DEV/bus/usb/001/004, DEV/hidraw9, DEV/uinput"},
        AccessCase{"eventNodeOnly", {4}, {"input/event4"}, 1, "DEV/input/event4"},
        // Without the mouse there is nothing to tell, whatever else may not be used.
        AccessCase{"nonePresent", {}, {"hidraw4", "uinput"}, 0, ""},
        AccessCase{"twoMice",
                   {4, 5},
                   {"hidraw10", "bus/usb/001/004"},
                   2,
                   "DEV/bus/usb/001/004, DEV/hidraw10"}),
    [](const testing::TestParamInfo<AccessCase>& param) { return param.param.name; });

// The shipped rule gives the seat's user exactly the mouse's nodes and uinput.
TEST(UdevRuleTest, TagsTheMouseNodesOfEachSubsystemAndUinput) {
  std::ifstream file(VEXLO_UDEV_RULE);
  ASSERT_TRUE(file) << VEXLO_UDEV_RULE;
  std::set<std::string> subsystems;
  std::string line;
  int rules = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line.starts_with("#")) continue;
    ++rules;
    std::smatch subsystem;
    ASSERT_TRUE(std::regex_search(line, subsystem, std::regex(R"re(SUBSYSTEM=="([a-z]+)")re")))
        << line;
    subsystems.insert(subsystem[1]);
    EXPECT_NE(line.find(R"(TAG+="uaccess")"), std::string::npos) << line;
    EXPECT_EQ(line.find("MODE="), std::string::npos) << "no node for everyone: " << line;
    if (subsystem[1] == "misc") {
      EXPECT_NE(line.find(R"(KERNEL=="uinput")"), std::string::npos);
      EXPECT_NE(line.find(R"(OPTIONS+="static_node=uinput")"), std::string::npos);
      continue;
    }
    // Every other rule is for the mouse alone.
    EXPECT_TRUE(std::regex_search(line, std::regex(R"re(ATTRS?\{idVendor\}=="093a")re"))) << line;
    EXPECT_TRUE(std::regex_search(line, std::regex(R"re(ATTRS?\{idProduct\}=="2533")re"))) << line;
  }
  EXPECT_EQ(rules, 4);
  EXPECT_EQ(subsystems, (std::set<std::string>{"usb", "hidraw", "input", "misc"}));
}

}  // namespace
}  // namespace vexlo
