#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "common/Result.h"
#include "device/DeviceLink.h"
#include "device/RegisterSetup.h"
#include "device/SplitDriverInstaller.h"
#include "platform/ports/DriverSetup.h"
#include "platform/ports/MessageTarget.h"
#include "platform/ports/UserMessages.h"

namespace vexlo {

// The mouse as the application sees it: whether it is connected and usable, which model it is,
// and the window that receives its button events. The device commands (DeviceCommands) work on
// this object and on the link's register image.
//
// Connect, CheckAlive, Disconnect and the register image belong to the user-interface thread; the
// connected state and the model may be read from any thread.
class DeviceSession {
 public:
  // `setup` (none: never needed) installs the split drivers when a split mouse does not answer the
  // wake packet; it must outlive the session.
  DeviceSession(DeviceLink& link, UserMessages& messages, DriverSetup* setup = nullptr);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Ok while the mouse is connected, else NotConnected.
  [[nodiscard]] Result IsConnected() const;

  // True when the mouse is connected and still answers. When it has gone, the session forgets it
  // (not connected, no model) and answers false; the link stays open until the next Connect.
  bool CheckAlive();

  // Makes the mouse usable: a connected mouse that still answers is kept; otherwise the link is
  // opened (or closed and opened again), the model noted and button events routed to the event
  // target. When the filter drivers are missing, or this user may not use the mouse's device
  // nodes, the user is told so. Ok, or NotConnected. Blocks while the link opens; user-interface
  // thread.
  [[nodiscard]] Result Connect();

  // The program ends: a driver setup in progress is waited for, button events stop, the session
  // forgets the mouse and the link closes (its workers joined). User-interface thread.
  void Disconnect();

  // The event target received UM_DRIVER_SETUP: tells the user how the setup went. User-interface
  // thread.
  void OnDriverSetupDone(bool succeeded);

  // The target of UM_BUTTON_EVENT (wParam pressed flag, lParam event code) and UM_DRIVER_SETUP;
  // null for none. It must stay valid until it is replaced.
  // Lock order: taken inside the link's callback lock when an event is delivered.
  void SetEventTarget(MessageTarget* target);

  // Model of the connected mouse: 0 none, 1 or 2.
  int Model() const { return model_.load(); }
  // The link's register image (DeviceLink::RegisterCache): the device commands change it and
  // write the registers they changed.
  const RegisterBank& RegisterImage() const { return link_.RegisterCache(); }
  RegisterBank& RegisterImage() { return link_.RegisterCache(); }
  DeviceLink& Link() { return link_; }

 private:
  void Forget();
  void PostButtonEvent(int pressed, std::uint16_t code);
  void PostToTarget(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void StartDriverSetupIfNeeded();

  DeviceLink& link_;
  UserMessages& messages_;
  std::atomic<bool> connected_{false};
  std::atomic<int> model_{0};
  std::mutex targetMutex_;  // guards target_
  MessageTarget* target_ = nullptr;
  DriverSetup* setup_;
  bool setupFailed_ = false;  // not tried again in this run: each try restarts the mouse
  SplitDriverInstaller installer_;  // last: its worker reaches the members above
};

}  // namespace vexlo
