#include "engine/MacroPlayer.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "common/RealtimeThread.h"
#include "engine/InjectionReport.h"
#include "engine/InputInjector.h"
#include "engine/PauseClock.h"
#include "engine/PauseSchedule.h"
#include "engine/ScanCodeTable.h"

namespace vexlo {
namespace {

constexpr std::uint8_t kPressFlag = 0x80;

// A loop mode that no dialog writes (a damaged file) plays while the button is held, so a run can
// never go on with nobody able to end it.
MacroLoopMode LoopModeOf(std::uint32_t parameter) {
  const MacroLoopMode mode = UnpackMacro(parameter).loopMode;
  return mode <= MacroLoopMode::StopOnRelease ? mode : MacroLoopMode::StopOnRelease;
}

std::size_t StepCount(const MacroData& record) {
  return std::min<std::size_t>(record.byCount, kMaxMacroSteps);
}

// A run with no pause to wait out (a loop of keys alone) would keep the real-time worker on the
// processor for as long as it plays: nothing else would run there, and a process whose real-time
// thread runs 200 ms without sleeping is ended by the kernel when RealtimeKit gave it the
// scheduling. Such a run rests this briefly whenever it has been awake this long.
constexpr auto kLongestAwake = std::chrono::milliseconds(10);
constexpr auto kRest = std::chrono::microseconds(100);

}  // namespace

// What the run's own steps hold down, so that the end of a pass releases that and leaves alone
// what another button holds (a key combination held while a fire key runs).
class MacroPlayer::HeldByRun {
 public:
  void Key(std::uint8_t keyCode, bool down) {
    std::erase(keys_, keyCode);
    if (down && keyCode != 0) keys_.push_back(keyCode);
  }
  void Buttons(std::uint8_t bits, bool down) {
    buttons_ = static_cast<std::uint8_t>(down ? buttons_ | bits : buttons_ & ~bits);
  }
  // Releases everything held, in the reverse order it went down.
  void Release(InputInjector& injector) {
    // A report that cannot be written leaves the host as it is; nothing better can be done.
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
      (void)injector.SendKeyCode(*key, false);
    }
    if (buttons_ != 0) (void)injector.SendMouseButton(buttons_, false);
    keys_.clear();
    buttons_ = 0;
  }

 private:
  std::vector<std::uint8_t> keys_;  // key codes, in the order they went down
  std::uint8_t buttons_ = 0;
};

MacroRun RapidFireRun(std::uint32_t fireKeyNumber) {
  const FireKeyNumber fireKey = UnpackFireKey(fireKeyNumber);
  const auto half = static_cast<std::uint16_t>((fireKey.interval + 1) / 2);
  MacroRun run;
  run.record.byFlag = kMacroSlotUsed;
  run.record.byCount = 4;
  run.record.byExtFlag = 0;
  run.record.szName = "FireKey";
  run.record.steps[0] = {kMacroMouseButton | kPressFlag, kMouseButtonLeft, 0};
  run.record.steps[1] = MacroAction::Pause(half);
  run.record.steps[2] = {kMacroMouseButton, kMouseButtonLeft, 0};
  run.record.steps[3] = MacroAction::Pause(half);
  const MacroNumber number =
      fireKey.clicks != 0 ? MacroNumber{kRapidFireSlot, MacroLoopMode::RepeatCount, fireKey.clicks}
                          : MacroNumber{kRapidFireSlot, MacroLoopMode::StopOnRelease, 1};
  run.parameter = PackMacro(number);
  return run;
}

MacroPlayer::MacroPlayer(InputInjector& injector, PauseClock& clock)
    : injector_(injector), clock_(clock) {}

MacroPlayer::~MacroPlayer() { Shutdown(); }

void MacroPlayer::Shutdown() {
  {
    std::scoped_lock lock(mutex_);
    pending_.reset();
    runStop_.request_stop();
  }
  worker_.request_stop();  // wakes a worker waiting for a run
  if (worker_.joinable()) worker_.join();
}

Result MacroPlayer::StartRun(int button, std::uint32_t macroNumber, const MacroData& record) {
  std::unique_lock lock(mutex_);
  if (running_) {
    const bool sameButton = owner_ == button;
    const MacroLoopMode endedMode = mode_;
    if (!StopAndWait(lock)) return Result::PreviousRunEnding;
    if (sameButton && endedMode == MacroLoopMode::StopOnSecondPress) return Result::Ok;
  }
  const MacroNumber number = UnpackMacro(macroNumber);
  if (StepCount(record) == 0 ||
      (number.loopMode == MacroLoopMode::RepeatCount && number.repeatCount == 0)) {
    return Result::NothingToActOn;
  }
  if (const Result r = EnsureWorker(); r != Result::Ok) return r;
  runStop_ = std::stop_source();
  pending_ = Pending{MacroRun{macroNumber, record}, runStop_.get_token()};
  running_ = true;
  owner_ = button;
  mode_ = LoopModeOf(macroNumber);
  lock.unlock();
  wake_.notify_one();
  return Result::Ok;
}

Result MacroPlayer::StartRapidFire(int button, std::uint32_t fireKeyNumber) {
  const MacroRun run = RapidFireRun(fireKeyNumber);
  return StartRun(button, run.parameter, run.record);
}

void MacroPlayer::StopRequest(int button) {
  std::scoped_lock lock(mutex_);
  if (running_ && owner_ == button && mode_ == MacroLoopMode::StopOnRelease) {
    runStop_.request_stop();
  }
}

Result MacroPlayer::StopNow() {
  std::unique_lock lock(mutex_);
  if (!running_) return Result::Ok;
  return StopAndWait(lock) ? Result::Ok : Result::PreviousRunEnding;
}

bool MacroPlayer::IsRunning() const {
  std::scoped_lock lock(mutex_);
  return running_;
}

bool MacroPlayer::StopAndWait(std::unique_lock<std::mutex>& lock) {
  runStop_.request_stop();
  return ended_.wait_for(lock, kPatience, [this] { return !running_; });
}

Result MacroPlayer::EnsureWorker() {
  if (worker_.joinable()) return Result::Ok;
  try {
    worker_ = std::jthread([this](std::stop_token stop) { Work(std::move(stop)); });
  } catch (const std::system_error&) {
    // A thread fails to start only for want of resources.
    return Result::NotEnoughMemory;
  }
  return Result::Ok;
}

void MacroPlayer::Work(std::stop_token workerStop) {
  (void)EnterRealtime("macro player");  // refused, it plays all the same
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, workerStop, [this] { return pending_.has_value(); });
    if (workerStop.stop_requested()) return;
    const Pending pending = std::move(*pending_);
    pending_.reset();
    lock.unlock();
    Play(pending.run, pending.stop);
    lock.lock();
    running_ = false;
    ended_.notify_all();
  }
}

void MacroPlayer::Play(const MacroRun& run, const std::stop_token& stop) {
  const MacroNumber number = UnpackMacro(run.parameter);
  const bool counted = LoopModeOf(run.parameter) == MacroLoopMode::RepeatCount;
  std::uint32_t runsLeft = number.repeatCount;
  const std::size_t steps = StepCount(run.record);
  // Pauses are laid end to end from the start of the run, so the time the reports take between
  // them does not add up: rapid fire keeps its period, and a macro its rhythm.
  PauseClock::Clock::time_point lastPauseEnd = clock_.Now();
  PauseClock::Clock::time_point awakeSince = lastPauseEnd;
  HeldByRun held;
  while (!stop.stop_requested() && (!counted || runsLeft > 0)) {
    for (std::size_t i = 0; i < steps; ++i) {
      const bool slept = PerformStep(run.record.steps[i], stop, lastPauseEnd, held);
      if (stop.stop_requested()) break;
      const PauseClock::Clock::time_point now = clock_.Now();
      if (slept) {
        awakeSince = now;
      } else if (now - awakeSince >= kLongestAwake) {
        (void)clock_.WaitUntil(now + kRest, stop);  // a stop ends the rest; the loop checks it
        awakeSince = clock_.Now();
      }
    }
    held.Release(injector_);
    if (counted) --runsLeft;
  }
}

bool MacroPlayer::PerformStep(const MacroAction& step, const std::stop_token& stop,
                              PauseClock::Clock::time_point& lastPauseEnd, HeldByRun& held) {
  const bool down = (step.type & kPressFlag) != 0;
  // A report that cannot be written is lost; the run goes on as the user made it.
  switch (step.Kind()) {
    case kMacroMouseButton:
      held.Buttons(step.data1, down);
      (void)injector_.SendMouseButton(step.data1, down);
      break;
    case kMacroKey:
      held.Key(step.data1, down);
      (void)injector_.SendKeyCode(step.data1, down);
      break;
    case kMacroConsumerKey: {
      // A usage that no key code stands for becomes code 0, which sends nothing.
      const std::uint8_t keyCode = UsageToKeyCode(kUsagePageConsumer, step.Value16());
      held.Key(keyCode, down);
      (void)injector_.SendKeyCode(keyCode, down);
      break;
    }
    case kMacroPause: {
      const PauseClock::Clock::time_point now = clock_.Now();
      const PauseClock::Clock::time_point end =
          PauseEnd(lastPauseEnd, std::chrono::milliseconds(step.Value16()), now);
      (void)clock_.WaitUntil(end, stop);  // a stop ends the pause; the caller checks it
      lastPauseEnd = end;
      return end > now;
    }
    default:
      break;
  }
  return false;
}

}  // namespace vexlo
