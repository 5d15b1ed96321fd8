#pragma once

#include <memory>
#include <mutex>

#include "platform/ports/SystemMouseSettings.h"

using GSettings = struct _GSettings;
using GVariant = struct _GVariant;

namespace vexlo {

// The pointer settings of GNOME and the desktops built on its settings (Budgie, Pantheon, Unity),
// through GSettings: "double-click" and "speed" of org.gnome.desktop.peripherals.mouse. GNOME has
// no wheel setting: those calls answer NotSupported.
//
// The values found at construction are kept; the destructor puts back those that this object
// changed, exactly as they were. A speed that already reads as the requested one is not written,
// so the desktop's own finer value stays.
class GnomeMouseSettings final : public SystemMouseSettings {
 public:
  // None when the schema is not installed.
  static std::unique_ptr<GnomeMouseSettings> Open();
  ~GnomeMouseSettings() override;
  GnomeMouseSettings(const GnomeMouseSettings&) = delete;
  GnomeMouseSettings& operator=(const GnomeMouseSettings&) = delete;

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;

 private:
  // A key and the value it had before this object first changed it.
  struct Key {
    const char* name;
    GVariant* original = nullptr;  // owned; null until changed
  };

  explicit GnomeMouseSettings(GSettings* settings);
  Result Write(Key& key, GVariant* value);

  GSettings* settings_;  // owned
  std::mutex mutex_;     // guards the originals of the keys below
  Key double_click_{"double-click", nullptr};
  Key speed_{"speed", nullptr};
};

}  // namespace vexlo
