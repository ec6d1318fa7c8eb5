#include "controls/CellGrid.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/controls/GridFixture.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/ScrollBars.h"

using namespace gridtest;

namespace {

TEST_F(GridTest, NewGridHasItsDefaults) {
  EXPECT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{1, 1}));
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
  EXPECT_EQ(grid->CellFontSize(), 8);
  EXPECT_EQ(grid->CellAt(2, 3)->FontSize, 8);
  EXPECT_EQ(grid->CellAt(0, 3)->FillColor, grid->TitleColor());
  EXPECT_EQ(grid->CellAt(2, 3)->FillColor, grid->CellColor());
  EXPECT_TRUE(grid->CellThousandSep());
  EXPECT_FALSE(grid->CellAt(2, 3)->ThousandSep);
  EXPECT_THROW(grid->CellAt(5, 0), EInvalidGridOperation);
  TCellGrid fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 400);
  EXPECT_EQ(fresh.Height(), 150);
}

// Columns: title 30 wide, fixed column 1 of 80, scrolling from column 2;
// rows: title 20 high, fixed row 1 of 30; lines 1 pixel.
class GeometryTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Plain();
    grid->SetColCount(6);
    grid->SetRowCount(6);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetColWidth(0, 30);
    grid->SetRowHeight(0, 20);
    Show();
  }
};

TEST_F(GeometryTest, CellRectsBoxesAndHits) {
  EXPECT_EQ(grid->CellRect(0, 0), (TRect{0, 0, 30, 20}));
  EXPECT_EQ(grid->CellRect(1, 1), (TRect{31, 21, 111, 51}));
  EXPECT_EQ(grid->CellRect(2, 2), (TRect{112, 52, 192, 82}));
  EXPECT_EQ(grid->BoxRect({2, 2, 3, 3}, false), (TRect{112, 52, 273, 113}));
  EXPECT_EQ(grid->BoxRect({2, 2, 3, 3}, true), (TRect{112, 52, 274, 114}));
  struct Hit {
    Integer X, Y;
    TGridCoord Cell;
  };
  for (const Hit& h :
       {Hit{0, 0, {0, 0}}, Hit{30, 20, {0, 0}}, Hit{31, 21, {1, 1}}, Hit{111, 51, {1, 1}},
        Hit{112, 52, {2, 2}}, Hit{-5, -5, {0, 0}}, Hit{2000, 2000, {5, 5}}})
    EXPECT_EQ(grid->MouseCoord(h.X, h.Y), h.Cell) << h.X << "," << h.Y;
  // Scrolled by one column: column 2 lies left of the scrolling part.
  grid->MoveTopLeft(3, 2);
  EXPECT_EQ(grid->CellRect(3, 2).Left, 112);
  EXPECT_EQ(grid->CellRect(2, 2).Left, 112 - 81);
  EXPECT_EQ(grid->MouseCoord(113, 53), (TGridCoord{3, 2}));
}

TEST_F(GeometryTest, HiddenTitleTakesNoPixels) {
  grid->SetShowRowTitle(false);
  grid->SetShowColTitle(false);
  EXPECT_EQ(grid->MouseCoord(0, 0), (TGridCoord{1, 1}));
  EXPECT_EQ(grid->CellRect(1, 1).Left, 0);
  grid->SetFixedCols(0);
  EXPECT_EQ(grid->MouseCoord(0, 40), (TGridCoord{1, 2}));
}

TEST_F(GeometryTest, ExtentsAndTheirErrors) {
  EXPECT_THROW(grid->SetColWidth(grid->ColCount(), 10), EInvalidGridOperation);
  EXPECT_THROW(grid->SetRowHeight(-1, 10), EInvalidGridOperation);
  EXPECT_EQ(grid->GetColWidth(99), 80);  // outside the list: the default
  grid->SetDefaultColWidth(50);
  EXPECT_EQ(grid->GetColWidth(0), 30);  // set entries keep their values
  EXPECT_EQ(grid->GetColWidth(3), 80);
  EXPECT_EQ(grid->GetColWidth(99), 50);

  // The present width changes nothing and asks for no paint.
  grid->SetAutoUpdate(false);
  win::ValidateRect(grid->Handle(), nullptr);
  grid->SetColWidth(2, grid->GetColWidth(2));
  win::RECT update;
  EXPECT_FALSE(win::GetUpdateRect(grid->Handle(), &update, win::FALSE));
  grid->SetColWidth(2, 60);
  ASSERT_TRUE(win::GetUpdateRect(grid->Handle(), &update, win::FALSE));
  EXPECT_EQ(update.left, 112);  // from the column's left edge to the right
}

TEST_F(GeometryTest, ColumnWidthRepaintStartsWhereAMergedRangeOverItBegins) {
  Merge({2, 3, 3, 3});
  grid->SetAutoUpdate(false);
  win::ValidateRect(grid->Handle(), nullptr);
  grid->SetColWidth(3, 70);
  win::RECT update;
  ASSERT_TRUE(win::GetUpdateRect(grid->Handle(), &update, win::FALSE));
  EXPECT_EQ(update.left, 112);
}

TEST_F(GridTest, VerticalRangeAndPositionFollowTheTopRow) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssVertical);
  grid->SetRowCount(20);
  Show();
  ASSERT_EQ(grid->ClientHeight(), 150);
  Integer lo = -1, hi = -1;
  win::GetScrollRange(grid->Handle(), win::SB_VERT, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 127);
  // Rows of 30 plus a line: the last three rows fill the 150 pixels under
  // the title row, so row 17 is the largest top row.
  TGridCoord maxTL = grid->CalcMaxTopLeft({4, 19}, grid->CalcDrawInfo());
  EXPECT_EQ(maxTL.Y, 17);
  grid->MoveTopLeft(1, 17);
  EXPECT_EQ(win::GetScrollPos(grid->Handle(), win::SB_VERT), 127);
  grid->MoveTopLeft(1, 9);
  EXPECT_EQ(win::GetScrollPos(grid->Handle(), win::SB_VERT), 64);
  // Everything fits again: no range, and no division by an empty one.
  grid->SetRowCount(4);
  win::GetScrollRange(grid->Handle(), win::SB_VERT, &lo, &hi);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(win::GetScrollPos(grid->Handle(), win::SB_VERT), 0);
}

TEST_F(GridTest, ScrollMessages) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssVertical);
  grid->SetRowCount(20);
  Show();
  auto scroll = [&](win::WORD code, Integer pos = 0) {
    grid->Perform(win::WM_VSCROLL, win::MAKEWPARAM(code, static_cast<win::WORD>(pos)), 0);
  };
  scroll(win::SB_LINEDOWN);
  EXPECT_EQ(grid->TopRow(), 2);
  scroll(win::SB_PAGEDOWN);  // the last fully shown row comes to the top
  EXPECT_EQ(grid->TopRow(), 4);
  scroll(win::SB_BOTTOM);
  EXPECT_EQ(grid->TopRow(), 17);
  scroll(win::SB_LINEDOWN);  // never past the largest top row
  EXPECT_EQ(grid->TopRow(), 17);
  scroll(win::SB_PAGEUP);  // the top row becomes the last one shown
  EXPECT_EQ(grid->TopRow(), 15);
  scroll(win::SB_TOP);
  EXPECT_EQ(grid->TopRow(), 1);
  // Tracking the thumb scrolls only with goThumbTracking.
  scroll(win::SB_THUMBTRACK, 127);
  EXPECT_EQ(grid->TopRow(), 1);
  grid->SetOptions(grid->Options() + goThumbTracking);
  scroll(win::SB_THUMBTRACK, 127);
  EXPECT_EQ(grid->TopRow(), 17);
  scroll(win::SB_THUMBPOSITION, 64);
  EXPECT_EQ(grid->TopRow(), 9);
}

TEST_F(GridTest, TwoColumnsScrollByPixels) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssHorizontal);
  grid->SetColCount(2);
  grid->SetColWidth(1, 1000);
  Show();
  Integer lo = -1, hi = -1;
  win::GetScrollRange(grid->Handle(), win::SB_HORZ, &lo, &hi);
  EXPECT_EQ(hi, 1000 - grid->ClientWidth());
  const Integer left = grid->CellRect(1, 1).Left;
  grid->Perform(win::WM_HSCROLL, win::SB_LINEDOWN, 0);
  TBitmap measure;
  measure.Canvas()->SetFont(grid->Font());
  const Integer step = measure.Canvas()->TextWidth("0");
  EXPECT_EQ(grid->ColOffset(), step);
  EXPECT_EQ(grid->CellRect(1, 1).Left, left - step);
  EXPECT_EQ(win::GetScrollPos(grid->Handle(), win::SB_HORZ), step);
  grid->Perform(win::WM_HSCROLL, win::SB_BOTTOM, 0);
  EXPECT_EQ(grid->ColOffset(), 1000 - (grid->ClientWidth() - 81));
  grid->Perform(win::WM_HSCROLL, win::SB_TOP, 0);
  EXPECT_EQ(grid->ColOffset(), 0);
}

TEST_F(GridTest, HiddenRowsAreSteppedOverByLineScrolling) {
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssVertical);
  grid->SetRowCount(20);
  grid->SetRowHeight(2, 0);
  grid->SetRowHeight(3, -1);
  Show();
  grid->Perform(win::WM_VSCROLL, win::SB_LINEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 4);
}

TEST_F(GridTest, MovingTheCurrentCellKeepsItInViewAndSelectsItsRange) {
  Plain();
  grid->SetColCount(12);
  grid->SetRowCount(12);
  Merge({3, 3, 4, 4});
  Show();
  TEventLog log;
  log.Attach(grid);
  grid->MoveCurrent(3, 3, true);
  EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 4, 4}));
  EXPECT_EQ(grid->AnchorCell(), (TGridCoord{4, 4}));
  EXPECT_TRUE(log.Has("select 3,3"));
  EXPECT_TRUE(log.Has("click"));
  // Far right and down: the view follows so that the cell is fully shown.
  grid->MoveCurrent(11, 10, true);
  auto info = grid->CalcDrawInfo();
  EXPECT_EQ(info.Horz.LastFullVisibleCell, 11);
  EXPECT_EQ(info.Vert.LastFullVisibleCell, 10);
  EXPECT_TRUE(log.Has("topleft"));
  // Back left of the view: it becomes the first column shown.
  grid->MoveCurrent(2, 10, true);
  EXPECT_EQ(grid->LeftCol(), 2);
  // A refused cell stays where it was.
  log.AllowSelect = false;
  grid->MoveCurrent(5, 5, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 10}));
  EXPECT_THROW(grid->FocusCell(12, 1, true, true), EInvalidGridOperation);
}

TEST_F(GridTest, SelectionIsClippedToTheScrollingCellsAndRowSelectSpansTheRow) {
  grid->SetColCount(6);
  grid->SetRowCount(6);
  grid->SetFixedCols(1);
  grid->SetSelection({0, 0, 9, 3});
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 5, 3}));
  grid->MoveAnchor({4, 4}, true);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 4, 4}));
  grid->SetOptions(grid->Options() + goRowSelect);
  grid->MoveCurrent(3, 2, true);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 5, 2}));
  // Without range selection the anchor follows the current cell.
  grid->SetOptions({goVertLine, goHorzLine});
  grid->MoveAnchor({4, 4}, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{4, 4}));
  EXPECT_EQ(grid->Selection(), (TGridRect{4, 4, 4, 4}));
}

TEST_F(GridTest, SelectionChangeInvalidatesTitlesAndTheChangedBands) {
  Plain();
  Show();
  grid->SetAutoUpdate(false);
  win::ValidateRect(grid->Handle(), nullptr);
  grid->SetSelection({1, 1, 2, 1});
  win::HRGN rgn = win::CreateRectRgn(0, 0, 0, 0);
  win::GetUpdateRgn(grid->Handle(), rgn, win::FALSE);
  // The letter of the new column and the new cell changed; a cell far from
  // both did not.
  EXPECT_TRUE(win::PtInRegion(rgn, 81 + 40, 10));
  EXPECT_TRUE(win::PtInRegion(rgn, 162 + 40, 31 + 15));
  EXPECT_FALSE(win::PtInRegion(rgn, 243 + 40, 93 + 15));
  win::DeleteObject(rgn);
}

TEST_F(GridTest, CountChanges) {
  grid->SetColCount(300);
  EXPECT_EQ(grid->ColCount(), 256);
  grid->SetColCount(1);
  EXPECT_EQ(grid->ColCount(), 2);
  grid->SetColCount(6);
  grid->SetFixedCols(5);  // not below ColCount - 1: ignored
  EXPECT_EQ(grid->FixedCols(), 0);
  EXPECT_THROW(grid->SetFixedCols(-1), EInvalidGridOperation);
  grid->SetFixedCols(2);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 1}));
  EXPECT_EQ(grid->LeftCol(), 3);
  grid->SetColCount(3);  // the fixed columns shrink with the count
  EXPECT_EQ(grid->FixedCols(), 1);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 1}));
}

TEST_F(GridTest, ShrinkOverAMergedCellChangesNothing) {
  grid->SetColCount(6);
  Merge({4, 2, 5, 2});
  grid->CellAt(5, 2)->ForeText = "kept";
  grid->SetColCount(4);
  EXPECT_EQ(grid->ColCount(), 6);
  EXPECT_EQ(grid->CellAt(5, 2)->ForeText, "kept");
  EXPECT_EQ(grid->CellAt(5, 2)->MergeRect, (TGridRect{4, 2, 5, 2}));
}

// An OnSelectCell that raises while a shrink moves the current cell: the
// counts and every record are as they were.
class RaisingSelect : public TObject {
 public:
  void Select(TObject*, Integer, Integer, bool&) { throw Exception("refused loudly"); }
};

TEST_F(GridTest, FailedSizeChangeLeavesCountsAndCellsAsTheyWere) {
  grid->SetRowCount(6);
  grid->MoveCurrent(2, 5, true);
  grid->CellAt(2, 5)->ForeText = "row five";
  RaisingSelect raising;
  grid->OnSelectCell = TSelectCellEvent(&raising, &RaisingSelect::Select);
  EXPECT_THROW(grid->SetRowCount(3), Exception);
  EXPECT_EQ(grid->RowCount(), 6);
  EXPECT_EQ(grid->CellAt(2, 5)->ForeText, "row five");
  grid->OnSelectCell = nullptr;
  grid->SetRowCount(3);
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 2}));
  EXPECT_THROW(grid->CellAt(2, 5), EInvalidGridOperation);
}

TEST_F(GridTest, TooLargeForTheExtentListsIsRefusedBeforeAnythingChanges) {
  grid->SetRowHeight(1, 40);
  grid->CellAt(1, 4)->ForeText = "kept";
  try {
    grid->SetRowCount(134217726);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message, "Grid too large for operation");
  }
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->CellAt(1, 4)->ForeText, "kept");
  EXPECT_THROW(grid->CellAt(1, 5), EInvalidGridOperation);
}

TEST_F(GridTest, FormFileCarriesWidthsHeightsAndProperties) {
  const char* text =
      "object Grid1: TCellGrid\n"
      "  ColCount = 3\n"
      "  RowCount = 4\n"
      "  CellDataStyle = dsNumber\n"
      "  Options = [goFixedVertLine, goEditing]\n"
      "  ColWidths = (\n"
      "    30\n"
      "    40\n"
      "    50)\n"
      "end\n";
  std::unique_ptr<TComponent> read(ReadComponentText(text, nullptr));
  auto* g = dynamic_cast<TCellGrid*>(read.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->GetColWidth(2), 50);
  EXPECT_EQ(g->GetRowHeight(3), 30);
  EXPECT_EQ(g->CellAt(2, 3)->DataStyle, dsNumber);
  EXPECT_EQ(g->Options(), (TCellGridOptions{goFixedVertLine, goEditing}));
  const std::string written = WriteComponentText(g);
  EXPECT_NE(written.find("ColWidths"), std::string::npos);
  EXPECT_EQ(written.find("RowHeights"), std::string::npos);    // never set: not written
  EXPECT_EQ(written.find("CellFontSize"), std::string::npos);  // 8 is the default
}

}  // namespace
