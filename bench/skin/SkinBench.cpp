#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchApplication.h"

#include "skin/CImageBtn.h"
#include "skin/CImageDlg.h"
#include "skin/ColorMatrix.h"
#include "skin/SkinFile.h"
#include "skin/WindowRegion.h"

// What opening and drawing a skinned window costs, measured on the shipped default skin.
namespace vexlo {
namespace {

namespace fs = std::filesystem;

const fs::path kSkins = fs::path(VEXLO_BENCH_PROGRAM_FOLDER) / "Skins";

// One whole-window picture decoded from its PNG (the main window loads about twenty).
void BM_LoadWindowPicture(benchmark::State& state) {
  for (auto _ : state) {
    DibImage picture;
    benchmark::DoNotOptimize(LoadSkinImage(kSkins / "Main.ini", "Main", picture));
  }
}
BENCHMARK(BM_LoadWindowPicture)->Unit(benchmark::kMillisecond);

// One control placed: the skin file is read for each key, as the platform's profile reads do.
void BM_ReadControlRect(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadControlRect(kSkins / "Main.ini", "BTN_PROFILE_LINK"));
  }
}
BENCHMARK(BM_ReadControlRect)->Unit(benchmark::kMicrosecond);

// The outline of a window-sized picture with rounded corners cut out in white.
void BM_RegionFromBitmap(benchmark::State& state) {
  QImage picture(1080, 680, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::black);
  painter.drawRoundedRect(QRectF(0, 0, 1080, 680), 24, 24);
  painter.end();
  for (auto _ : state) benchmark::DoNotOptimize(RegionFromBitmap(picture));
}
BENCHMARK(BM_RegionFromBitmap)->Unit(benchmark::kMillisecond);

// A tinted picture of a key button drawn through its colour matrix.
void BM_TintButtonPicture(benchmark::State& state) {
  GdiplusImage picture;
  (void)LoadSkinImage(kSkins / "Main.ini", "Status2", picture);
  QImage canvas(252, 40, QImage::Format_ARGB32_Premultiplied);
  const ColorMatrix tint = ColorMatrix::Tint(0x3000FFFF);
  for (auto _ : state) {
    QPainter painter(&canvas);
    picture.DrawBlended(painter, QRect(0, 0, 252, 40), QRect(72, 150, 252, 40), &tint);
  }
}
BENCHMARK(BM_TintButtonPicture)->Unit(benchmark::kMicrosecond);

// The main window's skin on a window, as it opens.
struct MainWindow {
  MainWindow() {
    (void)skin.Load();  // the shipped skin is there; a failure shows as an empty picture
    window.SetImages(ImageMode::Opaque, &skin.Main(), nullptr);
  }
  bool application = EnsureApplication();  // before any widget
  SkinFile<DibImage> skin{kSkins / "Main.ini"};
  CImageDlg window;
};

// One repaint of a key button with its caption, as hovering it causes.
void BM_PaintKeyButton(benchmark::State& state) {
  MainWindow main;
  const auto& skin = main.skin;
  CImageBtn button(CImageBtn::Kind::Push, &main.window);
  button.SetImages(skin.Path(), "BTN_MOUSE_KEY1", &skin.Main(), &skin.Highlight(),
                   &skin.Highlight(), &skin.Main(), &skin.Highlight());
  button.SetTextStyle(-14, 400, QStringLiteral("Open Sans"),
                      {0xC8C8C8, 0xFFFFFF, 0xFFFFFF, 0x606060, 0xFFFFFF}, 0x8024);
  button.setText(QStringLiteral("Left click"));
  QImage canvas(button.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) button.render(&canvas);
}
BENCHMARK(BM_PaintKeyButton)->Unit(benchmark::kMicrosecond);

// The whole main window painted from its background, as a page switch does.
void BM_PaintWindowBackground(benchmark::State& state) {
  MainWindow main;
  QImage canvas(main.skin.Main().Size(), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&canvas);
    main.window.PaintBackground(painter);
  }
}
BENCHMARK(BM_PaintWindowBackground)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
