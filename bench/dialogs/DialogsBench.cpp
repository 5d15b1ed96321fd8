#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchApplication.h"
#include "common/LanguageTable.h"
#include "dialogs/CMsgDlg.h"
#include "dialogs/CSngKbdDlg.h"
#include "profiles/AppSettings.h"

// What opening the message and single-key dialogs costs: their skin once, then every showing.
namespace vexlo {
namespace {

namespace fs = std::filesystem;

struct Context {
  Context() {
    const fs::path program(VEXLO_BENCH_PROGRAM_FOLDER);
    settings.SkinFolder = (program / "Skins").string() + "/";
    settings.CommonFontName = "Open Sans";
    language.Load(program / "Lang_En.ini");
  }
  bool application = EnsureApplication();  // before any widget
  AppSettings settings;
  LanguageTable language;
};

void BM_LoadMessageSkin(benchmark::State& state) {
  Context context;
  CMsgDlg dialog(context.settings, context.language);
  for (auto _ : state) benchmark::DoNotOptimize(dialog.LoadSkin());
}
BENCHMARK(BM_LoadMessageSkin)->Unit(benchmark::kMillisecond);

// Setting up and painting one message, without the modal loop.
void BM_ShowMessageFirstPaint(benchmark::State& state) {
  Context context;
  CMsgDlg dialog(context.settings, context.language);
  (void)dialog.LoadSkin();  // the shipped skin is there
  QImage canvas(460, 220, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    dialog.InitDialog();
    dialog.render(&canvas);
    dialog.done(CMsgDlg::kIdCancel);
  }
}
BENCHMARK(BM_ShowMessageFirstPaint)->Unit(benchmark::kMillisecond);

// Setting up and painting the single-key dialog, its keyboard hook included.
void BM_ShowSingleKeyFirstPaint(benchmark::State& state) {
  Context context;
  CSngKbdDlg dialog(context.settings, context.language);
  (void)dialog.LoadSkin();
  QImage canvas(420, 320, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    dialog.InitDialog();
    dialog.render(&canvas);
    dialog.done(QDialog::Rejected);
  }
}
BENCHMARK(BM_ShowSingleKeyFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo
