#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchApplication.h"
#include "skin/CImageColorPicker.h"
#include "skin/CMenuEx.h"
#include "skin/QtKeystroke.h"
#include "skin/SkinFile.h"

// What the colour controls, the owner-drawn menu and the keyboard hook cost per user action.
namespace vexlo {
namespace {

namespace fs = std::filesystem;

const fs::path kLightIni = fs::path(VEXLO_BENCH_PROGRAM_FOLDER) / "Skins" / "Light.ini";

// One step of a drag over the colour picker: the control's picture and the pick from it.
void BM_ColorPickerDragStep(benchmark::State& state) {
  EnsureApplication();
  SkinFile<DibImage> skin(kLightIni);
  (void)skin.Load();  // the shipped skin is there; a failure shows as an empty picture
  CImageColorPicker picker;
  SetupColorPicker(kLightIni, picker, &skin.Main());
  std::uint32_t last = 0;
  picker.SetPickCallback([&last](bool, std::uint32_t colour) { last = colour; });
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&picker, &press);
  int x = 0;
  for (auto _ : state) {
    x = (x + 7) % 150;
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 40), QPointF(x, 40), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&picker, &move);
    benchmark::DoNotOptimize(last);
  }
}
BENCHMARK(BM_ColorPickerDragStep)->Unit(benchmark::kMicrosecond);

// The button assignment menu's size and a full paint of its twenty items, as opening it costs.
void BM_PaintAssignmentMenu(benchmark::State& state) {
  EnsureApplication();
  QWidget owner;
  CMenuEx menu(&owner);
  for (int i = 0; i < 20; ++i) {
    if (i % 7 == 6) {
      menu.AppendSeparator();
    } else {
      menu.AppendItem(32800 + i, QStringLiteral("Assignment %1").arg(i));
    }
  }
  menu.Convert();
  menu.SetFixedItemWidth(229);
  QImage canvas(menu.sizeHint(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) menu.render(&canvas);
}
BENCHMARK(BM_PaintAssignmentMenu)->Unit(benchmark::kMicrosecond);

// One keystroke turned into the hook's virtual key and flags.
void BM_KeystrokeOfKeyEvent(benchmark::State& state) {
  const QKeyEvent event(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 62, 0, 0);
  for (auto _ : state) benchmark::DoNotOptimize(KeystrokeOfKeyEvent(event));
}
BENCHMARK(BM_KeystrokeOfKeyEvent);

}  // namespace
}  // namespace vexlo
