#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/KdeConfigFile.h"
#include "platform/linux/UdevDevices.h"
#include "platform/ports/SystemMouseSettings.h"

namespace vexlo {

// The pointer settings of KDE Plasma, in its configuration files under `configFolder`
// ($XDG_CONFIG_HOME): "kdeglobals" [KDE] DoubleClickInterval and WheelScrollLines, and in
// "kcminputrc" the pointer acceleration (libinput's -1..1). After each change the running KDE
// programs, KWin among them, are told on the session bus, as the desktop's own settings module
// does. Plasma has no "one screen per notch": that wheel value answers NotSupported.
//
// Where the acceleration lives depends on the session. On X11 it is [Mouse]
// XLbInptPointerAcceleration. On Wayland KWin keeps it per input device,
// [Libinput][vendor][product][name] PointerAcceleration (IDs in decimal), and takes
// [Libinput][Defaults][Pointer] for a device without its own: the speed is read from the first
// mouse and written to every mouse present and to the defaults, so that a mouse that comes later
// (the program's own pointer mirror among them) moves alike.
//
// The destructor puts back every key this object changed, exactly as it was before the first
// change (a key that was absent is removed again).
class KdeMouseSettings final : public SystemMouseSettings {
 public:
  // The mice that KWin drives; asked at each get and set of the pointer speed.
  using PointerLister = std::function<std::vector<InputPointer>()>;

  // Plasma's X11 session.
  explicit KdeMouseSettings(std::filesystem::path configFolder);
  // Plasma's Wayland session.
  KdeMouseSettings(std::filesystem::path configFolder, PointerLister pointers);
  ~KdeMouseSettings() override;
  KdeMouseSettings(const KdeMouseSettings&) = delete;
  KdeMouseSettings& operator=(const KdeMouseSettings&) = delete;

  Result GetDoubleClickTime(std::uint32_t& milliseconds) override;
  Result SetDoubleClickTime(std::uint32_t milliseconds) override;
  Result GetPointerSpeed(std::uint32_t& speed) override;
  Result SetPointerSpeed(std::uint32_t speed) override;
  Result GetWheelScrollLines(std::uint32_t& lines) override;
  Result SetWheelScrollLines(std::uint32_t lines) override;
  bool HasPageScrolling() const override { return false; }

 private:
  // One key as it was before this object first changed it.
  struct Original {
    std::string file;
    KdeConfigFile::Group group;
    std::string key;
    std::optional<std::string> value;  // none: absent
  };

  // The places of the acceleration: where it is read first, then where else it is written.
  std::vector<KdeConfigFile::Group> AccelerationGroups() const;
  // The number under `key` of the general group of "kdeglobals", `fallback` when it is absent.
  Result ReadGlobalNumber(const std::string& key, const char* fallback, std::uint32_t& value);
  // Changes the keys of one file, each to its value unless `keep` says that what it holds may
  // stay, and tells KDE's programs when anything changed. Under the lock.
  Result Write(const std::string& file, const std::vector<KdeConfigFile::Group>& groups,
               const std::string& key, const std::string& value,
               const std::function<bool(const std::string&)>& keep);

  const std::filesystem::path folder_;
  const PointerLister pointers_;  // empty on X11
  // The wheel lines come from their own worker while the others change: one file change at a
  // time. Guards originals_.
  std::mutex mutex_;
  std::vector<Original> originals_;
};

}  // namespace vexlo
