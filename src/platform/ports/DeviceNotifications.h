#pragma once

#include <cstdint>
#include <memory>

#include "common/Result.h"
#include "platform/ports/MessageTarget.h"
#include "platform/ports/ReleaseOnDestroy.h"

namespace vexlo {

// Tells a window when HID interfaces appear and disappear, as the desktop's device notifications
// do.
class DeviceNotifications {
 public:
  static constexpr std::uint32_t kDeviceChangeMessage = 0x0219;  // WM_DEVICECHANGE
  static constexpr std::uintptr_t kArrival = 0x8000;              // DBT_DEVICEARRIVAL
  static constexpr std::uintptr_t kRemoveComplete = 0x8004;       // DBT_DEVICEREMOVECOMPLETE
  static constexpr std::intptr_t kHidInterface = 1;               // the HID interface class

  virtual ~DeviceNotifications() = default;

  // Until `registration` is destroyed, posts kDeviceChangeMessage to `window` with wParam
  // kArrival or kRemoveComplete and lParam kHidInterface each time a HID interface appears or
  // disappears (any HID interface, not only the mouse's; the window finds out what changed).
  // The posts come from a backend thread; `window` must outlive `registration`. Ok or the
  // platform's error; user-interface thread.
  [[nodiscard]] virtual Result Register(MessageTarget& window,
                                        std::unique_ptr<ReleaseOnDestroy>& registration) = 0;
};

}  // namespace vexlo
