#include "platform/sim/SimSystemMouseSettings.h"

namespace vexlo {

Result SimSystemMouseSettings::GetDoubleClickTime(std::uint32_t& milliseconds) {
  std::scoped_lock lock(mutex_);
  milliseconds = values_.doubleClickTime;
  return Result::Ok;
}

Result SimSystemMouseSettings::SetDoubleClickTime(std::uint32_t milliseconds) {
  std::scoped_lock lock(mutex_);
  values_.doubleClickTime = milliseconds;
  return Result::Ok;
}

Result SimSystemMouseSettings::GetPointerSpeed(std::uint32_t& speed) {
  std::scoped_lock lock(mutex_);
  speed = values_.pointerSpeed;
  return Result::Ok;
}

Result SimSystemMouseSettings::SetPointerSpeed(std::uint32_t speed) {
  // The desktop refuses speeds outside its scale, as the real one does.
  if (speed < 1 || speed > 20) return Result::InvalidParameter;
  std::scoped_lock lock(mutex_);
  values_.pointerSpeed = speed;
  return Result::Ok;
}

Result SimSystemMouseSettings::GetWheelScrollLines(std::uint32_t& lines) {
  std::scoped_lock lock(mutex_);
  lines = values_.wheelScrollLines;
  return Result::Ok;
}

Result SimSystemMouseSettings::SetWheelScrollLines(std::uint32_t lines) {
  std::scoped_lock lock(mutex_);
  values_.wheelScrollLines = lines;
  return Result::Ok;
}

SimSystemMouseSettings::Values SimSystemMouseSettings::Snapshot() const {
  std::scoped_lock lock(mutex_);
  return values_;
}

}  // namespace vexlo
