#include "platform/linux/KdeMouseSettings.h"

#include <gio/gio.h>

#include <charconv>
#include <cstdlib>

#include "common/IniDocument.h"
#include "platform/linux/PointerSpeedScale.h"

namespace vexlo {
namespace {

// KGlobalSettings' change kinds: "settings changed" of the "mouse" category makes KDE programs
// read the double-click time and the wheel lines again.
constexpr int kSettingsChanged = 3;
constexpr int kMouseCategory = 0;

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

bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

KdeMouseSettings::KdeMouseSettings(std::filesystem::path configFolder)
    : folder_(std::move(configFolder)) {}

KdeMouseSettings::~KdeMouseSettings() {
  std::scoped_lock lock(mutex_);
  bool restored = false;
  for (Key* key : {&double_click_, &wheel_lines_, &acceleration_}) {
    if (!key->changed) continue;
    IniDocument doc;
    (void)doc.Load(folder_ / key->file);
    if (doc.Set(key->section, key->name, key->original.value_or(key->fallback)) == Result::Ok &&
        doc.Save(folder_ / key->file) == Result::Ok) {
      restored = true;
    }
  }
  if (restored) TellKdePrograms();
}

std::string KdeMouseSettings::Read(const Key& key) {
  std::scoped_lock lock(mutex_);
  IniDocument doc;
  (void)doc.Load(folder_ / key.file);  // a missing file holds Plasma's defaults
  return doc.Find(key.section, key.name).value_or(key.fallback);
}

Result KdeMouseSettings::Write(Key& key, const std::string& value) {
  std::scoped_lock lock(mutex_);
  IniDocument doc;
  if (const Result r = doc.Load(folder_ / key.file); r != Result::Ok && r != Result::FileNotFound) {
    return r;
  }
  std::optional<std::string> before = doc.Find(key.section, key.name);
  if (before == value) return Result::Ok;
  if (const Result r = doc.Set(key.section, key.name, value); r != Result::Ok) return r;
  if (const Result r = doc.Save(folder_ / key.file); r != Result::Ok) return r;
  if (!key.changed) {
    key.changed = true;
    key.original = std::move(before);
  }
  TellKdePrograms();
  return Result::Ok;
}

Result KdeMouseSettings::GetDoubleClickTime(std::uint32_t& milliseconds) {
  return ParseUnsigned(Read(double_click_), milliseconds) ? Result::Ok : Result::BadData;
}

Result KdeMouseSettings::SetDoubleClickTime(std::uint32_t milliseconds) {
  return Write(double_click_, std::to_string(milliseconds));
}

Result KdeMouseSettings::GetPointerSpeed(std::uint32_t& speed) {
  // Plasma writes the number in the C locale, whatever the user's.
  const std::string text = Read(acceleration_);
  double value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || stop != text.data() + text.size()) return Result::BadData;
  speed = SpeedFromUnitScale(value);
  return Result::Ok;
}

Result KdeMouseSettings::SetPointerSpeed(std::uint32_t speed) {
  std::uint32_t now = 0;
  if (GetPointerSpeed(now) == Result::Ok && now == speed) return Result::Ok;
  char text[16];
  const auto written =
      std::to_chars(text, text + sizeof text, SpeedToUnitScale(speed), std::chars_format::fixed, 3);
  return Write(acceleration_, std::string(text, written.ptr));
}

Result KdeMouseSettings::GetWheelScrollLines(std::uint32_t& lines) {
  return ParseUnsigned(Read(wheel_lines_), lines) ? Result::Ok : Result::BadData;
}

Result KdeMouseSettings::SetWheelScrollLines(std::uint32_t lines) {
  if (lines == kWheelScrollsPage) return Result::NotSupported;
  return Write(wheel_lines_, std::to_string(lines));
}

}  // namespace vexlo
