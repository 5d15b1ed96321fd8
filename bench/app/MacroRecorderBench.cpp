// What recording a macro costs the user-interface thread: one key event recorded, with its pause
// and the slot file written (argument: the delay mode), and 20 keys a second typed at the page for
// two seconds, with how late a 5 ms heartbeat of the same thread ran meanwhile.
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "PanelBenchWorld.h"
#include "app/MainWindowLayout.h"
#include "app/panels/MacroPanel.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

using Clock = std::chrono::steady_clock;

Platform LocalMachine() {
  Platform made;
  AddSimPorts(made, std::make_shared<SimEnvironment>());
  return made;
}

// The macro page recording into a new macro, in the delay mode `mode`.
struct RecordingPage {
  explicit RecordingPage(int mode) {
    (void)skin.Load();
    (void)world.macros.AddMacro();
    panel = std::make_unique<MacroPanel>(world.window, world.context, skin, MacroKeyLinks{});
    panel->ShowPage(kPageMacro);
    const char* radios[] = {"RAD_MACRO_ACTION_DELAY_NATIVE", "RAD_MACRO_ACTION_DELAY_NONE",
                            "RAD_MACRO_ACTION_DELAY_FIXED"};
    Control(radios[mode]).click();
    Control("CHK_MACRO_ACTION_RECORD").click();
  }

  CImageBtn& Control(const char* key) {
    return *world.window.findChild<CImageBtn*>(QString::fromLatin1(key));
  }
  int Steps() const { return world.macros.Slot(world.macros.CurrentIndex()).byCount; }
  // A press or a release of one of the letters, as the focused control would get it.
  void Key(bool press, int letter) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_A + letter % 26,
                    Qt::NoModifier);
    QApplication::sendEvent(&typed, &event);
  }
  // Makes room when the macro is nearly full, as the clear button does.
  void MakeRoom() {
    if (Steps() > 56) Control("BTN_MACRO_ACTION_CLEAR").click();
  }

  bench::PanelWorld world{LocalMachine()};
  SkinFile<DibImage> skin{world.settings.SkinFolder + "Macro.ini"};
  std::unique_ptr<MacroPanel> panel;
  QLineEdit typed;
};

void BM_RecordedKeyEvent(benchmark::State& state) {
  RecordingPage page(static_cast<int>(state.range(0)));
  int events = 0;
  for (auto _ : state) {
    page.Key(events % 2 == 0, events / 2);
    ++events;
    if (page.Steps() > 56) {
      state.PauseTiming();
      page.MakeRoom();
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(events);
}
BENCHMARK(BM_RecordedKeyEvent)
    ->ArgName("delay_mode")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

void BM_TwentyKeysASecond(benchmark::State& state) {
  constexpr auto kRun = std::chrono::seconds(2);
  constexpr auto kHeartbeat = std::chrono::milliseconds(5);
  RecordingPage page(0);
  for (auto _ : state) {
    int events = 0;
    int recorded = 0;
    Clock::duration busy{};
    Clock::duration worstLate{};
    Clock::duration totalLate{};
    int beats = 0;

    // A press or a release every 25 ms; the work each one makes is the recording's.
    QTimer typist;
    typist.setTimerType(Qt::PreciseTimer);
    typist.setInterval(25);
    QObject::connect(&typist, &QTimer::timeout, [&] {
      const Clock::time_point begin = Clock::now();
      const int before = page.Steps();
      page.Key(events % 2 == 0, events / 2);
      recorded += page.Steps() > before ? 1 : 0;
      ++events;
      busy += Clock::now() - begin;
      page.MakeRoom();
    });
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(kHeartbeat);
    Clock::time_point lastBeat = Clock::now();
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
      const Clock::time_point now = Clock::now();
      const Clock::duration late = std::max(now - lastBeat - kHeartbeat, Clock::duration{});
      worstLate = std::max(worstLate, late);
      totalLate += late;
      ++beats;
      lastBeat = now;
    });
    QEventLoop loop;
    QTimer::singleShot(kRun, &loop, &QEventLoop::quit);
    const Clock::time_point start = Clock::now();
    typist.start();
    heartbeat.start();
    loop.exec();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    const auto ms = [](Clock::duration d) {
      return std::chrono::duration<double, std::milli>(d).count();
    };
    state.counters["keys_per_s"] = events / 2 / seconds;
    state.counters["events_recorded"] = recorded;
    state.counters["events_sent"] = events;
    state.counters["ui_busy_pct"] = 100 * ms(busy) / 1000 / seconds;
    state.counters["heartbeat_late_max_ms"] = ms(worstLate);
    state.counters["heartbeat_late_mean_ms"] = beats > 0 ? ms(totalLate) / beats : 0;
  }
}
BENCHMARK(BM_TwentyKeysASecond)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vexlo
