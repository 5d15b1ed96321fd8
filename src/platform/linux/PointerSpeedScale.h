#pragma once

#include <cstdint>

// The program's pointer speed (1 slowest, 10 neutral, 20 fastest) on the scales that desktops
// keep. Each pair maps both ways so that a speed written and read back is the same speed.
namespace vexlo {

// libinput's acceleration, -1 (slowest) to 1 (fastest), 0 neutral, as GNOME's "speed" and KDE's
// pointer acceleration hold it: 1..10 spread over -1..0 and 10..20 over 0..1.
double SpeedToUnitScale(std::uint32_t speed);
std::uint32_t SpeedFromUnitScale(double value);

// X11's pointer acceleration, a fraction (numerator over denominator): speed tenths.
struct X11Acceleration {
  int numerator = 10;
  int denominator = 10;
};
X11Acceleration SpeedToX11(std::uint32_t speed);
std::uint32_t SpeedFromX11(X11Acceleration acceleration);

}  // namespace vexlo
