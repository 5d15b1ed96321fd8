#include "platform/linux/PointerForwarder.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <optional>
#include <vector>

#include "common/RealtimeThread.h"

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadBatch = 64;
constexpr std::size_t kBitsPerLong = 8 * sizeof(unsigned long);

// The codes of one event type that the device can send.
std::vector<std::uint16_t> SupportedCodes(int fd, int type, int maxCode) {
  std::vector<unsigned long> bits(static_cast<std::size_t>(maxCode) / kBitsPerLong + 1);
  std::vector<std::uint16_t> codes;
  const auto bytes = static_cast<unsigned>(bits.size() * sizeof(unsigned long));
  if (::ioctl(fd, EVIOCGBIT(type, bytes), bits.data()) < 0) return codes;
  for (int code = 0; code <= maxCode; ++code) {
    const auto at = static_cast<std::size_t>(code);
    if (bits[at / kBitsPerLong] >> (at % kBitsPerLong) & 1) {
      codes.push_back(static_cast<std::uint16_t>(code));
    }
  }
  return codes;
}

// Which of the left, right and middle buttons a key code is.
std::optional<std::size_t> InterceptableButton(std::uint16_t code) {
  switch (code) {
    case BTN_LEFT: return 0;
    case BTN_RIGHT: return 1;
    case BTN_MIDDLE: return 2;
    default: return std::nullopt;
  }
}

bool IsMotion(const input_event& event) {
  return event.type == EV_REL && (event.code == REL_X || event.code == REL_Y);
}

// Relative motion added up until it may be passed on.
struct PendingMotion {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool any = false;

  void Add(const input_event& event) {
    (event.code == REL_X ? x : y) += event.value;
    any = true;
  }
  void MoveTo(std::vector<input_event>& out) {
    if (x != 0) out.push_back(InputEvent(EV_REL, REL_X, x));
    if (y != 0) out.push_back(InputEvent(EV_REL, REL_Y, y));
    *this = {};
  }
};

}  // namespace

bool PointerRules::NeedsGrab() const {
  return std::any_of(intercepted.begin(), intercepted.end(), [](bool b) { return b; }) ||
         rateFactor < 1.0;
}

Result PointerForwarder::Start(const std::string& eventNode, const std::string& uinputNode,
                               const PointerRules& rules, ButtonSignal signal,
                               std::unique_ptr<PointerForwarder>& forwarder) {
  UniqueFd source(::open(eventNode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!source.valid()) return ResultFromErrno(errno);
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.valid()) return ResultFromErrno(errno);

  // The mirror can send whatever the mouse can.
  char name[UINPUT_MAX_NAME_SIZE] = {};
  (void)::ioctl(source.get(), EVIOCGNAME(sizeof name - 1), name);  // an unnamed mouse stays so
  input_id id{};
  (void)::ioctl(source.get(), EVIOCGID, &id);
  const UinputSetup setup{.name = std::string(name) + " (Vexlo)",
                          .vendorId = id.vendor,
                          .productId = id.product,
                          .keys = SupportedCodes(source.get(), EV_KEY, KEY_MAX),
                          .relativeAxes = SupportedCodes(source.get(), EV_REL, REL_MAX),
                          .miscellaneous = SupportedCodes(source.get(), EV_MSC, MSC_MAX)};
  std::unique_ptr<UinputDevice> mirror;
  if (const Result r = UinputDevice::Create(uinputNode, setup, mirror); r != Result::Ok) return r;
  if (::ioctl(source.get(), EVIOCGRAB, 1) < 0) return ResultFromErrno(errno);
  forwarder.reset(new PointerForwarder(std::move(source), std::move(mirror), std::move(wake), rules,
                                       std::move(signal)));
  return Result::Ok;
}

PointerForwarder::PointerForwarder(UniqueFd source, std::unique_ptr<UinputDevice> mirror,
                                   UniqueFd wake, const PointerRules& rules, ButtonSignal signal)
    : source_(std::move(source)),
      mirror_(std::move(mirror)),
      wake_(std::move(wake)),
      signal_(std::move(signal)),
      rules_(rules) {
  forwarder_ = std::jthread([this](std::stop_token stop) { Forward(stop); });
  watchdog_ = std::jthread([this](std::stop_token stop) { Watch(stop); });
}

PointerForwarder::~PointerForwarder() {
  forwarder_.request_stop();
  Wake();
  forwarder_.join();
  watchdog_.request_stop();
  watchdog_.join();
  // The desktop has the mouse back before the mirror goes, so no event is lost between them.
  (void)::ioctl(source_.get(), EVIOCGRAB, 0);
}

void PointerForwarder::SetRules(const PointerRules& rules) {
  std::scoped_lock lock(rulesMutex_);
  rules_ = rules;
}

void PointerForwarder::Wake() {
  const std::uint64_t one = 1;
  (void)!::write(wake_.get(), &one, sizeof one);  // fails only when already readable
}

void PointerForwarder::Forward(std::stop_token stop) {
  (void)EnterRealtime("pointer forwarder");  // refused, it forwards all the same
  std::vector<input_event> read(kReadBatch);
  std::vector<input_event> out;
  PendingMotion pending;
  Clock::time_point lastMotion{};
  while (!stop.stop_requested()) {
    PointerRules rules;
    {
      std::scoped_lock lock(rulesMutex_);
      rules = rules_;
    }
    const bool coalesce = rules.rateFactor < 1.0;
    const auto interval = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(1.0 / rules.rateFactor));

    // Motion held back waits for its interval to end; nothing else waits at all.
    timespec timeout{};
    timespec* deadline = nullptr;
    if (pending.any) {
      const auto left = std::max(Clock::duration::zero(), lastMotion + interval - Clock::now());
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
      timeout = {static_cast<time_t>(seconds.count()),
                 static_cast<long>((left - seconds) / std::chrono::nanoseconds(1))};
      deadline = &timeout;
    }
    pollfd waiting[2] = {{source_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
    if (::ppoll(waiting, 2, deadline, nullptr) < 0 && errno != EINTR) break;
    if (waiting[1].revents != 0) break;
    if (waiting[0].revents & (POLLERR | POLLHUP | POLLNVAL)) break;  // the mouse has gone

    out.clear();
    if (waiting[0].revents & POLLIN) {
      const ssize_t bytes = ::read(source_.get(), read.data(), read.size() * sizeof(input_event));
      if (bytes < 0 && errno != EAGAIN && errno != EINTR) break;
      const std::size_t count = bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(input_event) : 0;
      ++progress_;
      std::size_t frameStart = 0;  // where the frame being read begins in `out`
      for (const input_event& event : std::span(read.data(), count)) {
        const std::optional<std::size_t> button =
            event.type == EV_KEY ? InterceptableButton(event.code) : std::nullopt;
        if (button && rules.intercepted[*button]) {
          // Key repeats (value 2) are no transition.
          if (event.value == 0 || event.value == 1) signal_(*button * 2 + (event.value == 0));
          continue;
        }
        if (coalesce && IsMotion(event)) {
          pending.Add(event);
          continue;
        }
        if (event.type == EV_SYN) {
          if (event.code != SYN_REPORT) continue;  // the kernel tells each reader of drops itself
          if (pending.any && Clock::now() - lastMotion >= interval) {
            pending.MoveTo(out);
            lastMotion = Clock::now();
          }
          // A frame whose every event was held back or swallowed is not passed on.
          if (out.size() > frameStart) out.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
          frameStart = out.size();
          continue;
        }
        // A click lands where the pointer was when it happened.
        if (pending.any) {
          pending.MoveTo(out);
          lastMotion = Clock::now();
        }
        out.push_back(InputEvent(event.type, event.code, event.value));
      }
    } else if (pending.any) {
      pending.MoveTo(out);  // the interval has ended
      lastMotion = Clock::now();
      out.push_back(InputEvent(EV_SYN, SYN_REPORT, 0));
    }
    // A lost write loses motion the next one makes up for; the kernel keeps buttons consistent.
    if (!out.empty()) (void)mirror_->Emit(out);
  }
  running_.store(false);
}

void PointerForwarder::Watch(std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any tick;
  std::unique_lock lock(mutex);
  std::uint64_t seen = progress_.load();
  bool waitingBefore = false;
  for (;;) {
    tick.wait_for(lock, stop, kWatchPeriod, [] { return false; });
    if (stop.stop_requested() || !running_.load()) return;
    pollfd source{source_.get(), POLLIN, 0};
    const bool waiting = ::poll(&source, 1, 0) > 0 && (source.revents & POLLIN);
    const std::uint64_t now = progress_.load();
    if (waiting && waitingBefore && now == seen) {
      (void)::ioctl(source_.get(), EVIOCGRAB, 0);
      running_.store(false);
      Wake();
      return;
    }
    waitingBefore = waiting;
    seen = now;
  }
}

}  // namespace vexlo
