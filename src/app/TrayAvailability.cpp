#include "app/TrayAvailability.h"

#include <QSystemTrayIcon>

namespace vexlo {
namespace {

constexpr int kPollMilliseconds = 1000;

}  // namespace

TrayAvailability::TrayAvailability(Probe probe, std::function<void(bool available)> changed)
    : probe_(std::move(probe)), changed_(std::move(changed)), available_(probe_()) {
  poll_.setInterval(kPollMilliseconds);
  QObject::connect(&poll_, &QTimer::timeout, [this] { Check(); });
  poll_.start();
}

void TrayAvailability::Check() {
  const bool available = probe_();
  if (available == available_) return;
  available_ = available;
  changed_(available);
}

bool TrayAvailability::DesktopHasTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace vexlo
