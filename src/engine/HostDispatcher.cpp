#include "engine/HostDispatcher.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/PauseClock.h"
#include "engine/ScanCodeTable.h"
#include "platform/ports/ProcessLauncher.h"
#include "profiles/MacroStore.h"

namespace vexlo {
namespace {

// Event codes: a press of button i is 0x11 + i; a release of whichever buttons is 0.
constexpr std::uint16_t kFirstPressCode = 0x11;
constexpr std::uint16_t kReleaseCode = 0;

HidUsage KeyboardUsage(std::uint16_t usage) {
  return {kUsagePageKeyboard, usage};
}

// The button 0..6 that the event code presses, none for a release or an unknown code.
std::optional<std::size_t> PressedButton(std::uint16_t code) {
  if (code < kFirstPressCode || code >= kFirstPressCode + kButtonCount) return std::nullopt;
  return static_cast<std::size_t>(code - kFirstPressCode);
}

bool IsAtOnce(HostActionKind kind) {
  switch (kind) {
    case HostActionKind::CombinationDown:
    case HostActionKind::CombinationUp:
    case HostActionKind::LaunchProgram:
    case HostActionKind::StartRapidFire:
    case HostActionKind::StartMacro:
      return false;
    default:
      return true;
  }
}

}  // namespace

HostDispatcher::HostDispatcher(const MacroStore& macros, InputInjector& injector,
                               MacroPlayer& player, ProcessLauncher& launcher, PauseClock& clock,
                               ShowMainWindow showMainWindow)
    : macros_(macros),
      injector_(injector),
      player_(player),
      launcher_(launcher),
      clock_(clock),
      showMainWindow_(std::move(showMainWindow)) {
  assignments_.fill(KeyAssignment::Plain(kCodeDisabled));
}

void HostDispatcher::UseAssignments(const DeviceSettings& device) {
  for (int button = 0; button < kButtonCount; ++button) {
    assignments_[static_cast<std::size_t>(button)] = KeyAssignmentOf(device, button);
  }
}

void HostDispatcher::DispatchButtonEvent(std::uintptr_t pressed, std::intptr_t eventCode) {
  if (pressed == 0) return;
  const auto code = static_cast<std::uint16_t>(eventCode & 0xFFFF);
  if (const std::optional<std::size_t> pressedButton = PressedButton(code)) {
    const KeyAssignment& assignment = assignments_[*pressedButton];
    held_[*pressedButton] = assignment;
    if (const AssignmentCodeInfo* info = FindAssignmentCode(assignment.code)) {
      Perform(info->press, static_cast<int>(*pressedButton), assignment);
    }
  } else if (code == kReleaseCode) {
    for (int button = 0; button < kButtonCount; ++button) {
      const std::optional<KeyAssignment> pressedAs =
          std::exchange(held_[static_cast<std::size_t>(button)], std::nullopt);
      if (!pressedAs) continue;
      if (const AssignmentCodeInfo* info = FindAssignmentCode(pressedAs->code)) {
        Perform(info->release, button, *pressedAs);
      }
    }
  }
}

bool HostDispatcher::PerformsAtOnce(std::uintptr_t pressed, std::intptr_t eventCode) const {
  if (pressed == 0) return true;
  const auto code = static_cast<std::uint16_t>(eventCode & 0xFFFF);
  if (const std::optional<std::size_t> button = PressedButton(code)) {
    const AssignmentCodeInfo* info = FindAssignmentCode(assignments_[*button].code);
    return info == nullptr || IsAtOnce(info->press.kind);
  }
  if (code != kReleaseCode) return true;
  return std::ranges::all_of(held_, [](const std::optional<KeyAssignment>& pressedAs) {
    const AssignmentCodeInfo* info = pressedAs ? FindAssignmentCode(pressedAs->code) : nullptr;
    return info == nullptr || IsAtOnce(info->release.kind);
  });
}

void HostDispatcher::ReleaseEverything() {
  held_.fill(std::nullopt);
  // Waits for the run to release what it held; a run that does not end in time is told to stop
  // all the same, and what it holds is released here.
  (void)player_.StopNow();
  injector_.ReleaseAll();
}

void HostDispatcher::Perform(const HostAction& action, int button,
                             const KeyAssignment& assignment) {
  // Input that cannot be written is lost; the host keeps what it had.
  switch (action.kind) {
    case HostActionKind::None:
      break;
    case HostActionKind::MouseButtonDown:
    case HostActionKind::MouseButtonUp:
      (void)injector_.SendMouseButton(static_cast<std::uint8_t>(action.value),
                                      action.kind == HostActionKind::MouseButtonDown);
      break;
    case HostActionKind::ConsumerKeyDown:
      (void)injector_.SendKey({kUsagePageConsumer, action.value}, true);
      break;
    case HostActionKind::ConsumerKeyUp:
      (void)injector_.SendKey({kUsagePageConsumer, 0}, false);
      break;
    case HostActionKind::CombinationDown:
      PressCombination(action);
      break;
    case HostActionKind::CombinationUp:
      ReleaseCombination(action);
      break;
    case HostActionKind::SingleKeyDown:
    case HostActionKind::SingleKeyUp:
      (void)injector_.SendKeyCode(ScanCodeTable()[assignment.parameter & 0xFF].keyCode,
                                  action.kind == HostActionKind::SingleKeyDown);
      break;
    case HostActionKind::ShowMainWindow:
      if (showMainWindow_) showMainWindow_();
      break;
    case HostActionKind::LaunchProgram:
      LaunchProgram(assignment);
      break;
    case HostActionKind::StartRapidFire:
      // A refused start (the run before is still ending) loses this press.
      (void)player_.StartRapidFire(button, ParseExtensionNumber(assignment.extension));
      break;
    case HostActionKind::StartMacro:
      StartMacro(button, assignment);
      break;
    case HostActionKind::StopRequest:
      player_.StopRequest(button);
      break;
  }
}

void HostDispatcher::PressCombination(const HostAction& action) {
  (void)injector_.SendKey(KeyboardUsage(action.modifier), true);
  Pause();
  (void)injector_.SendKey(KeyboardUsage(action.value), true);
  Pause();
}

void HostDispatcher::ReleaseCombination(const HostAction& action) {
  (void)injector_.SendKey(KeyboardUsage(action.value), false);
  Pause();
  (void)injector_.SendKey(KeyboardUsage(action.modifier), false);
  Pause();
}

void HostDispatcher::StartMacro(int button, const KeyAssignment& assignment) {
  const std::uint32_t number = ParseExtensionNumber(assignment.extension);
  const std::uint8_t slot = UnpackMacro(number).slot;
  if (slot >= kMacroSlotCount) return;
  // A refused start (an empty slot, the run before still ending) loses this press.
  (void)player_.StartRun(button, number, macros_.CopySlot(slot));
}

void HostDispatcher::LaunchProgram(const KeyAssignment& assignment) {
  const std::filesystem::path file(assignment.extension);
  std::error_code error;
  if (assignment.extension.empty() || !std::filesystem::exists(file, error)) return;
  // The program reports its own failures; the button has nothing to add.
  (void)launcher_.Open(assignment.extension, {}, (file.parent_path() / "").string());
}

void HostDispatcher::Pause() {
  (void)clock_.WaitMs(kCombinationPauseMs);  // nothing stops it
}

}  // namespace vexlo
