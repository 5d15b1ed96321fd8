#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "common/Result.h"
#include "engine/ExtensionNumber.h"
#include "engine/PauseClock.h"
#include "profiles/MacroData.h"

namespace vexlo {

class InputInjector;

// The slot number that a rapid-fire run carries instead of a macro slot.
inline constexpr std::uint8_t kRapidFireSlot = 16;

// What one run plays: the run parameter (bits 7..0 the slot, bits 15..8 the loop mode, bits
// 31..16 the repeat count, as a macro assignment packs them) and the steps.
struct MacroRun {
  std::uint32_t parameter = 0;
  MacroData record;
};

// Rapid fire as a run: left button down, half the interval, up, half the interval (the half
// rounded up), as often as the fire-key number's clicks say, or for as long as the button is held
// when they are 0.
MacroRun RapidFireRun(std::uint32_t fireKeyNumber);

// Plays macros and rapid fire through the input injector, one run at a time, on a worker thread
// that it owns (started by the first run, stopped and joined by the destructor). A run copies its
// steps when it starts, so the macro may change while it plays. How long it lasts is the loop
// mode's: a repeat count, until the button that started it is pressed again, or until that button
// is released; a stop always ends it. After every pass over the steps the run releases every key
// and mouse button that its steps left down, so nothing it pressed stays held when it ends, and
// nothing that another button holds is released.
//
// The host dispatcher starts and stops runs, from one thread at a time (the button dispatch
// thread, or the user-interface thread while that one waits); the worker alone plays them.
class MacroPlayer {
 public:
  // How long starting a run or StopNow waits for the run before to end. Its steps notice a stop
  // at once, so only a device that keeps a report write from returning makes it last that long.
  static constexpr std::chrono::milliseconds kPatience{1000};

  // Both must outlive the player.
  MacroPlayer(InputInjector& injector, PauseClock& clock);
  ~MacroPlayer();  // Shutdown
  MacroPlayer(const MacroPlayer&) = delete;
  MacroPlayer& operator=(const MacroPlayer&) = delete;

  // A press of `button` (0..6) assigned to the macro `macroNumber` (ExtensionNumber.h) whose
  // record is `record`. A run under way is stopped first and waited for; when it was this
  // button's and stops on a second press, the press only ends it. Then the run starts with a copy
  // of the record. Ok; PreviousRunEnding when the run before did not end within kPatience (it will
  // still end; nothing new starts); NothingToActOn when the record has no step or the repeat
  // count is 0 (the run before is stopped all the same); NotEnoughMemory when the worker cannot be
  // started.
  [[nodiscard]] Result StartRun(int button, std::uint32_t macroNumber, const MacroData& record);
  // A press of `button` assigned to a fire key (ExtensionNumber.h): StartRun of RapidFireRun.
  [[nodiscard]] Result StartRapidFire(int button, std::uint32_t fireKeyNumber);

  // A release of `button`: ends the run if it is this button's and stops on release. Never waits.
  void StopRequest(int button);

  // Ends any run (device removal, exit) and waits until it has released what it held. Ok, or
  // PreviousRunEnding when it did not end within kPatience.
  [[nodiscard]] Result StopNow();

  bool IsRunning() const;

  // Stops a run under way (which still releases what it holds) and ends the worker, waiting until
  // it has. A later run starts a new worker. User-interface thread.
  void Shutdown();

 private:
  struct Pending {
    MacroRun run;
    std::stop_token stop;
  };

  // Stops the run under way and waits for its end; false when it did not end in time.
  [[nodiscard]] bool StopAndWait(std::unique_lock<std::mutex>& lock);
  [[nodiscard]] Result EnsureWorker();
  void Work(std::stop_token workerStop);
  class HeldByRun;
  void Play(const MacroRun& run, const std::stop_token& stop);
  // `lastPauseEnd` is when the pause before ended (or the run began); a pause moves it on.
  // `held` learns what the step presses and releases. True when the step slept (a pause).
  bool PerformStep(const MacroAction& step, const std::stop_token& stop,
                   PauseClock::Clock::time_point& lastPauseEnd, HeldByRun& held);

  InputInjector& injector_;
  PauseClock& clock_;
  mutable std::mutex mutex_;          // guards the members below
  std::condition_variable_any wake_;  // a run is pending, or the worker is to end
  std::condition_variable ended_;     // the run under way has ended
  std::optional<Pending> pending_;    // handed to the worker, not yet taken
  bool running_ = false;              // a run is pending or playing
  int owner_ = -1;                    // the button whose press started the run under way
  MacroLoopMode mode_ = MacroLoopMode::RepeatCount;  // its loop mode
  std::stop_source runStop_;                         // ends the run under way
  std::jthread worker_;  // last: stopped and joined before the members it uses go
};

}  // namespace vexlo
