#include "platform/linux/RtkitRealtimeBroker.h"

#include <gio/gio.h>
#include <sys/resource.h>

#include <cerrno>

namespace vexlo {
namespace {

constexpr const char* kService = "org.freedesktop.RealtimeKit1";
constexpr const char* kObject = "/org/freedesktop/RealtimeKit1";
constexpr int kAnswerTimeoutMs = 1000;
// RealtimeKit's default for the longest a real-time thread may run without sleeping; it refuses
// a process whose limit is higher or none.
constexpr rlim_t kLongestRealtimeRunUs = 200'000;

Result FromError(const GError* error) {
  if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
      g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
      g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_FILE_NOT_FOUND) ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_FOUND) ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED)) {
    return Result::NotFound;
  }
  if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED) ||
      g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_AUTH_FAILED) ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED)) {
    return Result::AccessDenied;
  }
  if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY) ||
      g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_TIMEOUT) ||
      g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
    return Result::Timeout;
  }
  return Result::GeneralFailure;
}

Result CapRealtimeRun() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_RTTIME, &limit) != 0) return ResultFromErrno(errno);
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= kLongestRealtimeRunUs) return Result::Ok;
  limit.rlim_cur = limit.rlim_max = kLongestRealtimeRunUs;
  return ::setrlimit(RLIMIT_RTTIME, &limit) == 0 ? Result::Ok : ResultFromErrno(errno);
}

}  // namespace

RtkitRealtimeBroker::~RtkitRealtimeBroker() {
  if (bus_ != nullptr) g_object_unref(bus_);
}

GDBusConnection* RtkitRealtimeBroker::Bus(Result& failure) {
  std::scoped_lock lock(mutex_);
  if (bus_ != nullptr) return bus_;
  GError* error = nullptr;
  bus_ = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
  if (bus_ == nullptr) {
    failure = FromError(error);
    g_error_free(error);
    return nullptr;
  }
  // A restart of the bus must not end the program, as it would by default.
  g_dbus_connection_set_exit_on_close(bus_, FALSE);
  return bus_;
}

Result RtkitRealtimeBroker::MakeThreadRealtime(std::uint64_t threadId, int priority) {
  if (const Result capped = CapRealtimeRun(); capped != Result::Ok) return capped;
  Result failure = Result::Ok;
  GDBusConnection* bus = Bus(failure);
  if (bus == nullptr) return failure;
  GError* error = nullptr;
  GVariant* answer = g_dbus_connection_call_sync(
      bus, kService, kObject, kService, "MakeThreadRealtime",
      g_variant_new("(tu)", static_cast<guint64>(threadId), static_cast<guint32>(priority)),
      nullptr, G_DBUS_CALL_FLAGS_NONE, kAnswerTimeoutMs, nullptr, &error);
  if (answer == nullptr) {
    const Result refused = FromError(error);
    g_error_free(error);
    return refused;
  }
  g_variant_unref(answer);
  return Result::Ok;
}

}  // namespace vexlo
