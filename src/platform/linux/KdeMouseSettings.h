#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

// The pointer settings of KDE Plasma, in its configuration files under `configFolder`
// ($XDG_CONFIG_HOME): "kdeglobals" [KDE] DoubleClickInterval and WheelScrollLines, and
// "kcminputrc" [Mouse] XLbInptPointerAcceleration (libinput's -1..1). After each change the
// running KDE programs are told on the session bus, as the desktop's own settings module does.
// Plasma has no "one screen per notch": that wheel value answers NotSupported.
//
// The values found at construction are kept; the destructor puts back those that this object
// changed, exactly as they were (a key that was absent gets Plasma's default).
class KdeMouseSettings final : public SystemMouseSettings {
 public:
  explicit KdeMouseSettings(std::filesystem::path configFolder);
  ~KdeMouseSettings() override;
  KdeMouseSettings(const KdeMouseSettings&) = delete;
  KdeMouseSettings& operator=(const KdeMouseSettings&) = delete;

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;

 private:
  // One key of one file, with Plasma's default and the text it had before this object first
  // changed it.
  struct Key {
    const char* file;
    const char* section;
    const char* name;
    const char* fallback;
    bool changed = false;
    std::optional<std::string> original;
  };

  std::string Read(const Key& key);
  Result Write(Key& key, const std::string& value);

  const std::filesystem::path folder_;
  // The wheel lines come from their own worker while the others change: one file change at a
  // time. Guards the keys below.
  std::mutex mutex_;
  Key double_click_{"kdeglobals", "KDE", "DoubleClickInterval", "400", false, std::nullopt};
  Key wheel_lines_{"kdeglobals", "KDE", "WheelScrollLines", "3", false, std::nullopt};
  Key acceleration_{"kcminputrc", "Mouse", "XLbInptPointerAcceleration", "0", false, std::nullopt};
};

}  // namespace vexlo
