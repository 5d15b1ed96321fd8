#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/AssignmentCodes.h"

namespace vexlo {
namespace {

// Code, command, menu text, function, host press, host release.
constexpr const char* kCodeRows = R"rows(
| 0 | 32801 | "左键" | left button | mouse button 0x01 down | 0x01 up |
| 1 | 32802 | "右键" | right button | mouse button 0x02 down | 0x02 up |
| 2 | 32803 | "中键" | middle button | mouse button 0x04 down | 0x04 up |
| 3 | 32804 | "前进" | forward | mouse button 0x10 down | 0x10 up |
| 4 | 32805 | "后退" | back | mouse button 0x08 down | 0x08 up |
| 5 | 32810 | "关闭" | disabled | nothing | nothing |
| 6 | 32868 | "打开本驱动" | show the main window | the main-window show handler, called directly with 'Open' | nothing |
| 7 | 32830 | "打开播放器" | media player | consumer 0x183 down | consumer up |
| 8 | 32831 | "播放/暂停" | play/pause | consumer 0x0CD down | consumer up |
| 9 | 32832 | "停止" | stop | consumer 0x0B7 down | consumer up |
| 10 | 32833 | "下一首" | next track | consumer 0x0B5 down | consumer up |
| 11 | 32834 | "上一首" | previous track | consumer 0x0B6 down | consumer up |
| 12 | 32838 | "音量+" | volume up | consumer 0x0E9 down | consumer up |
| 13 | 32839 | "音量-" | volume down | consumer 0x0EA down | consumer up |
| 14 | 32840 | "静音" | mute | consumer 0x0E2 down | consumer up |
| 15 | 32841 | "我的电脑" | my computer | consumer 0x194 down | consumer up |
| 16 | 32842 | "计算器" | calculator | consumer 0x192 down | consumer up |
| 17 | 32843 | "电子邮件" | e-mail | consumer 0x18A down | consumer up |
| 18 | 32844 | "搜索" | search | consumer 0x221 down | consumer up |
| 19 | 32845 | "浏览器主页" | browser home | consumer 0x223 down | consumer up |
| 20 | 32847 | "浏览器前进" | browser forward | consumer 0x225 down | consumer up |
| 21 | 32848 | "浏览器后退" | browser back | consumer 0x224 down | consumer up |
| 22 | 32849 | "浏览器刷新" | browser refresh | consumer 0x227 down | consumer up |
| 23 | 32850 | "浏览器停止" | browser stop | consumer 0x226 down | consumer up |
| 24 | 33174 | "新建" | Ctrl+N | combination: left control 0xE0, key 0x11 | combination release |
| 25 | 33175 | "打开" | Ctrl+O | 0xE0, 0x12 | combination release |
| 26 | 33176 | "保存" | Ctrl+S | 0xE0, 0x16 | combination release |
| 27 | 33177 | "查找" | Ctrl+F | 0xE0, 0x09 | combination release |
| 28 | 33178 | "全选" | Ctrl+A | 0xE0, 0x04 | combination release |
| 29 | 33179 | "复制" | Ctrl+C | 0xE0, 0x06 | combination release |
| 30 | 33180 | "剪切" | Ctrl+X | 0xE0, 0x1B | combination release |
| 31 | 33181 | "粘贴" | Ctrl+V | 0xE0, 0x19 | combination release |
| 32 | 33182 | "撤销" | Ctrl+Z | 0xE0, 0x1D | combination release |
| 33 | 33184 | "关闭窗口" | Alt+F4 | left alt 0xE2, key 0x3D | combination release |
| 34 | 33185 | "切换窗口" | Alt+Tab | 0xE2, 0x2B | combination release |
| 35 | 33187 | "显示桌面" | Windows+D | left GUI 0xE3, key 0x07 | combination release |
| 36 | 33188 | "运行..." | Windows+R | 0xE3, 0x15 | combination release |
| 37 | 32811 | "单键..." | single key | key of `ScanCodeTable`[parameter & 0xFF] down | that key up |
| 38 | 32869 | "启动程序..." | launch program | launch (below) | nothing |
| 39 | 33157 | "火力键..." | fire key | start rapid fire | stop-on-release request |
| 40 | 33155 | "宏..." | macro | start macro | stop-on-release request |
| 41 | 32808 | "DPI+" | sensitivity up | nothing | nothing |
| 42 | 32809 | "DPI-" | sensitivity down | nothing | nothing |
| 43 | 33156 | "DPI循环" | sensitivity cycle | nothing | nothing |
)rows";

// Code, command, text key, place in the menu.
constexpr const char* kMenuRows = R"rows(
| 0 | 32801 | `INFO_KEY_SET_LEFT` | popup |
| 1 | 32802 | `INFO_KEY_SET_RIGHT` | popup |
| 2 | 32803 | `INFO_KEY_SET_MIDDLE` | popup |
| 3 | 32804 | `INFO_KEY_SET_FORWARD` | popup |
| 4 | 32805 | `INFO_KEY_SET_BACK` | popup |
| 5 | 32810 | `INFO_KEY_SET_CLOSE` | popup (disables the button) |
| 6 | 32868 | `INFO_KEY_SET_OPEN_DRIVER` | popup (opens the main window) |
| 7 | 32830 | `INFO_KEY_SET_MEDIA_OPEN_PLAYER` | media sub-menu |
| 8 | 32831 | `INFO_KEY_SET_MEDIA_PLAY_PAUSE` | media sub-menu |
| 9 | 32832 | `INFO_KEY_SET_MEDIA_STOP` | media sub-menu |
| 10 | 32833 | `INFO_KEY_SET_MEDIA_NEXT_TRACK` | media sub-menu |
| 11 | 32834 | `INFO_KEY_SET_MEDIA_PREV_TRACK` | media sub-menu |
| 12 | 32838 | `INFO_KEY_SET_MEDIA_VOLUME_UP` | media sub-menu |
| 13 | 32839 | `INFO_KEY_SET_MEDIA_VOLUME_DOWN` | media sub-menu |
| 14 | 32840 | `INFO_KEY_SET_MEDIA_MUTE` | media sub-menu |
| 15 | 32841 | `INFO_KEY_SET_WINDOWS_COMPUTER` | Windows sub-menu |
| 16 | 32842 | `INFO_KEY_SET_WINDOWS_CALC` | Windows sub-menu |
| 17 | 32843 | `INFO_KEY_SET_WINDOWS_MAIL` | Windows sub-menu |
| 18 | 32844 | `INFO_KEY_SET_WINDOWS_SEARCH` | Windows sub-menu |
| 19 | 32845 | `INFO_KEY_SET_WINDOWS_WWW_HOME` | Windows sub-menu |
| 20 | 32847 | `INFO_KEY_SET_WINDOWS_WWW_FORWARD` | Windows sub-menu |
| 21 | 32848 | `INFO_KEY_SET_WINDOWS_WWW_BACK` | Windows sub-menu |
| 22 | 32849 | `INFO_KEY_SET_WINDOWS_WWW_REFRESH` | Windows sub-menu |
| 23 | 32850 | `INFO_KEY_SET_WINDOWS_WWW_STOP` | Windows sub-menu |
| 24 | 33174 | `INFO_KEY_SET_COMBO_NEW` | combination sub-menu |
| 25 | 33175 | `INFO_KEY_SET_COMBO_OPEN` | combination sub-menu |
| 26 | 33176 | `INFO_KEY_SET_COMBO_SAVE` | combination sub-menu |
| 27 | 33177 | `INFO_KEY_SET_COMBO_FIND` | combination sub-menu |
| 28 | 33178 | `INFO_KEY_SET_COMBO_SEL_ALL` | combination sub-menu |
| 29 | 33179 | `INFO_KEY_SET_COMBO_COPY` | combination sub-menu |
| 30 | 33180 | `INFO_KEY_SET_COMBO_CUT` | combination sub-menu |
| 31 | 33181 | `INFO_KEY_SET_COMBO_PASTE` | combination sub-menu |
| 32 | 33182 | `INFO_KEY_SET_COMBO_UNDO` | combination sub-menu |
| 33 | 33184 | `INFO_KEY_SET_COMBO_CLOSE_WND` | combination sub-menu |
| 34 | 33185 | `INFO_KEY_SET_COMBO_SWITCH_WND` | combination sub-menu |
| 35 | 33187 | `INFO_KEY_SET_COMBO_SHOW_DESK` | combination sub-menu |
| 36 | 33188 | `INFO_KEY_SET_COMBO_RUN` | combination sub-menu |
| 37 | 32811 | `INFO_KEY_SET_SNG_KBD` | popup, text followed by "..." |
| 38 | 32869 | `INFO_KEY_SET_START_PROGRAM` | popup, text followed by "..." |
| 39 | 33157 | `INFO_KEY_SET_FIRE` | popup, text followed by "..." |
| 40 | 33155 | `INFO_KEY_SET_MACRO` | popup, text followed by "..." |
| 41 | 32808 | `INFO_KEY_SET_DPI_UP` | popup; removed for keys 0 to 2 |
| 42 | 32809 | `INFO_KEY_SET_DPI_DOWN` | popup; removed for keys 0 to 2 |
| 43 | 33156 | `INFO_KEY_SET_DPI_LOOP` | popup; removed for keys 0 to 2 |
)rows";

std::vector<std::vector<std::string>> Rows(const char* table) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::istringstream parts(line.substr(1));
    for (std::string cell; std::getline(parts, cell, '|');) {
      cells.push_back(cell.substr(1, cell.size() - 2));  // the blanks around the text
    }
    rows.push_back(cells);
  }
  return rows;
}

std::vector<std::uint16_t> HexNumbers(const std::string& text) {
  std::vector<std::uint16_t> numbers;
  const std::regex hex("0x([0-9A-F]+)");
  for (std::sregex_iterator it(text.begin(), text.end(), hex), end; it != end; ++it) {
    numbers.push_back(static_cast<std::uint16_t>(std::stoi((*it)[1], nullptr, 16)));
  }
  return numbers;
}

HostAction PressOf(const std::string& text) {
  const auto numbers = HexNumbers(text);
  if (text == "nothing") return {};
  if (text.starts_with("mouse button")) return {HostActionKind::MouseButtonDown, numbers[0], 0};
  if (text.starts_with("consumer")) return {HostActionKind::ConsumerKeyDown, numbers[0], 0};
  if (numbers.size() == 2 && !text.starts_with("key of")) {
    return {HostActionKind::CombinationDown, numbers[1], static_cast<std::uint8_t>(numbers[0])};
  }
  if (text.starts_with("key of")) return {HostActionKind::SingleKeyDown, 0, 0};
  if (text.starts_with("the main-window show handler")) return {HostActionKind::ShowMainWindow};
  if (text.starts_with("launch")) return {HostActionKind::LaunchProgram};
  if (text == "start rapid fire") return {HostActionKind::StartRapidFire};
  if (text == "start macro") return {HostActionKind::StartMacro};
  ADD_FAILURE() << "unread press: " << text;
  return {};
}

HostAction ReleaseOf(const std::string& text, const HostAction& press) {
  if (text == "nothing") return {};
  if (text == "consumer up") return {HostActionKind::ConsumerKeyUp, 0, 0};
  if (text == "combination release") {
    return {HostActionKind::CombinationUp, press.value, press.modifier};
  }
  if (text == "that key up") return {HostActionKind::SingleKeyUp};
  if (text == "stop-on-release request") return {HostActionKind::StopRequest};
  if (text.ends_with(" up")) return {HostActionKind::MouseButtonUp, HexNumbers(text)[0], 0};
  ADD_FAILURE() << "unread release: " << text;
  return {};
}

std::string Unquote(const std::string& text) {
  return text.substr(1, text.size() - 2);
}

TEST(AssignmentCodes, MatchTheCodeTable) {
  const auto rows = Rows(kCodeRows);
  ASSERT_EQ(rows.size(), kAssignmentCodeCount);
  for (const auto& row : rows) {
    const int code = std::stoi(row[0]);
    SCOPED_TRACE(code);
    const AssignmentCodeInfo* info = FindAssignmentCode(static_cast<std::uint8_t>(code));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->code, code);
    EXPECT_EQ(info->commandId, std::stoi(row[1]));
    EXPECT_EQ(info->menuText, Unquote(row[2]));
    const HostAction press = PressOf(row[4]);
    EXPECT_EQ(info->press, press);
    EXPECT_EQ(info->release, ReleaseOf(row[5], press));
  }
}

TEST(AssignmentCodes, MatchTheMenuTable) {
  const auto rows = Rows(kMenuRows);
  ASSERT_EQ(rows.size(), kAssignmentCodeCount);
  for (const auto& row : rows) {
    const int code = std::stoi(row[0]);
    SCOPED_TRACE(code);
    const AssignmentCodeInfo& info = AssignmentCodes()[static_cast<std::size_t>(code)];
    EXPECT_EQ(info.commandId, std::stoi(row[1]));
    EXPECT_EQ(info.textKey, Unquote(row[2]));
    AssignmentMenu menu = AssignmentMenu::Popup;
    if (row[3].starts_with("media")) menu = AssignmentMenu::Media;
    if (row[3].starts_with("Windows")) menu = AssignmentMenu::Windows;
    if (row[3].starts_with("combination")) menu = AssignmentMenu::Combination;
    EXPECT_EQ(info.menu, menu);
  }
}

TEST(AssignmentCodes, CommandsChooseTheirCode) {
  for (const AssignmentCodeInfo& info : AssignmentCodes()) {
    EXPECT_EQ(AssignmentCodeOfCommand(info.commandId), info.code);
  }
  EXPECT_EQ(AssignmentCodeOfCommand(0), std::nullopt);
  EXPECT_EQ(AssignmentCodeOfCommand(32806), std::nullopt);
  EXPECT_EQ(AssignmentCodeOfCommand(33183), std::nullopt);
  EXPECT_EQ(AssignmentCodeOfCommand(32781), std::nullopt);  // a report-rate item
}

TEST(AssignmentCodes, UnknownCodesHaveNoEntry) {
  EXPECT_EQ(FindAssignmentCode(44), nullptr);
  EXPECT_EQ(FindAssignmentCode(255), nullptr);
  EXPECT_NE(FindAssignmentCode(43), nullptr);
}

TEST(PerformedByMouse, WhoPerformsACode) {
  const struct {
    int button;
    std::uint8_t code;
    bool byMouse;
  } cases[] = {
      {0, 0, true},  {0, 1, false}, {0, 41, false}, {0, 43, false}, {0, 5, false},  {1, 1, true},
      {1, 0, false}, {2, 2, true},  {2, 42, false}, {3, 3, true},   {3, 5, false},  {3, 0, false},
      {3, 4, false}, {3, 41, true}, {3, 42, true},  {3, 43, true},  {3, 40, false}, {4, 4, true},
      {4, 3, false}, {4, 43, true}, {5, 41, true},  {5, 42, true},  {5, 43, true},  {5, 0, false},
      {5, 5, false}, {6, 42, true}, {6, 6, false},  {6, 44, false}, {7, 0, false},  {-1, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PerformedByMouse(c.button, c.code), c.byMouse) << c.button << "/" << int{c.code};
  }
}

TEST(PerformedByMouse, SensitivityCodesOnTheLeftButtonLeaveItSilent) {
  // The filter intercepts the button, and the host has nothing to do for it.
  EXPECT_FALSE(PerformedByMouse(0, kCodeSensitivityUp));
  EXPECT_EQ(FindAssignmentCode(kCodeSensitivityUp)->press.kind, HostActionKind::None);
  EXPECT_EQ(FindAssignmentCode(kCodeSensitivityUp)->release.kind, HostActionKind::None);
  // A disabled side button reports to the host, which does nothing with it.
  EXPECT_FALSE(PerformedByMouse(3, kCodeDisabled));
  EXPECT_EQ(FindAssignmentCode(kCodeDisabled)->press.kind, HostActionKind::None);
}

}  // namespace
}  // namespace vexlo
