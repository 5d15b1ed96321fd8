#include "device/DeviceSession.h"

#include "common/Messages.h"

namespace vexlo {

DeviceSession::DeviceSession(DeviceLink& link, UserMessages& messages)
    : link_(link), messages_(messages) {}

DeviceSession::~DeviceSession() {
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
  model_.store(link_.ModelVariant() == 2 ? 2 : 1);
  link_.SetEventCallback(
      [this](int pressed, std::uint16_t code) { PostButtonEvent(pressed, code); });
  connected_.store(true);
  return Result::Ok;
}

void DeviceSession::Disconnect() {
  link_.SetEventCallback({});
  Forget();
  (void)link_.Close();  // always Ok
}

void DeviceSession::SetEventTarget(MessageTarget* target) {
  std::scoped_lock lock(targetMutex_);
  target_ = target;
}

void DeviceSession::PostButtonEvent(int pressed, std::uint16_t code) {
  std::scoped_lock lock(targetMutex_);
  // A window that has gone drops the event.
  if (target_) (void)target_->Post(UM_BUTTON_EVENT, static_cast<std::uintptr_t>(pressed), code);
}

}  // namespace vexlo
