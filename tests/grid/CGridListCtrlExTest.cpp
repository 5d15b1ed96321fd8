#include "grid/CGridListCtrlEx.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "grid/CGridColumnTraitEdit.h"
#include "grid/CGridEditorText.h"
#include "grid/CGridRowTraitXP.h"

namespace vexlo {
namespace {

struct Cell {
  int row;
  int column;
  bool operator==(const Cell&) const = default;
};

// Seven rows "r0" to "r6" under a hidden label column, an editable column 1 and a plain
// column 2, with a line edit beside the list to take the focus.
class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    window_.resize(400, 300);
    other_ = new QLineEdit(&window_);
    other_->setGeometry(300, 0, 100, 24);
    grid_ = new CGridListCtrlEx(&window_);
    grid_->setGeometry(0, 0, 280, 300);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->SetCellMargin(1.2);
    EXPECT_EQ(grid_->InsertHiddenLabelColumn(), 0);
    EXPECT_EQ(grid_->InsertColumnTrait(1, "Action", Qt::AlignLeft, 173,
                                       std::make_unique<CGridColumnTraitEdit>()),
              1);
    EXPECT_EQ(grid_->InsertColumnTrait(9, "Type", Qt::AlignLeft, 75), -1);
    EXPECT_EQ(grid_->InsertColumnTrait(2, "Type", Qt::AlignLeft, 75), 2);
    for (int row = 0; row < 7; ++row) {
      grid_->InsertItem(row);
      grid_->SetItemText(row, 1, QStringLiteral("r%1").arg(row));
    }
    grid_->SetCellClickHook([this](int row, int column) { clicks_.push_back({row, column}); });
    grid_->SetEditEndHook([this](int row, int column) {
      ends_.push_back({row, column});
      textAtEnd_ = grid_->GetItemText(row, column);
    });
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QPoint Centre(int row, int column) const { return grid_->CellRect(row, column).center(); }
  QStringList Rows() const {
    QStringList rows;
    for (int row = 0; row < grid_->GetItemCount(); ++row) rows << grid_->GetItemText(row, 1);
    return rows;
  }
  // Opens the editor on row 2, column 1 and types over its text.
  QLineEdit* EditAndType(const QString& text) {
    EXPECT_TRUE(grid_->EditCell(2, 1));
    QLineEdit* editor = grid_->ActiveEditor();
    EXPECT_TRUE(editor && editor->hasFocus());
    EXPECT_EQ(editor->selectedText(), "r2");
    if (!text.isEmpty()) QTest::keyClicks(editor, text);
    return editor;
  }

  QWidget window_;
  QLineEdit* other_;
  CGridListCtrlEx* grid_;
  std::vector<Cell> clicks_;
  std::vector<Cell> ends_;
  QString textAtEnd_;
};

TEST_F(GridTest, ClicksReportTheCellAndMinusOneBelowTheLastRow) {
  QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, Centre(3, 2));
  QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, Centre(5, 1));
  EXPECT_EQ(grid_->GetSelectedRow(), 5);
  const QPoint below(Centre(6, 1).x(), grid_->CellRect(6, 1).bottom() + 20);
  QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, below);
  EXPECT_EQ(clicks_, (std::vector<Cell>{{3, 2}, {5, 1}, {-1, 1}}));
  // The hidden label column takes no room: column 1 starts at the left edge.
  EXPECT_EQ(grid_->CellRect(0, 1).left(), 0);
}

TEST_F(GridTest, ColumnsAreAddedInOrderBeforeAnyRow) {
  EXPECT_EQ(grid_->InsertColumnTrait(3, "More", Qt::AlignLeft, 40), -1);
  EXPECT_EQ(grid_->InsertHiddenLabelColumn(), -1);
  EXPECT_EQ(grid_->GetColumnCount(), 3);
  EXPECT_TRUE(grid_->header()->isSectionHidden(0));
}

TEST_F(GridTest, ArrowKeysMoveTheSelection) {
  grid_->SelectRow(1);
  grid_->setFocus();
  QTest::keyClick(grid_, Qt::Key_Down);
  QTest::keyClick(grid_, Qt::Key_Down);
  QTest::keyClick(grid_, Qt::Key_Up);
  EXPECT_EQ(grid_->GetSelectedRow(), 2);
  EXPECT_EQ(grid_->GetFocusRow(), 2);
}

struct MoveCase {
  int selected;
  int drop;
  bool moved;
  const char* rows;
};

class GridMoveTest : public GridTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(GridMoveTest, OneSelectedRowMovesToTheDropPlace) {
  const MoveCase& c = GetParam();
  grid_->SelectRow(c.selected);
  EXPECT_EQ(grid_->MoveSelectedRows(c.drop), c.moved);
  EXPECT_EQ(Rows().join(' '), QString::fromLatin1(c.rows));
  if (c.selected >= 0) {
    EXPECT_EQ(grid_->GetItemText(grid_->GetSelectedRow(), 1), "r3");
  }
}

INSTANTIATE_TEST_SUITE_P(Drops, GridMoveTest,
                         ::testing::Values(MoveCase{3, 0, true, "r3 r0 r1 r2 r4 r5 r6"},
                                           MoveCase{3, 2, true, "r0 r1 r3 r2 r4 r5 r6"},
                                           MoveCase{3, 4, true, "r0 r1 r2 r4 r3 r5 r6"},
                                           MoveCase{3, -1, true, "r0 r1 r2 r4 r5 r6 r3"},
                                           MoveCase{3, 6, true, "r0 r1 r2 r4 r5 r6 r3"},
                                           MoveCase{3, 3, false, "r0 r1 r2 r3 r4 r5 r6"},
                                           MoveCase{-1, 0, false, "r0 r1 r2 r3 r4 r5 r6"}),
                         [](const ::testing::TestParamInfo<MoveCase>& param) {
                           const MoveCase& c = param.param;
                           return (c.selected < 0 ? std::string("NoSelection")
                                                  : "Row" + std::to_string(c.selected)) +
                                  "To" + (c.drop < 0 ? std::string("End") : std::to_string(c.drop));
                         });

struct EndCase {
  const char* name;
  void (*end)(QLineEdit& editor, QWidget& other);
  const char* text;  // the cell's text afterwards
  bool focusBack;    // the list has the focus again
};

class GridEditTest : public GridTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(GridEditTest, EditorEndsOnceAndTheHookSeesTheCellsText) {
  const EndCase& c = GetParam();
  QLineEdit* editor = EditAndType(QStringLiteral("250"));
  c.end(*editor, *other_);
  EXPECT_EQ(grid_->ActiveEditor(), nullptr);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(grid_->GetItemText(2, 1), c.text);
  EXPECT_EQ(textAtEnd_, c.text);
  EXPECT_EQ(grid_->hasFocus(), c.focusBack);
  QApplication::processEvents();  // anything queued by the hiding
  EXPECT_EQ(ends_, (std::vector<Cell>{{2, 1}}));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, GridEditTest,
    ::testing::Values(
        EndCase{"Enter", [](QLineEdit& e, QWidget&) { QTest::keyClick(&e, Qt::Key_Return); }, "250",
                true},
        EndCase{"Tab", [](QLineEdit& e, QWidget&) { QTest::keyClick(&e, Qt::Key_Tab); }, "250",
                true},
        EndCase{"Escape", [](QLineEdit& e, QWidget&) { QTest::keyClick(&e, Qt::Key_Escape); }, "r2",
                true},
        EndCase{"FocusLoss", [](QLineEdit&, QWidget& other) { other.setFocus(); }, "250", false},
        EndCase{"Wheel",
                [](QLineEdit& e, QWidget&) {
                  QWheelEvent wheel(QPointF(5, 5), e.mapToGlobal(QPointF(5, 5)), {}, {0, -120},
                                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
                  QApplication::sendEvent(&e, &wheel);
                },
                "250", true}),
    [](const ::testing::TestParamInfo<EndCase>& param) { return std::string(param.param.name); });

TEST_F(GridTest, EditsThatCannotOpenOrAreInterruptedLeaveTheRowsConsistent) {
  EXPECT_FALSE(grid_->EditCell(2, 2));  // a plain column has no editor
  EXPECT_FALSE(grid_->EditCell(7, 1));
  EXPECT_FALSE(grid_->EditCell(2, 3));
  // Accepted without typing: the text stays as it was.
  QTest::keyClick(EditAndType({}), Qt::Key_Return);
  EXPECT_EQ(grid_->GetItemText(2, 1), "r2");
  // Clearing the rows under an open editor cancels it first, with the end reported.
  EditAndType(QStringLiteral("9"));
  grid_->DeleteAllItems();
  EXPECT_EQ(grid_->ActiveEditor(), nullptr);
  EXPECT_EQ(textAtEnd_, "r2");
  EXPECT_EQ(ends_, (std::vector<Cell>{{2, 1}, {2, 1}}));
}

TEST_F(GridTest, ContextMenusOnlyAskTheHookAndTheHeaderShowsNone) {
  std::vector<CGridListCtrlEx::ContextMenuMode> asked;
  grid_->SetContextMenuHook([&asked](CGridListCtrlEx::ContextMenuMode mode, QPoint) {
    asked.push_back(mode);
    return true;
  });
  const auto rightClick = [](QWidget* target, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
  };
  rightClick(grid_->header()->viewport(), QPoint(20, 5));
  rightClick(grid_->viewport(), Centre(1, 1));
  rightClick(grid_->viewport(), QPoint(20, grid_->viewport()->height() - 5));
  EXPECT_EQ(asked, (std::vector<CGridListCtrlEx::ContextMenuMode>{
                       CGridListCtrlEx::kHeaderMenu, CGridListCtrlEx::kCellMenu,
                       CGridListCtrlEx::kEmptyAreaMenu}));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(GridTest, RowsShowTheirTraitsColoursAndCellImages) {
  auto trait = std::make_unique<CGridRowTraitXP>();
  trait->textColour = QColor(0xC8, 0xC8, 0xC8);
  trait->backColour = Qt::black;
  grid_->SetDefaultRowTrait(std::move(trait));
  QPixmap image(16, 16);
  image.fill(QColor(0x20, 0xA0, 0x40));
  grid_->SetImageList({QPixmap(), image});
  grid_->SetCellImage(4, 2, 1);
  EXPECT_EQ(grid_->GetCellImage(4, 2), 1);
  EXPECT_EQ(grid_->GetCellImage(4, 1), -1);
  const QImage shown = test::Grab(*grid_->viewport());
  const QRect cell = grid_->CellRect(4, 2);
  EXPECT_EQ(shown.pixelColor(cell.left() + 6 + 8, cell.center().y()), QColor(0x20, 0xA0, 0x40));
  EXPECT_EQ(shown.pixelColor(cell.right() - 2, cell.center().y()), QColor(Qt::black));
}

}  // namespace
}  // namespace vexlo
