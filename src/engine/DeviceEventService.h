#pragma once

#include <cstdint>
#include <optional>

#include "common/Result.h"
#include "engine/ButtonDispatchThread.h"
#include "engine/ForegroundMonitor.h"
#include "engine/HostDispatcher.h"

namespace vexlo {

struct AppSettings;
class DeviceSession;
class InputInjector;
class MacroPlayer;
class MacroStore;
class MessageTarget;
class PauseClock;
class ProcessLauncher;
class ProfileStore;
class SystemMouseSettings;
class WheelLinesWorker;

// What the device event service asks of the main window. The window implements it; tests fake
// it. Every call comes on the user-interface thread.
class MainWindowView {
 public:
  // Brings every panel up to date with the current profile.
  virtual void RefreshAll() = 0;
  // The model choice changed (the chosen model, or the models the mouse admits): the radio buttons
  // and the mouse picture follow it.
  virtual void ShowModelChoice() = 0;
  // Shows the window (restored when minimised) and brings it to the front.
  virtual void ShowAndRaise() = 0;
  virtual void HideWindow() = 0;
  // Closes every dialog and message the window has open, as if the user had closed them.
  virtual void CloseOpenDialogs() = 0;
  // Puts the tray icon into the notification area, or takes it out.
  virtual void SetTrayPresent(bool present) = 0;
  // The no-device message: shown, or brought to the front when it is open already. Returns at
  // once; the message stays open until the user or CloseNoDeviceMessage closes it.
  virtual void ShowNoDeviceMessage() = 0;
  virtual void CloseNoDeviceMessage() = 0;
  // True while a modal dialog or a menu of the program is open. Work that must not run under one
  // (a linked profile switch) waits until it has closed; the window then calls
  // DeviceEventService::ApplyDeferredSwitch.
  virtual bool IsBusy() const = 0;
  // The linked switch found its profile's file unreadable (gone or damaged): the user is told,
  // and the current profile stays.
  virtual void ShowUnreadableProfile() = 0;

 protected:
  ~MainWindowView() = default;
};

// Everything the service works with; all of it must outlive the service.
struct DeviceEventParts {
  AppSettings& settings;
  ProfileStore& profiles;
  MacroStore& macros;
  DeviceSession& device;
  InputInjector& injector;
  MacroPlayer& player;
  ForegroundMonitor& monitor;
  WheelLinesWorker& wheelLines;
  SystemMouseSettings& mouseSettings;
  ProcessLauncher& launcher;
  PauseClock& pauseClock;
};

// The model a connected mouse of `deviceKind` narrows `model` to: kind 1 admits 0 and 3 (others
// become 3), kind 2 admits 1 and 2 (others become 1).
std::uint32_t NarrowModel(std::uint32_t model, int deviceKind);

// Everything that flows between the mouse and the program, without the window's own widgets:
// connecting at start, the arrival and removal of the mouse, sending the profile on arrival, the
// button events (performed by the host dispatcher it owns, on the button dispatch thread), show
// requests, the linked-profile switch, Restore's device part and the exit sequence. The main window
// forwards its messages here and lends the service a MainWindowView for what the user sees; the
// service reaches the window's queue through `window` (UM_DEVICE_STATE, UM_SHOW_MAIN, and the
// workers' messages).
//
// User-interface thread only; button events never pass through it.
class DeviceEventService {
 public:
  DeviceEventService(const DeviceEventParts& parts, MainWindowView& view, MessageTarget& window);
  // Detaches the workers from the window; after Shutdown they have stopped already.
  ~DeviceEventService();
  DeviceEventService(const DeviceEventService&) = delete;
  DeviceEventService& operator=(const DeviceEventService&) = delete;

  // The window is up: the injection device opens, button events and linked programs are routed to
  // the window, the mouse is connected (its arrival posted on success), the link table is built,
  // and unless `startHidden` a show request is posted.
  void Start(bool startHidden);

  // The window's messages: WM_DEVICECHANGE of the HID interface class (its event type),
  // UM_DEVICE_STATE ('Dev1' arrived, anything else removed), UM_SHOW_MAIN.
  void OnDeviceChange(std::uintptr_t event);
  void OnDeviceState(std::uintptr_t state);
  void OnShowMain();

  // The current profile's button assignments changed in memory (a button was reassigned): the
  // next presses perform them.
  void AssignmentsChanged();

  // UM_LINKED_PROFILE: makes the linked profile current and sends it to the mouse and the desktop,
  // unless it is current already. While the window is busy (a modal dialog or menu) the switch
  // waits, and only the last one that arrived is made, once, by ApplyDeferredSwitch.
  void OnLinkedProfile(const LinkEntry& link);
  void ApplyDeferredSwitch();

  // The mouse is connected and its link open (a show request shows the window).
  bool IsMouseUsable();
  // The kind of the connected mouse (1 or 2), 0 without one.
  int DeviceKind() const;

  // The user chose mouse model `model` (0..3): kept and saved at once.
  void ChooseModel(std::uint32_t model);

  // A profile was made current or changed as a whole (chosen, switched to, restored, imported):
  // what the old one's buttons hold or run is released, it goes to the mouse and the desktop, the
  // window follows it, the link table is rebuilt and the settings file names it. The one path
  // for a loaded profile: the panels call it after loading one.
  void ProfileLoaded();

  // Restore's device part: the current profile takes the default values, is saved, and is sent
  // to the mouse and the desktop; the window is refreshed and the link table rebuilt. NotConnected
  // without a mouse (nothing changes); else the save's result (the rest is done either way).
  [[nodiscard]] Result RestoreDefaults();

  // The exit sequence, run once: the monitor, the macro player and button events stop (the
  // workers joined), everything the host holds is released, the mouse and the desktop return to
  // the default values (the profile files keep the user's), the wheel worker applies them and
  // ends, and the link and the injection device close. Whatever asked for the exit, this is the
  // one path.
  void Shutdown();

 private:
  void ApplyOnArrival();
  void OnRemoval();
  void SwitchToLinked(const LinkEntry& link);
  void ApplyWholeProfile();
  // A current profile that is listed in the profile folder, its path saved in the settings.
  void SettleCurrentProfile();

  DeviceEventParts parts_;
  MainWindowView& view_;
  MessageTarget& window_;
  HostDispatcher dispatcher_;
  ButtonDispatchThread buttons_;  // the mouse's event target; after dispatcher_, which it uses
  std::optional<LinkEntry> deferredLink_;  // the switch that waits for the window
  bool shutDown_ = false;
};

}  // namespace vexlo
