#include "platform/linux/PointerSpeedScale.h"

#include <algorithm>
#include <cmath>

namespace vexlo {
namespace {

constexpr std::uint32_t kSlowest = 1;
constexpr std::uint32_t kNeutral = 10;
constexpr std::uint32_t kFastest = 20;

std::uint32_t Clamp(double speed) {
  if (!std::isfinite(speed)) return kNeutral;
  return static_cast<std::uint32_t>(
      std::clamp(std::lround(speed), static_cast<long>(kSlowest), static_cast<long>(kFastest)));
}

}  // namespace

double SpeedToUnitScale(std::uint32_t speed) {
  const auto s = static_cast<double>(std::clamp(speed, kSlowest, kFastest));
  return s <= kNeutral ? (s - kNeutral) / (kNeutral - kSlowest)
                       : (s - kNeutral) / (kFastest - kNeutral);
}

std::uint32_t SpeedFromUnitScale(double value) {
  return Clamp(value < 0 ? kNeutral + value * (kNeutral - kSlowest)
                         : kNeutral + value * (kFastest - kNeutral));
}

X11Acceleration SpeedToX11(std::uint32_t speed) {
  return {static_cast<int>(std::clamp(speed, kSlowest, kFastest)), static_cast<int>(kNeutral)};
}

std::uint32_t SpeedFromX11(X11Acceleration acceleration) {
  if (acceleration.denominator <= 0 || acceleration.numerator <= 0) return kNeutral;
  return Clamp(static_cast<double>(acceleration.numerator) * kNeutral / acceleration.denominator);
}

}  // namespace vexlo
