#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "platform/linux/PointerSpeedScale.h"
#include "platform/linux/X11Display.h"
#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

// The pointer speed of a plain X11 session: the server's pointer acceleration
// (XChangePointerControl), speed tenths. X11 keeps no double-click time or wheel lines: those calls
// answer NotSupported.
//
// The acceleration found at construction is kept; the destructor puts it back if this object
// changed it.
class X11PointerSettings final : public SystemMouseSettings {
 public:
  explicit X11PointerSettings(X11Display display);
  ~X11PointerSettings() override;
  X11PointerSettings(const X11PointerSettings&) = delete;
  X11PointerSettings& operator=(const X11PointerSettings&) = delete;

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;

 private:
  X11Acceleration Current();
  void Change(X11Acceleration acceleration);

  std::mutex mutex_;  // one Xlib call at a time
  X11Display display_;
  std::optional<X11Acceleration> original_;  // set once this object has changed the speed
};

}  // namespace vexlo
