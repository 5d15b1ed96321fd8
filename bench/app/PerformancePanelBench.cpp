// One step of a drag on the performance page: the slider's position from the pointer, its
// repaint, the message to the page and the page's handling of it. The counters show that a drag
// writes no file and sends nothing to the mouse or the desktop until the thumb is released.
#include <QMouseEvent>

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include "PanelBenchWorld.h"
#include "app/MainWindowLayout.h"
#include "app/panels/PerformancePanel.h"
#include "app/panels/PerformancePanelValues.h"
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
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();
  bench::PanelWorld world{[this] {
    Platform made;
    AddSimPorts(made, sim);
    return made;
  }()};
  SkinFile<DibImage> skin{world.settings.SkinFolder + "Adv.ini"};
  std::unique_ptr<PerformancePanel> panel;

  Page() {
    (void)skin.Load();
    panel = std::make_unique<PerformancePanel>(world.window, world.context, skin);
    panel->ShowPage(kPagePerformance);
    QCoreApplication::processEvents();  // exposed, so that the repaints draw
  }

  std::uint64_t Sent() const { return sim->State().hidFilter.transfers; }
};

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

void BM_PerformanceDragStep(benchmark::State& state) {
  Page page;
  auto& slider = *page.world.window.findChild<CImageSlider*>("SLD_MOUSE_SPEED");
  const SliderGeometry geometry = slider.Geometry();
  const QPoint start = geometry.ThumbRect(slider.GetPos()).center();
  const int step = geometry.track.width() / kPointerSpeedPositions;
  const std::string file = page.world.profiles.CurrentPath();
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
