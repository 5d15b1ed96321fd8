#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchApplication.h"
#include "platform/ports/MessageTarget.h"
#include "skin/CImageSlider.h"
#include "skin/SkinFile.h"

// What one step of a slider drag costs: the position from the pointer, the message, the
// immediate repaint of channel and thumb.
namespace vexlo {
namespace {

namespace fs = std::filesystem;

class CountedMessages final : public MessageTarget {
 public:
  Result Post(std::uint32_t, std::uintptr_t, std::intptr_t lParam) override {
    ++posted;
    finals += lParam;
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }
  long posted = 0;
  long finals = 0;
};

void BM_SliderDragStep(benchmark::State& state) {
  EnsureApplication();
  const fs::path ini = fs::path(VEXLO_BENCH_PROGRAM_FOLDER) / "Skins" / "Adv.ini";
  SkinFile<DibImage> skin(ini);
  (void)skin.Load();  // the shipped skin is there; a failure shows as an empty channel
  GdiplusImage thumb;
  (void)LoadImageFile(fs::path(VEXLO_BENCH_PROGRAM_FOLDER) / "Skins" / "Thumb2.png", thumb);
  QWidget window;
  window.resize(1080, 680);
  CImageSlider slider(&window);
  SetupSlider(ini, "SLD_DBL_CLK_TIME", slider, &skin.Main(), &skin.Highlight(),
              {&thumb, &thumb, &thumb, &thumb});
  (void)slider.SetRange(0, 10);
  CountedMessages owner;
  slider.SetNotifyWindow(&owner, 1132);
  window.show();
  QCoreApplication::processEvents();  // exposed, so that the repaints draw
  const QPoint start = slider.Geometry().ThumbRect(0).center();
  QMouseEvent press(QEvent::MouseButtonPress, start, slider.mapToGlobal(start), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&slider, &press);
  // Every move crosses one step, so each one moves the thumb.
  const int step = slider.Geometry().track.width() / 10;
  int index = 0;
  for (auto _ : state) {
    index = (index + 1) % 20;
    const int x = start.x() + step * (index < 10 ? index : 20 - index);
    QMouseEvent move(QEvent::MouseMove, QPointF(x, start.y()), slider.mapToGlobal(QPointF(x, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &move);
  }
  state.counters["posts/step"] =
      benchmark::Counter(static_cast<double>(owner.posted), benchmark::Counter::kAvgIterations);
  state.counters["finals"] = static_cast<double>(owner.finals);
}
BENCHMARK(BM_SliderDragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
