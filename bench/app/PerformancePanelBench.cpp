// One step of a drag on the performance page: the slider's position from the pointer, its
// repaint, the message to the page and the page's handling of it. The counters show that a drag
// writes no file and sends nothing to the mouse or the desktop until the thumb is released.
#include <QMouseEvent>

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include "BenchApplication.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "app/AppContext.h"
#include "common/LanguageTable.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"
#include "app/MainWindowLayout.h"
#include "app/panels/PerformancePanel.h"
#include "app/panels/PerformancePanelValues.h"
#include "device/DeviceLink.h"
#include "engine/SteadyPauseClock.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "skin/CImageSlider.h"

namespace vexlo {
namespace {

// The profile file is replaced whole by every write, so each write gives it a new inode.
ino_t FileIdentity(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The page over an in-process simulated machine with the mouse connected.
struct Page {
  bench::ScratchFolder scratch;
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();
  Platform platform = [this] {
    Platform made;
    AddSimPorts(made, sim);
    return made;
  }();
  AppSettings settings = [this] {
    AppSettings made;
    FillProgramPaths(made, VEXLO_BENCH_PROGRAM_FOLDER "/vexlo");
    made.DataFolder = scratch.path() + "data/";
    made.CommonFontName = "Open Sans";
    return made;
  }();
  LanguageTable language;
  bench::SilentMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform,   settings, language,   messages, nullptr, profiles, macros,
                     device,     monitor,  wheelLines, injector, player,  pauseClock,
                     /*startHidden=*/false};
  QWidget window;
  SkinFile<DibImage> skin{settings.SkinFolder + "Adv.ini"};
  std::unique_ptr<PerformancePanel> panel;

  Page() {
    language.Load(settings.LanguageFile);
    (void)profiles.NewProfile();  // without a file the write counter stays 0 and shows it
    (void)skin.Load();
    (void)device.Connect();
    panel = std::make_unique<PerformancePanel>(window, context, skin);
    panel->ShowPage(kPagePerformance);
    window.resize(1080, 680);
    window.show();
    QCoreApplication::processEvents();  // exposed, so that the repaints draw
  }

  std::uint64_t Sent() const {
    const SimState state = sim->State();
    return state.hidFilter.transfers;
  }
};

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

void BM_PerformanceDragStep(benchmark::State& state) {
  EnsureApplication();
  Page page;
  auto& slider = *page.window.findChild<CImageSlider*>("SLD_MOUSE_SPEED");
  const SliderGeometry geometry = slider.Geometry();
  const QPoint start = geometry.ThumbRect(slider.GetPos()).center();
  const int step = geometry.track.width() / kPointerSpeedPositions;
  const std::string file = page.profiles.CurrentPath();
  const ino_t fileBefore = FileIdentity(file);
  const std::uint64_t sentBefore = page.Sent();
  const SimPointerSettings desktopBefore = page.sim->State().desktop.pointer;

  Send(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
  int index = 0;
  QPoint at = start;
  for (auto _ : state) {
    index = (index + 1) % 8;
    at.setX(geometry.track.x() + step * (1 + (index < 4 ? index : 8 - index)));
    Send(slider, QEvent::MouseMove, at, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(page.panel.get());  // the page hears the step
  }
  state.counters["writes during drag"] = FileIdentity(file) != fileBefore ? 1 : 0;
  state.counters["transfers during drag"] = static_cast<double>(page.Sent() - sentBefore);
  state.counters["desktop changes during drag"] =
      page.sim->State().desktop.pointer == desktopBefore ? 0 : 1;

  Send(slider, QEvent::MouseButtonRelease, at, Qt::NoButton);
  QCoreApplication::sendPostedEvents(page.panel.get());
  state.counters["writes at release"] = FileIdentity(file) != fileBefore ? 1 : 0;
  state.counters["desktop changes at release"] =
      page.sim->State().desktop.pointer == desktopBefore ? 0 : 1;
}
BENCHMARK(BM_PerformanceDragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
