#include <QPainter>

#include <benchmark/benchmark.h>

#include "BenchApplication.h"
#include "grid/CGridListCtrlEx.h"
#include "grid/CGridRowTraitXP.h"

// What the grid costs when a macro's 60 steps are listed again and drawn.
namespace vexlo {
namespace {

void BM_GridRefill60RowsAndPaint(benchmark::State& state) {
  EnsureApplication();
  CGridListCtrlEx grid;
  grid.resize(336, 444);
  grid.SetCellMargin(1.2);
  grid.SetDefaultRowTrait(std::make_unique<CGridRowTraitXP>());
  QPixmap icon(16, 16);
  icon.fill(Qt::gray);
  grid.SetImageList(std::vector<QPixmap>(6, icon));
  grid.InsertHiddenLabelColumn();
  grid.InsertColumnTrait(1, QStringLiteral("Action"), Qt::AlignLeft, 173);
  grid.InsertColumnTrait(2, QStringLiteral("Type"), Qt::AlignLeft, 75);
  grid.show();
  QImage canvas(grid.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    grid.DeleteAllItems();
    for (int row = 0; row < 60; ++row) {
      grid.InsertItem(row);
      grid.SetItemText(row, 1, QStringLiteral("Key %1").arg(row));
      grid.SetCellImage(row, 1, 1);
      grid.SetItemText(row, 2, QStringLiteral("Press"));
      grid.SetCellImage(row, 2, 3);
    }
    grid.render(&canvas);
    benchmark::DoNotOptimize(canvas.constBits());
  }
}
BENCHMARK(BM_GridRefill60RowsAndPaint)->Unit(benchmark::kMicrosecond);

// One step moved from the top to the end of 60 rows and back.
void BM_GridMoveSelectedRow(benchmark::State& state) {
  EnsureApplication();
  CGridListCtrlEx grid;
  grid.InsertHiddenLabelColumn();
  grid.InsertColumnTrait(1, QStringLiteral("Action"), Qt::AlignLeft, 173);
  for (int row = 0; row < 60; ++row) grid.InsertItem(row);
  grid.SelectRow(0);
  bool toEnd = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(grid.MoveSelectedRows(toEnd ? -1 : 0));
    toEnd = !toEnd;
  }
}
BENCHMARK(BM_GridMoveSelectedRow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
