#include "device/DeviceSession.h"

#include "common/Messages.h"

namespace vexlo {

DeviceSession::DeviceSession(DeviceLink& link, UserMessages& messages, DriverSetup* setup)
    : link_(link), messages_(messages), setup_(setup) {}

DeviceSession::~DeviceSession() {
  installer_.Stop();
  // The link may outlive the session; its workers must not reach a session that is gone.
  link_.SetEventCallback({});
}

Result DeviceSession::IsConnected() const {
  return connected_.load() ? Result::Ok : Result::NotConnected;
}

void DeviceSession::Forget() {
  connected_.store(false);
  model_.store(0);
}

bool DeviceSession::CheckAlive() {
  if (!connected_.load()) return false;
  if (link_.IsMousePresent()) return true;
  Forget();
  return false;
}

Result DeviceSession::Connect() {
  if (connected_.load()) {
    if (link_.IsMousePresent()) return Result::Ok;
    Forget();
  }
  const Result opened = link_.Open();
  if (opened == Result::DriverUnavailable) {
    (void)messages_.ShowMessage("STA_MSG_INFO_DRV_MODULE", "STA_MSG_TITLE_WARN",
                                UserMessages::kKeepOnTop, UserMessages::kWarningColour);
    return Result::NotConnected;
  }
  if (opened == Result::AccessDenied) {
    (void)messages_.ShowMessageWith("STA_MSG_INFO_DEV_ACCESS", "STA_MSG_TITLE_WARN",
                                    UserMessages::kKeepOnTop, UserMessages::kWarningColour,
                                    link_.DeniedNodes());
    return Result::NotConnected;
  }
  if (opened != Result::Ok) return Result::NotConnected;
  StartDriverSetupIfNeeded();
  model_.store(link_.ModelVariant() == 2 ? 2 : 1);
  link_.SetEventCallback(
      [this](int pressed, std::uint16_t code) { PostButtonEvent(pressed, code); });
  connected_.store(true);
  return Result::Ok;
}

void DeviceSession::StartDriverSetupIfNeeded() {
  if (!setup_ || setupFailed_ || installer_.Running()) return;
  if (link_.ProbeSplit() != 1 || link_.Transfer(kWakePacket, {}) == Result::Ok) return;
  // The user hears of it first; the mouse restarts during the setup.
  (void)messages_.ShowMessage("STA_MSG_INFO_DRV_SPLIT", "STA_MSG_TITLE_WARN",
                              UserMessages::kKeepOnTop, UserMessages::kWarningColour);
  (void)installer_.Start(*setup_, [this](Result result) {
    PostToTarget(UM_DRIVER_SETUP, result == Result::Ok ? 1 : 0, 0);
  });
}

void DeviceSession::OnDriverSetupDone(bool succeeded) {
  setupFailed_ = !succeeded;
  (void)messages_.ShowMessage(succeeded ? "STA_MSG_INFO_DRV_SPLIT2" : "STA_MSG_INFO_DRV_SPLIT_FAIL",
                              "STA_MSG_TITLE_WARN", UserMessages::kKeepOnTop,
                              UserMessages::kWarningColour);
}

void DeviceSession::Disconnect() {
  installer_.Stop();
  link_.SetEventCallback({});
  Forget();
  (void)link_.Close();  // always Ok
}

void DeviceSession::SetEventTarget(MessageTarget* target) {
  std::scoped_lock lock(targetMutex_);
  target_ = target;
}

void DeviceSession::PostButtonEvent(int pressed, std::uint16_t code) {
  PostToTarget(UM_BUTTON_EVENT, static_cast<std::uintptr_t>(pressed), code);
}

void DeviceSession::PostToTarget(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  std::scoped_lock lock(targetMutex_);
  // A window that has gone drops the message.
  if (target_) (void)target_->Post(message, wParam, lParam);
}

}  // namespace vexlo
