#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/AssignmentCodes.h"
#include "engine/KeyAssignment.h"
#include "profiles/ProfileData.h"

namespace vexlo {

class InputInjector;
class MacroPlayer;
class MacroStore;
class PauseClock;
class ProcessLauncher;

// Performs on the host what a reassigned button does, once for every UM_BUTTON_EVENT of the mouse:
// key and mouse-button input through the injector, macros and rapid fire through the player,
// launching a program, showing the main window. The button's assignment is taken, when it is
// pressed, from the assignments last handed over by UseAssignments, and remembered: its release
// undoes exactly what the press did, even when the profile changed or the button was reassigned
// in between (keys pressed must never stay down).
//
// A press of button i is remembered until a release event, which carries no button number and so
// releases every button the host has seen pressed.
//
// One thread at a time (the button dispatch thread, and the user-interface thread while that one
// is held); the 10 ms pauses of key combinations run on the calling thread.
class HostDispatcher {
 public:
  // Shows the main window and brings it to the front, as UM_SHOW_MAIN with 'Open' does.
  using ShowMainWindow = std::function<void()>;

  // Everything must outlive the dispatcher. Until UseAssignments every button is disabled.
  HostDispatcher(const MacroStore& macros, InputInjector& injector, MacroPlayer& player,
                 ProcessLauncher& launcher, PauseClock& clock, ShowMainWindow showMainWindow);

  // Copies the buttons' assignments of `device`; later presses perform them. A button held now
  // still releases what its press did.
  void UseAssignments(const DeviceSettings& device);

  // The UM_BUTTON_EVENT handler's work, with the message's wParam and lParam. A pressed flag of 0
  // (the mouse's reports stopped) does nothing. Of the event code's low 16 bits, 0x11..0x17 press
  // button 0..6 and 0 releases every pressed button, in button order; anything else is ignored.
  void DispatchButtonEvent(std::uintptr_t pressed, std::intptr_t eventCode);

  // Whether DispatchButtonEvent would perform the event at once: no pause of a key combination, no
  // program to start and no macro run to wait for.
  bool PerformsAtOnce(std::uintptr_t pressed, std::intptr_t eventCode) const;

  // Whatever the mouse was doing on the host ends: when it goes away, when the program stops and
  // when another profile becomes current. The run of the macro player is stopped and waited for,
  // every key, mouse button and consumer key is released and no button counts as pressed any
  // more, so the release that follows does nothing.
  void ReleaseEverything();

 private:
  void Perform(const HostAction& action, int button, const KeyAssignment& assignment);
  void PressCombination(const HostAction& action);
  void ReleaseCombination(const HostAction& action);
  void StartMacro(int button, const KeyAssignment& assignment);
  void LaunchProgram(const KeyAssignment& assignment);
  void Pause();

  const MacroStore& macros_;
  InputInjector& injector_;
  MacroPlayer& player_;
  ProcessLauncher& launcher_;
  PauseClock& clock_;
  ShowMainWindow showMainWindow_;
  std::array<KeyAssignment, kButtonCount> assignments_;
  // Per button, the assignment whose press the host performed and whose release it has not.
  std::array<std::optional<KeyAssignment>, kButtonCount> held_{};
};

}  // namespace vexlo
