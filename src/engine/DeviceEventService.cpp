#include "engine/DeviceEventService.h"

#include <utility>

#include "common/Messages.h"
#include "common/Text.h"
#include "device/DeviceCommands.h"
#include "device/DeviceSession.h"
#include "engine/ApplyAll.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/WheelLinesWorker.h"
#include "engine/WindowsMouseSettings.h"
#include "platform/ports/DeviceNotifications.h"
#include "platform/ports/MessageTarget.h"
#include "profiles/AppSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {

std::uint32_t NarrowModel(std::uint32_t model, int deviceKind) {
  if (deviceKind == 2) return model == 1 || model == 2 ? model : 1;
  return model == 0 ? 0 : 3;
}

DeviceEventService::DeviceEventService(const DeviceEventParts& parts, MainWindowView& view,
                                       MessageTarget& window)
    : parts_(parts),
      view_(view),
      window_(window),
      dispatcher_(parts.macros, parts.injector, parts.player, parts.launcher, parts.pauseClock,
                  // The dispatch thread asks; the window's thread shows.
                  [&window] { (void)window.Post(UM_SHOW_MAIN, kTagOpen, 0); }),
      buttons_(dispatcher_, window) {}

DeviceEventService::~DeviceEventService() {
  // When these return, no worker posts to the window any more.
  parts_.monitor.SetTarget(nullptr);
  parts_.device.SetEventTarget(nullptr);
}

void DeviceEventService::Start(bool startHidden) {
  // Without the injection device host functions send nothing; every arrival tries again.
  (void)parts_.injector.OpenInjectionDevice();
  AssignmentsChanged();
  parts_.device.SetEventTarget(&buttons_);
  parts_.monitor.SetTarget(&window_);
  // A window that is gone drops what is posted to it; this one is not.
  if (parts_.device.Connect() == Result::Ok) {
    (void)window_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
  }
  if (!startHidden) (void)window_.Post(UM_SHOW_MAIN, kTagOpen, 0);
  parts_.monitor.RebuildLinkTable(parts_.profiles);
}

bool DeviceEventService::IsMouseUsable() {
  DeviceSession& device = parts_.device;
  return device.IsConnected() == Result::Ok && device.Link().IsOpen();
}

int DeviceEventService::DeviceKind() const {
  return parts_.device.Model();
}

void DeviceEventService::OnDeviceChange(std::uintptr_t event) {
  DeviceSession& device = parts_.device;
  if (event == DeviceNotifications::kArrival) {
    if (IsMouseUsable()) return;  // another HID device
    view_.CloseNoDeviceMessage();
    if (device.Connect() == Result::Ok) (void)window_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
  } else if (event == DeviceNotifications::kRemoveComplete && device.IsConnected() == Result::Ok) {
    // Another HID device going leaves a mouse that still answers.
    if (!device.CheckAlive()) (void)window_.Post(UM_DEVICE_STATE, kTagDeviceRemoved, 0);
  }
}

void DeviceEventService::OnDeviceState(std::uintptr_t state) {
  if (shutDown_) return;
  if (state == kTagDeviceArrived) {
    if (parts_.device.IsConnected() == Result::Ok) ApplyOnArrival();
    view_.SetTrayPresent(true);
    return;
  }
  OnRemoval();
}

void DeviceEventService::OnRemoval() {
  // Nothing the mouse started may stay pressed or running on the host.
  buttons_.ReleaseEverything();
  parts_.monitor.StopMonitor();
  deferredLink_.reset();
  view_.SetTrayPresent(false);
  view_.CloseOpenDialogs();
  view_.HideWindow();
  // Connecting again closes the link that the removed mouse left open; a mouse that came back in
  // the meantime arrives again.
  if (parts_.device.Connect() == Result::Ok) {
    (void)window_.Post(UM_DEVICE_STATE, kTagDeviceArrived, 0);
  }
  view_.ShowModelChoice();
}

void DeviceEventService::ApplyOnArrival() {
  ProfileStore& profiles = parts_.profiles;
  ProfileData& profile = profiles.Data();
  // The injection device may have gone and come back with the mouse (a restarted driver).
  (void)parts_.injector.OpenInjectionDevice();
  SettleCurrentProfile();
  // A file that cannot be read leaves the profile in memory as it was.
  (void)ReadProfile(profiles.CurrentPath(), &profile.device, nullptr, &profile.link);
  AssignmentsChanged();
  CaptureWindowsSettings(parts_.mouseSettings, profile.windows);
  (void)WriteProfile(profiles.CurrentPath(), profile);  // the profile in memory is what counts
  view_.RefreshAll();
  if (parts_.device.IsConnected() == Result::Ok) {
    DeviceCommands commands(parts_.device, profile.device);
    (void)commands.ApplyDeviceSettings();  // a failed part is sent again at the next arrival
  }
  parts_.monitor.RebuildLinkTable(profiles);
  AppSettings& settings = parts_.settings;
  settings.nDevModel = NarrowModel(settings.nDevModel, parts_.device.Model());
  view_.ShowModelChoice();
  (void)SaveDevModel(settings);  // the choice holds for this run either way
  parts_.monitor.StartMonitor();
}

void DeviceEventService::SettleCurrentProfile() {
  ProfileStore& profiles = parts_.profiles;
  // Without a profile there is nothing to send; the mouse keeps what it has.
  (void)profiles.EnsureCurrentProfile();
  // Not reported, as every settings write: the next arrival writes it again.
  (void)SaveProfilePath(parts_.settings, profiles.CurrentPath());
}

void DeviceEventService::OnShowMain() {
  if (shutDown_) return;
  DeviceSession& device = parts_.device;
  if (device.IsConnected() == Result::Ok && !device.Link().IsOpen()) (void)device.CheckAlive();
  if (!IsMouseUsable()) {
    view_.ShowNoDeviceMessage();
    return;
  }
  view_.ShowAndRaise();
}

void DeviceEventService::AssignmentsChanged() {
  buttons_.UseAssignments(parts_.profiles.Data().device);
}

void DeviceEventService::OnLinkedProfile(const LinkEntry& link) {
  if (shutDown_) return;
  if (view_.IsBusy()) {
    deferredLink_ = link;  // a later program in the foreground replaces an earlier one
    return;
  }
  deferredLink_.reset();
  SwitchToLinked(link);
}

void DeviceEventService::ApplyDeferredSwitch() {
  if (!deferredLink_ || view_.IsBusy() || shutDown_) return;
  const LinkEntry link = *std::exchange(deferredLink_, std::nullopt);
  SwitchToLinked(link);
}

void DeviceEventService::SwitchToLinked(const LinkEntry& link) {
  ProfileStore& profiles = parts_.profiles;
  if (EqualsNoCase(link.profilePath, profiles.CurrentPath())) return;
  // A file that cannot be read is not made current: its name over the current contents would
  // have the next change write them into its file.
  if (profiles.SelectProfile(link.profilePath) != Result::Ok) {
    view_.ShowUnreadableProfile();
    return;
  }
  ProfileLoaded();
}

void DeviceEventService::ProfileLoaded() {
  // What the old profile's buttons hold or run ends with it (a macro awaiting a second press).
  buttons_.ReleaseEverything();
  AssignmentsChanged();
  ApplyWholeProfile();
  view_.RefreshAll();
  parts_.monitor.RebuildLinkTable(parts_.profiles);
  (void)SaveProfilePath(parts_.settings, parts_.profiles.CurrentPath());  // as at arrival
}

void DeviceEventService::ChooseModel(std::uint32_t model) {
  parts_.settings.nDevModel = model;
  (void)SaveDevModel(parts_.settings);  // the choice holds for this run either way
}

Result DeviceEventService::RestoreDefaults() {
  if (parts_.device.IsConnected() != Result::Ok) return Result::NotConnected;
  ProfileStore& profiles = parts_.profiles;
  FillDefaults(profiles.Data());
  const Result saved = WriteProfile(profiles.CurrentPath(), profiles.Data());
  ProfileLoaded();
  return saved;
}

void DeviceEventService::ApplyWholeProfile() {
  ProfileData& profile = parts_.profiles.Data();
  DeviceCommands commands(parts_.device, profile.device);
  // A mouse that fails part of it keeps the rest; the next arrival sends everything again.
  (void)ApplyAll(commands, parts_.mouseSettings, parts_.wheelLines, profile.windows);
}

void DeviceEventService::Shutdown() {
  if (std::exchange(shutDown_, true)) return;
  // No worker reaches the window from here on, and each has ended when its stop returns; button
  // events stop before the link closes, which needs it open for the defaults.
  parts_.monitor.SetTarget(nullptr);
  parts_.monitor.Stop();
  parts_.device.SetEventTarget(nullptr);
  buttons_.Stop();
  deferredLink_.reset();
  buttons_.ReleaseEverything();
  parts_.player.Shutdown();
  // The mouse and the desktop go back to the defaults; the profile files keep the user's values.
  FillDefaults(parts_.profiles.Data());
  ApplyWholeProfile();
  parts_.wheelLines.Shutdown();  // applies the default wheel lines first
  parts_.device.Disconnect();
  parts_.injector.CloseInjectionDevice();
}

}  // namespace vexlo
