#include "platform/linux/KdeMouseSettings.h"

#include <gio/gio.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "platform/linux/PointerSpeedScale.h"

namespace vexlo {
namespace {

// KGlobalSettings' change kinds: "settings changed" of the "mouse" category makes KDE programs
// read the double-click time and the wheel lines again, and KWin the pointer acceleration of its
// input devices.
constexpr int kSettingsChanged = 3;
constexpr int kMouseCategory = 0;

const std::string kGlobals = "kdeglobals";
const std::string kInput = "kcminputrc";
const KdeConfigFile::Group kGeneral{"KDE"};
const KdeConfigFile::Group kMouse{"Mouse"};
const KdeConfigFile::Group kPointerDefaults{"Libinput", "Defaults", "Pointer"};
const std::string kDoubleClick = "DoubleClickInterval";
const std::string kWheelLines = "WheelScrollLines";
const std::string kX11Acceleration = "XLbInptPointerAcceleration";
const std::string kAcceleration = "PointerAcceleration";

bool SessionBusKnown() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  return runtime != nullptr &&
         std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

// Without a session bus there is no KDE program to tell.
void TellKdePrograms() {
  if (!SessionBusKnown()) return;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return;
  // The program outlives a session bus that goes away.
  g_dbus_connection_set_exit_on_close(bus, FALSE);
  (void)g_dbus_connection_emit_signal(
      bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
      g_variant_new("(ii)", kSettingsChanged, kMouseCategory), nullptr);
  (void)g_dbus_connection_flush_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
}

std::optional<std::uint32_t> ParseUnsigned(const std::string& text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The acceleration as a pointer speed. Plasma writes the number in the C locale, whatever the
// user's.
std::optional<std::uint32_t> ParseSpeed(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return SpeedFromUnitScale(value);
}

KdeConfigFile::Group DeviceGroup(const InputPointer& pointer) {
  return {"Libinput", std::to_string(pointer.vendorId), std::to_string(pointer.productId),
          pointer.name};
}

// The value of the first of `groups` that has the key, else `fallback`.
std::string Read(const std::filesystem::path& file, const std::vector<KdeConfigFile::Group>& groups,
                 const std::string& key, const std::string& fallback) {
  KdeConfigFile doc;
  (void)doc.Load(file);  // a missing file holds Plasma's defaults
  for (const KdeConfigFile::Group& group : groups) {
    if (std::optional<std::string> value = doc.Find(group, key)) return *value;
  }
  return fallback;
}

}  // namespace

KdeMouseSettings::KdeMouseSettings(std::filesystem::path configFolder)
    : folder_(std::move(configFolder)) {}

KdeMouseSettings::KdeMouseSettings(std::filesystem::path configFolder, PointerLister pointers)
    : folder_(std::move(configFolder)), pointers_(std::move(pointers)) {}

KdeMouseSettings::~KdeMouseSettings() {
  std::scoped_lock lock(mutex_);
  bool restored = false;
  for (const std::string& file : {kGlobals, kInput}) {
    KdeConfigFile doc;
    (void)doc.Load(folder_ / file);
    bool touched = false;
    for (const Original& original : originals_) {
      if (original.file != file) continue;
      touched = true;
      if (original.value) {
        (void)doc.Set(original.group, original.key, *original.value);  // it was read back before
      } else {
        doc.Remove(original.group, original.key);
      }
    }
    restored = (touched && doc.Save(folder_ / file) == Result::Ok) || restored;
  }
  if (restored) TellKdePrograms();
}

std::vector<KdeConfigFile::Group> KdeMouseSettings::AccelerationGroups() const {
  if (!pointers_) return {kMouse};
  std::vector<KdeConfigFile::Group> groups;
  for (const InputPointer& pointer : pointers_()) groups.push_back(DeviceGroup(pointer));
  groups.push_back(kPointerDefaults);
  return groups;
}

Result KdeMouseSettings::Write(const std::string& file,
                               const std::vector<KdeConfigFile::Group>& groups,
                               const std::string& key, const std::string& value,
                               const std::function<bool(const std::string&)>& keep) {
  KdeConfigFile doc;
  if (const Result r = doc.Load(folder_ / file); r != Result::Ok && r != Result::FileNotFound) {
    return r;
  }
  std::vector<Original> changed;
  for (const KdeConfigFile::Group& group : groups) {
    std::optional<std::string> before = doc.Find(group, key);
    if (before && (*before == value || keep(*before))) continue;
    if (const Result r = doc.Set(group, key, value); r != Result::Ok) return r;
    changed.push_back({file, group, key, std::move(before)});
  }
  if (changed.empty()) return Result::Ok;
  if (const Result r = doc.Save(folder_ / file); r != Result::Ok) return r;
  for (Original& original : changed) {
    const bool known = std::any_of(originals_.begin(), originals_.end(), [&](const Original& o) {
      return o.file == original.file && o.group == original.group && o.key == original.key;
    });
    if (!known) originals_.push_back(std::move(original));
  }
  TellKdePrograms();
  return Result::Ok;
}

Result KdeMouseSettings::ReadGlobalNumber(const std::string& key, const char* fallback,
                                          std::uint32_t& value) {
  std::scoped_lock lock(mutex_);
  const std::optional<std::uint32_t> read =
      ParseUnsigned(Read(folder_ / kGlobals, {kGeneral}, key, fallback));
  if (!read) return Result::BadData;
  value = *read;
  return Result::Ok;
}

Result KdeMouseSettings::GetDoubleClickTime(std::uint32_t& milliseconds) {
  return ReadGlobalNumber(kDoubleClick, "400", milliseconds);
}

Result KdeMouseSettings::SetDoubleClickTime(std::uint32_t milliseconds) {
  std::scoped_lock lock(mutex_);
  return Write(kGlobals, {kGeneral}, kDoubleClick, std::to_string(milliseconds),
               [](const std::string&) { return false; });
}

Result KdeMouseSettings::GetPointerSpeed(std::uint32_t& speed) {
  std::scoped_lock lock(mutex_);
  // On Wayland: the first mouse's own value, else the defaults.
  std::vector<KdeConfigFile::Group> read{kMouse};
  if (pointers_) {
    const std::vector<InputPointer> mice = pointers_();
    read = {kPointerDefaults};
    if (!mice.empty()) read.insert(read.begin(), DeviceGroup(mice.front()));
  }
  const std::optional<std::uint32_t> value =
      ParseSpeed(Read(folder_ / kInput, read, pointers_ ? kAcceleration : kX11Acceleration, "0"));
  if (!value) return Result::BadData;
  speed = *value;
  return Result::Ok;
}

Result KdeMouseSettings::SetPointerSpeed(std::uint32_t speed) {
  std::scoped_lock lock(mutex_);
  char text[16];
  const auto written =
      std::to_chars(text, text + sizeof text, SpeedToUnitScale(speed), std::chars_format::fixed, 3);
  // A value that reads as this speed stays as it is: what was read and written back is unchanged.
  return Write(kInput, AccelerationGroups(), pointers_ ? kAcceleration : kX11Acceleration,
               std::string(text, written.ptr),
               [speed](const std::string& before) { return ParseSpeed(before) == speed; });
}

Result KdeMouseSettings::GetWheelScrollLines(std::uint32_t& lines) {
  return ReadGlobalNumber(kWheelLines, "3", lines);
}

Result KdeMouseSettings::SetWheelScrollLines(std::uint32_t lines) {
  if (lines == kWheelScrollsPage) return Result::NotSupported;
  std::scoped_lock lock(mutex_);
  return Write(kGlobals, {kGeneral}, kWheelLines, std::to_string(lines),
               [](const std::string&) { return false; });
}

}  // namespace vexlo
