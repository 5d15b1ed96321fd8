#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The 44 assignment codes: what a mouse button does. Each code has the menu command that chooses
// it, its menu text, the language key of its caption, and what the host does when a button with
// that code is pressed and released (as far as the host performs it, see PerformedByMouse).
namespace vexlo {

inline constexpr std::size_t kAssignmentCodeCount = 44;

// The codes the logic refers to by name; the others are only data of the table.
enum AssignmentCode : std::uint8_t {
  kCodeLeftButton = 0,
  kCodeRightButton = 1,
  kCodeMiddleButton = 2,
  kCodeForwardButton = 3,
  kCodeBackButton = 4,
  kCodeDisabled = 5,
  kCodeShowMainWindow = 6,
  kCodeSingleKey = 37,
  kCodeLaunchProgram = 38,
  kCodeFireKey = 39,
  kCodeMacro = 40,
  kCodeSensitivityUp = 41,
  kCodeSensitivityDown = 42,
  kCodeSensitivityCycle = 43,
};

enum class HostActionKind : std::uint8_t {
  None,
  MouseButtonDown,  // value: button bits of the injection device
  MouseButtonUp,    // value: button bits
  ConsumerKeyDown,  // value: consumer usage
  ConsumerKeyUp,    // sends consumer usage 0
  CombinationDown,  // modifier down, pause, key down, pause (kCombinationPauseMs)
  CombinationUp,    // key up, pause, modifier up, pause
  SingleKeyDown,    // the key of the assignment's parameter (SingleKeyUsage)
  SingleKeyUp,
  ShowMainWindow,  // the main window's show handler, as for 'Open'
  LaunchProgram,   // opens the file named by the extension text, when it exists
  StartRapidFire,  // the fire-key number of the extension text
  StartMacro,      // the macro number of the extension text
  StopRequest,     // asks the macro player to end the button's run if it stops on release
};

struct HostAction {
  HostActionKind kind = HostActionKind::None;
  std::uint16_t value = 0;    // mouse-button bits, consumer usage, or a combination's key usage
  std::uint8_t modifier = 0;  // a combination's modifier usage (keyboard page)

  bool operator==(const HostAction&) const = default;
};

// The pause between the steps of a key combination, in milliseconds.
inline constexpr int kCombinationPauseMs = 10;

// Where the assignment menu shows a code.
enum class AssignmentMenu : std::uint8_t { Popup, Media, Windows, Combination };

struct AssignmentCodeInfo {
  std::uint8_t code = 0;
  std::uint16_t commandId = 0;  // the menu command that chooses the code
  std::string_view menuText;    // the menu's own text
  std::string_view textKey;     // language key of the caption and the menu item
  AssignmentMenu menu = AssignmentMenu::Popup;
  HostAction press;
  HostAction release;
};

// All 44 codes, in code order.
const std::array<AssignmentCodeInfo, kAssignmentCodeCount>& AssignmentCodes();

// The code's entry; nullptr for a code of 44 or more.
const AssignmentCodeInfo* FindAssignmentCode(std::uint8_t code);

// The code that a menu command chooses; none for any other command.
std::optional<std::uint8_t> AssignmentCodeOfCommand(std::uint16_t commandId);

// Whether the mouse performs `code` on `button` (0..6) by itself. The left, right and middle
// buttons do only their own function themselves; the side and sensitivity buttons also the three
// sensitivity functions. Every other case is the host's: the button is intercepted or reports to
// the host, and the host performs the code's press and release actions (nothing for the
// sensitivity codes). False for a button out of range. The mouse's own rule (MousePerformsCode),
// which also decides what the device commands write.
bool PerformedByMouse(int button, std::uint8_t code);

}  // namespace vexlo
