#include "platform/linux/X11PointerSettings.h"

#include <X11/Xlib.h>

namespace vexlo {

X11PointerSettings::X11PointerSettings(X11Display display) : display_(std::move(display)) {}

X11PointerSettings::~X11PointerSettings() {
  if (original_) Change(*original_);
}

X11Acceleration X11PointerSettings::Current() {
  int numerator = 0;
  int denominator = 0;
  int threshold = 0;
  XGetPointerControl(display_.get(), &numerator, &denominator, &threshold);
  return {numerator, denominator};
}

void X11PointerSettings::Change(X11Acceleration acceleration) {
  XChangePointerControl(display_.get(), True, False, acceleration.numerator,
                        acceleration.denominator, 0);
  XSync(display_.get(), False);
}

Result X11PointerSettings::GetDoubleClickTime(std::uint32_t&) {
  return Result::NotSupported;
}

Result X11PointerSettings::SetDoubleClickTime(std::uint32_t) {
  return Result::NotSupported;
}

Result X11PointerSettings::GetPointerSpeed(std::uint32_t& speed) {
  std::scoped_lock lock(mutex_);
  speed = SpeedFromX11(Current());
  return Result::Ok;
}

Result X11PointerSettings::SetPointerSpeed(std::uint32_t speed) {
  std::scoped_lock lock(mutex_);
  const X11Acceleration before = Current();
  if (SpeedFromX11(before) == speed) return Result::Ok;
  Change(SpeedToX11(speed));
  if (!original_) original_ = before;
  return Result::Ok;
}

Result X11PointerSettings::GetWheelScrollLines(std::uint32_t&) {
  return Result::NotSupported;
}

Result X11PointerSettings::SetWheelScrollLines(std::uint32_t) {
  return Result::NotSupported;
}

}  // namespace vexlo
