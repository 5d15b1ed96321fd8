#include "platform/linux/GnomeMouseSettings.h"

#include <gio/gio.h>

#include <limits>

#include "platform/linux/PointerSpeedScale.h"

namespace vexlo {
namespace {

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

}  // namespace

std::unique_ptr<GnomeMouseSettings> GnomeMouseSettings::Open() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
  if (schema == nullptr) return nullptr;
  g_settings_schema_unref(schema);
  return std::unique_ptr<GnomeMouseSettings>(new GnomeMouseSettings(g_settings_new(kSchema)));
}

GnomeMouseSettings::GnomeMouseSettings(GSettings* settings) : settings_(settings) {}

GnomeMouseSettings::~GnomeMouseSettings() {
  std::scoped_lock lock(mutex_);
  for (Key* key : {&double_click_, &speed_}) {
    if (key->original == nullptr) continue;
    (void)g_settings_set_value(settings_, key->name, key->original);
    g_variant_unref(key->original);
  }
  g_settings_sync();
  g_object_unref(settings_);
}

Result GnomeMouseSettings::Write(Key& key, GVariant* value) {
  std::scoped_lock lock(mutex_);
  GVariant* before = g_settings_get_value(settings_, key.name);
  g_variant_ref_sink(value);
  const bool same = g_variant_equal(before, value);
  const bool written = same || g_settings_set_value(settings_, key.name, value);
  g_variant_unref(value);
  if (!written) {
    g_variant_unref(before);
    return Result::AccessDenied;  // the key is locked down or the value out of its range
  }
  if (same || key.original != nullptr) {
    g_variant_unref(before);
  } else {
    key.original = before;
  }
  g_settings_sync();
  return Result::Ok;
}

Result GnomeMouseSettings::GetDoubleClickTime(std::uint32_t& milliseconds) {
  const gint value = g_settings_get_int(settings_, double_click_.name);
  if (value < 0) return Result::BadData;
  milliseconds = static_cast<std::uint32_t>(value);
  return Result::Ok;
}

Result GnomeMouseSettings::SetDoubleClickTime(std::uint32_t milliseconds) {
  if (milliseconds > static_cast<std::uint32_t>(std::numeric_limits<gint>::max())) {
    return Result::InvalidParameter;
  }
  return Write(double_click_, g_variant_new_int32(static_cast<gint32>(milliseconds)));
}

Result GnomeMouseSettings::GetPointerSpeed(std::uint32_t& speed) {
  speed = SpeedFromUnitScale(g_settings_get_double(settings_, speed_.name));
  return Result::Ok;
}

Result GnomeMouseSettings::SetPointerSpeed(std::uint32_t speed) {
  if (SpeedFromUnitScale(g_settings_get_double(settings_, speed_.name)) == speed) {
    return Result::Ok;
  }
  return Write(speed_, g_variant_new_double(SpeedToUnitScale(speed)));
}

Result GnomeMouseSettings::GetWheelScrollLines(std::uint32_t&) {
  return Result::NotSupported;
}

Result GnomeMouseSettings::SetWheelScrollLines(std::uint32_t) {
  return Result::NotSupported;
}

}  // namespace vexlo
