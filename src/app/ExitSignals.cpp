#include "app/ExitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>

namespace vexlo {
namespace {

constexpr std::array<int, 3> kExitSignals = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> signalPipe{-1};
std::array<struct sigaction, kExitSignals.size()> previous{};

extern "C" void OnExitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing else is safe to do in a handler.
  (void)!::write(signalPipe.load(), &byte, 1);
  errno = saved;
}

}  // namespace

ExitSignals::ExitSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals keep their usual effect
  read_.Reset(fds[0]);
  write_.Reset(fds[1]);
  signalPipe.store(write_.get());
  notifier_ = std::make_unique<QSocketNotifier>(read_.get(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
  struct sigaction action {};
  action.sa_handler = OnExitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
    ::sigaction(kExitSignals[i], &action, &previous[i]);
  }
}

ExitSignals::~ExitSignals() {
  if (!write_.valid()) return;
  for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
    ::sigaction(kExitSignals[i], &previous[i], nullptr);
  }
  signalPipe.store(-1);
}

void ExitSignals::Drain() {
  std::array<char, 64> bytes;
  while (::read(read_.get(), bytes.data(), bytes.size()) > 0) {
  }
  if (onSignal_) onSignal_();
}

}  // namespace vexlo
