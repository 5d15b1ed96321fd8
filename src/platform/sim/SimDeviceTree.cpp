#include "platform/sim/SimDeviceTree.h"

namespace vexlo {
namespace {

constexpr std::uint16_t kButtonReportLength = 3;
constexpr std::uint16_t kInjectionReportLength = 30;

constexpr SimHidInfo Info(std::uint16_t vendor, std::uint16_t product, std::uint16_t page,
                          std::uint16_t usage, std::uint16_t input, std::uint16_t output,
                          std::uint16_t feature) {
  return SimHidInfo{HidAttributes{vendor, product, 0x0100},
                    HidCapabilities{usage, page, input, output, feature}};
}

// Devices of other makers, listed before the mouse as a real machine may list them: a keyboard,
// and another mouse on the same controller vendor.
constexpr std::array kOtherNodes = {
    SimNode{0x01, 0, SimDeviceOwner::Other, R"(USB\VID_046D&PID_C31C\5&1A2B3C4D&0&3)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0002)"},
    SimNode{0x02, 0x01, SimDeviceOwner::Other, R"(HID\VID_046D&PID_C31C\6&2B3C4D5E&0&0000)",
            R"({4d36e96b-e325-11ce-bfc1-08002be10318}\0001)"},
    SimNode{0x03, 0, SimDeviceOwner::Other, R"(USB\VID_093A&PID_2510\5&1A2B3C4D&0&4)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0003)"},
    SimNode{0x04, 0x03, SimDeviceOwner::Other, R"(HID\VID_093A&PID_2510\6&3C4D5E6F&0&0000)",
            R"({4d36e96f-e325-11ce-bfc1-08002be10318}\0004)"},
};

constexpr std::array kOtherInterfaces = {
    SimInterface{
        0x02,
        R"(\\?\hid#vid_046d&pid_c31c#6&2b3c4d5e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x046D, 0xC31C, 0x01, 0x06, 9, 2, 0), true},
    SimInterface{
        0x04,
        R"(\\?\hid#vid_093a&pid_2510#6&3c4d5e6f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2510, 0x01, 0x02, 5, 0, 0), true},
};

// The mouse as a composite device: interface 0 is its pointer; interface 1 carries a keyboard,
// the consumer-control collection (the button reports) and a vendor collection.
constexpr std::array kCompositeMouseNodes = {
    SimNode{0x10, 0, SimDeviceOwner::Mouse, R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)",
            R"({36fc9e60-c465-11cf-8056-444553540000}\0010)"},
    SimNode{0x11, 0x10, SimDeviceOwner::Mouse, R"(USB\VID_093A&PID_2533&MI_00\6&1E4A9B2C&0&0000)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0011)"},
    SimNode{0x12, 0x10, SimDeviceOwner::Mouse, R"(USB\VID_093A&PID_2533&MI_01\6&1E4A9B2C&0&0001)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0012)"},
    SimNode{0x13, 0x11, SimDeviceOwner::Mouse, R"(HID\VID_093A&PID_2533&MI_00\7&2A3C4B1&0&0000)",
            R"({4d36e96f-e325-11ce-bfc1-08002be10318}\0013)"},
    SimNode{0x14, 0x12, SimDeviceOwner::Mouse,
            R"(HID\VID_093A&PID_2533&MI_01&COL01\7&1F2E3D4C&0&0000)",
            R"({4d36e96b-e325-11ce-bfc1-08002be10318}\0014)"},
    SimNode{kSimButtonCollectionNode, 0x12, SimDeviceOwner::Mouse,
            R"(HID\VID_093A&PID_2533&MI_01&COL02\7&1F2E3D4C&0&0001)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0015)"},
    SimNode{0x16, 0x12, SimDeviceOwner::Mouse,
            R"(HID\VID_093A&PID_2533&MI_01&COL03\7&1F2E3D4C&0&0002)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0016)"},
};

constexpr std::array kCompositeMouseInterfaces = {
    SimInterface{
        0x13,
        R"(\\?\hid#vid_093a&pid_2533&mi_00#7&2a3c4b1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x01, 0x02, 5, 0, 0), true},
    SimInterface{
        0x14,
        R"(\\?\hid#vid_093a&pid_2533&mi_01&col01#7&1f2e3d4c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x01, 0x06, 9, 2, 0), true},
    SimInterface{
        kSimButtonCollectionNode,
        R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#7&1f2e3d4c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x0C, 0x01, kButtonReportLength, 0, 0), false},
    SimInterface{
        0x16,
        R"(\\?\hid#vid_093a&pid_2533&mi_01&col03#7&1f2e3d4c&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0xFF01, 0x01, 0, 0, 9), false},
};

// The mouse as a plain device: every collection sits right below the USB device.
constexpr std::array kPlainMouseNodes = {
    SimNode{0x10, 0, SimDeviceOwner::Mouse, R"(USB\VID_093A&PID_2533\5&1A2B3C4D&0&2)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0010)"},
    SimNode{0x13, 0x10, SimDeviceOwner::Mouse, R"(HID\VID_093A&PID_2533&COL01\6&1E4A9B2C&0&0000)",
            R"({4d36e96f-e325-11ce-bfc1-08002be10318}\0013)"},
    SimNode{0x14, 0x10, SimDeviceOwner::Mouse, R"(HID\VID_093A&PID_2533&COL02\6&1E4A9B2C&0&0001)",
            R"({4d36e96b-e325-11ce-bfc1-08002be10318}\0014)"},
    SimNode{kSimButtonCollectionNode, 0x10, SimDeviceOwner::Mouse,
            R"(HID\VID_093A&PID_2533&COL03\6&1E4A9B2C&0&0002)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0015)"},
    SimNode{0x16, 0x10, SimDeviceOwner::Mouse, R"(HID\VID_093A&PID_2533&COL04\6&1E4A9B2C&0&0003)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0016)"},
};

constexpr std::array kPlainMouseInterfaces = {
    SimInterface{
        0x13,
        R"(\\?\hid#vid_093a&pid_2533&col01#6&1e4a9b2c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x01, 0x02, 5, 0, 0), true},
    SimInterface{
        0x14,
        R"(\\?\hid#vid_093a&pid_2533&col02#6&1e4a9b2c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x01, 0x06, 9, 2, 0), true},
    SimInterface{
        kSimButtonCollectionNode,
        R"(\\?\hid#vid_093a&pid_2533&col03#6&1e4a9b2c&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0x0C, 0x01, kButtonReportLength, 0, 0), false},
    SimInterface{
        0x16,
        R"(\\?\hid#vid_093a&pid_2533&col04#6&1e4a9b2c&0&0003#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x093A, 0x2533, 0xFF01, 0x01, 0, 0, 9), false},
};

constexpr std::array kInjectionNodes = {
    SimNode{0x20, 0, SimDeviceOwner::Injection, R"(USB\VID_1BCF&PID_05E3\6&2F1D0A3&0&2)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0020)"},
    SimNode{kSimInjectionNode, 0x20, SimDeviceOwner::Injection,
            R"(HID\VID_1BCF&PID_05E3\7&3A9C21E&0&0000)",
            R"({745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0021)"},
};

constexpr std::array kInjectionInterfaces = {
    SimInterface{
        kSimInjectionNode,
        R"(\\?\hid#vid_1bcf&pid_05e3#7&3a9c21e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        Info(0x1BCF, 0x05E3, 0xFF00, 0x01, 0, kInjectionReportLength, 0), false},
};

}  // namespace

std::array<SimDeviceGroup, 3> SimDeviceGroups(bool compositeMouse) {
  const SimDeviceGroup mouse = compositeMouse
                                   ? SimDeviceGroup{kCompositeMouseNodes, kCompositeMouseInterfaces}
                                   : SimDeviceGroup{kPlainMouseNodes, kPlainMouseInterfaces};
  return {SimDeviceGroup{kOtherNodes, kOtherInterfaces}, mouse,
          SimDeviceGroup{kInjectionNodes, kInjectionInterfaces}};
}

}  // namespace vexlo
