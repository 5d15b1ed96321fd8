#include "engine/AssignmentCodes.h"

#include "device/RegisterMap.h"

namespace vexlo {
namespace {

using Kind = HostActionKind;
using Menu = AssignmentMenu;

constexpr std::uint8_t kLeftControl = 0xE0;
constexpr std::uint8_t kLeftAlt = 0xE2;
constexpr std::uint8_t kLeftGui = 0xE3;

constexpr HostAction kNothing{};

constexpr HostAction MouseDown(std::uint16_t bits) {
  return {Kind::MouseButtonDown, bits, 0};
}
constexpr HostAction MouseUp(std::uint16_t bits) {
  return {Kind::MouseButtonUp, bits, 0};
}
constexpr HostAction ConsumerDown(std::uint16_t usage) {
  return {Kind::ConsumerKeyDown, usage, 0};
}
constexpr HostAction kConsumerUp{Kind::ConsumerKeyUp, 0, 0};
constexpr HostAction ComboDown(std::uint8_t modifier, std::uint16_t key) {
  return {Kind::CombinationDown, key, modifier};
}
constexpr HostAction ComboUp(std::uint8_t modifier, std::uint16_t key) {
  return {Kind::CombinationUp, key, modifier};
}
constexpr HostAction Action(Kind kind) {
  return {kind, 0, 0};
}

constexpr std::array<AssignmentCodeInfo, kAssignmentCodeCount> kCodes = {{
    {0, 32801, "左键", "INFO_KEY_SET_LEFT", Menu::Popup, MouseDown(0x01), MouseUp(0x01)},
    {1, 32802, "右键", "INFO_KEY_SET_RIGHT", Menu::Popup, MouseDown(0x02), MouseUp(0x02)},
    {2, 32803, "中键", "INFO_KEY_SET_MIDDLE", Menu::Popup, MouseDown(0x04), MouseUp(0x04)},
    {3, 32804, "前进", "INFO_KEY_SET_FORWARD", Menu::Popup, MouseDown(0x10), MouseUp(0x10)},
    {4, 32805, "后退", "INFO_KEY_SET_BACK", Menu::Popup, MouseDown(0x08), MouseUp(0x08)},
    {5, 32810, "关闭", "INFO_KEY_SET_CLOSE", Menu::Popup, kNothing, kNothing},
    {6, 32868, "打开本驱动", "INFO_KEY_SET_OPEN_DRIVER", Menu::Popup, Action(Kind::ShowMainWindow),
     kNothing},
    {7, 32830, "打开播放器", "INFO_KEY_SET_MEDIA_OPEN_PLAYER", Menu::Media, ConsumerDown(0x183),
     kConsumerUp},
    {8, 32831, "播放/暂停", "INFO_KEY_SET_MEDIA_PLAY_PAUSE", Menu::Media, ConsumerDown(0x0CD),
     kConsumerUp},
    {9, 32832, "停止", "INFO_KEY_SET_MEDIA_STOP", Menu::Media, ConsumerDown(0x0B7), kConsumerUp},
    {10, 32833, "下一首", "INFO_KEY_SET_MEDIA_NEXT_TRACK", Menu::Media, ConsumerDown(0x0B5),
     kConsumerUp},
    {11, 32834, "上一首", "INFO_KEY_SET_MEDIA_PREV_TRACK", Menu::Media, ConsumerDown(0x0B6),
     kConsumerUp},
    {12, 32838, "音量+", "INFO_KEY_SET_MEDIA_VOLUME_UP", Menu::Media, ConsumerDown(0x0E9),
     kConsumerUp},
    {13, 32839, "音量-", "INFO_KEY_SET_MEDIA_VOLUME_DOWN", Menu::Media, ConsumerDown(0x0EA),
     kConsumerUp},
    {14, 32840, "静音", "INFO_KEY_SET_MEDIA_MUTE", Menu::Media, ConsumerDown(0x0E2), kConsumerUp},
    {15, 32841, "我的电脑", "INFO_KEY_SET_WINDOWS_COMPUTER", Menu::Windows, ConsumerDown(0x194),
     kConsumerUp},
    {16, 32842, "计算器", "INFO_KEY_SET_WINDOWS_CALC", Menu::Windows, ConsumerDown(0x192),
     kConsumerUp},
    {17, 32843, "电子邮件", "INFO_KEY_SET_WINDOWS_MAIL", Menu::Windows, ConsumerDown(0x18A),
     kConsumerUp},
    {18, 32844, "搜索", "INFO_KEY_SET_WINDOWS_SEARCH", Menu::Windows, ConsumerDown(0x221),
     kConsumerUp},
    {19, 32845, "浏览器主页", "INFO_KEY_SET_WINDOWS_WWW_HOME", Menu::Windows, ConsumerDown(0x223),
     kConsumerUp},
    {20, 32847, "浏览器前进", "INFO_KEY_SET_WINDOWS_WWW_FORWARD", Menu::Windows,
     ConsumerDown(0x225), kConsumerUp},
    {21, 32848, "浏览器后退", "INFO_KEY_SET_WINDOWS_WWW_BACK", Menu::Windows, ConsumerDown(0x224),
     kConsumerUp},
    {22, 32849, "浏览器刷新", "INFO_KEY_SET_WINDOWS_WWW_REFRESH", Menu::Windows,
     ConsumerDown(0x227), kConsumerUp},
    {23, 32850, "浏览器停止", "INFO_KEY_SET_WINDOWS_WWW_STOP", Menu::Windows, ConsumerDown(0x226),
     kConsumerUp},
    {24, 33174, "新建", "INFO_KEY_SET_COMBO_NEW", Menu::Combination, ComboDown(kLeftControl, 0x11),
     ComboUp(kLeftControl, 0x11)},
    {25, 33175, "打开", "INFO_KEY_SET_COMBO_OPEN", Menu::Combination, ComboDown(kLeftControl, 0x12),
     ComboUp(kLeftControl, 0x12)},
    {26, 33176, "保存", "INFO_KEY_SET_COMBO_SAVE", Menu::Combination, ComboDown(kLeftControl, 0x16),
     ComboUp(kLeftControl, 0x16)},
    {27, 33177, "查找", "INFO_KEY_SET_COMBO_FIND", Menu::Combination, ComboDown(kLeftControl, 0x09),
     ComboUp(kLeftControl, 0x09)},
    {28, 33178, "全选", "INFO_KEY_SET_COMBO_SEL_ALL", Menu::Combination,
     ComboDown(kLeftControl, 0x04), ComboUp(kLeftControl, 0x04)},
    {29, 33179, "复制", "INFO_KEY_SET_COMBO_COPY", Menu::Combination, ComboDown(kLeftControl, 0x06),
     ComboUp(kLeftControl, 0x06)},
    {30, 33180, "剪切", "INFO_KEY_SET_COMBO_CUT", Menu::Combination, ComboDown(kLeftControl, 0x1B),
     ComboUp(kLeftControl, 0x1B)},
    {31, 33181, "粘贴", "INFO_KEY_SET_COMBO_PASTE", Menu::Combination,
     ComboDown(kLeftControl, 0x19), ComboUp(kLeftControl, 0x19)},
    {32, 33182, "撤销", "INFO_KEY_SET_COMBO_UNDO", Menu::Combination, ComboDown(kLeftControl, 0x1D),
     ComboUp(kLeftControl, 0x1D)},
    {33, 33184, "关闭窗口", "INFO_KEY_SET_COMBO_CLOSE_WND", Menu::Combination,
     ComboDown(kLeftAlt, 0x3D), ComboUp(kLeftAlt, 0x3D)},
    {34, 33185, "切换窗口", "INFO_KEY_SET_COMBO_SWITCH_WND", Menu::Combination,
     ComboDown(kLeftAlt, 0x2B), ComboUp(kLeftAlt, 0x2B)},
    {35, 33187, "显示桌面", "INFO_KEY_SET_COMBO_SHOW_DESK", Menu::Combination,
     ComboDown(kLeftGui, 0x07), ComboUp(kLeftGui, 0x07)},
    {36, 33188, "运行...", "INFO_KEY_SET_COMBO_RUN", Menu::Combination, ComboDown(kLeftGui, 0x15),
     ComboUp(kLeftGui, 0x15)},
    {37, 32811, "单键...", "INFO_KEY_SET_SNG_KBD", Menu::Popup, Action(Kind::SingleKeyDown),
     Action(Kind::SingleKeyUp)},
    {38, 32869, "启动程序...", "INFO_KEY_SET_START_PROGRAM", Menu::Popup,
     Action(Kind::LaunchProgram), kNothing},
    {39, 33157, "火力键...", "INFO_KEY_SET_FIRE", Menu::Popup, Action(Kind::StartRapidFire),
     Action(Kind::StopRequest)},
    {40, 33155, "宏...", "INFO_KEY_SET_MACRO", Menu::Popup, Action(Kind::StartMacro),
     Action(Kind::StopRequest)},
    {41, 32808, "DPI+", "INFO_KEY_SET_DPI_UP", Menu::Popup, kNothing, kNothing},
    {42, 32809, "DPI-", "INFO_KEY_SET_DPI_DOWN", Menu::Popup, kNothing, kNothing},
    {43, 33156, "DPI循环", "INFO_KEY_SET_DPI_LOOP", Menu::Popup, kNothing, kNothing},
}};

constexpr bool CodesAreInOrder() {
  for (std::size_t i = 0; i < kCodes.size(); ++i) {
    if (kCodes[i].code != i) return false;
  }
  return true;
}
static_assert(CodesAreInOrder(), "the table is indexed by code");

}  // namespace

const std::array<AssignmentCodeInfo, kAssignmentCodeCount>& AssignmentCodes() {
  return kCodes;
}

const AssignmentCodeInfo* FindAssignmentCode(std::uint8_t code) {
  return code < kCodes.size() ? &kCodes[code] : nullptr;
}

std::optional<std::uint8_t> AssignmentCodeOfCommand(std::uint16_t commandId) {
  for (const AssignmentCodeInfo& info : kCodes) {
    if (info.commandId == commandId) return info.code;
  }
  return std::nullopt;
}

bool PerformedByMouse(int button, std::uint8_t code) {
  return MousePerformsCode(button, code);
}

}  // namespace vexlo
