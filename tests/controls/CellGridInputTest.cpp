#include "controls/CellGrid.h"

#include <gtest/gtest.h>

#include "tests/controls/GridFixture.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"

using namespace gridtest;

namespace {

// 8 x 10 cells of 80 x 30 on a 700 x 340 control without border or bars:
// every cell in view.
class InputTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Plain();
    grid->SetBounds(10, 10, 660, 320);
    grid->SetColCount(8);
    grid->SetRowCount(10);
    log.Attach(grid);
    Show();
    grid->SetFocus();
    Pump();
  }
  void Go(Integer c, Integer r) { grid->MoveCurrent(c, r, true); }
  TEventLog log;
};

TEST_F(InputTest, ArrowsStepOverMergedRangesAndLandOnTheirTopLeft) {
  Merge({2, 2, 4, 2});
  Merge({5, 1, 5, 3});
  struct Case {
    TGridCoord From;
    win::UINT Key;
    TGridCoord To;
  };
  const Case cases[] = {
      {{2, 2},
       win::VK_RIGHT,
       {5, 1}},  // after the range lies another; its top-left becomes current
      {{5, 1}, win::VK_LEFT, {4, 1}},
      {{6, 2}, win::VK_LEFT, {5, 1}},
      {{3, 3}, win::VK_UP, {2, 2}},  // into the range from below
      {{2, 2}, win::VK_DOWN, {2, 3}},
      {{5, 1}, win::VK_DOWN, {5, 4}},   // down from a tall range goes past its bottom
      {{7, 9}, win::VK_RIGHT, {7, 9}},  // the edges hold
      {{1, 1}, win::VK_UP, {1, 1}},
      {{3, 5}, win::VK_HOME, {1, 5}},
      {{3, 5}, win::VK_END, {7, 5}},
  };
  for (const Case& c : cases) {
    Go(c.From.X, c.From.Y);
    ASSERT_EQ(grid->CurrentCell(), grid->CellMergeRect(c.From.X, c.From.Y).TopLeft());
    Key(c.Key);
    EXPECT_EQ(grid->CurrentCell(), c.To) << c.From.X << "," << c.From.Y << " key " << c.Key;
    EXPECT_EQ(grid->Selection(), grid->CellMergeRect(c.To.X, c.To.Y));
  }
  Go(3, 5);
  Key(win::VK_END, false, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{7, 9}));
  Key(win::VK_HOME, false, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{1, 1}));
}

TEST_F(InputTest, ShiftExtendsTheSelectionFromTheAnchorOverWholeRanges) {
  Merge({2, 1, 2, 3});
  Go(1, 1);
  Key(win::VK_RIGHT, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{1, 1}));
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 3}));
  // Down from the anchor goes past the bottom of the range it lies in.
  Key(win::VK_DOWN, true);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 4}));
  Key(win::VK_RIGHT, true);
  EXPECT_EQ(grid->AnchorCell(), (TGridCoord{3, 4}));
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 4}));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{1, 1}));
  // A plain arrow collapses the selection again.
  Key(win::VK_DOWN);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 1, 2}));
}

TEST_F(InputTest, TabWalksTheRowWithoutWrappingWhenTheGridTakesIt) {
  grid->SetOptions(grid->Options() + goTabs);
  Go(6, 4);
  Key(win::VK_TAB);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{7, 4}));
  Key(win::VK_TAB);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{7, 4}));
  Key(win::VK_TAB, true);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{6, 4}));
}

TEST_F(InputTest, ClicksOnCellsTitlesAndTheCorner) {
  grid->SetFixedCols(1);
  Click(Mid(4, 3));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{4, 3}));
  EXPECT_TRUE(log.Has("mousedown"));
  // A column letter selects the column from the first scrolling row down.
  log.Lines.clear();
  Click(Mid(3, 0));
  EXPECT_EQ(grid->Selection(), (TGridRect{3, 1, 3, 9}));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 1}));
  EXPECT_TRUE(log.Has("mousedown"));
  log.Lines.clear();
  Click(Mid(3, 0));  // again: nothing changes, nothing fires
  EXPECT_FALSE(log.Has("mousedown"));
  // Shift on a row number: from the current row to it, current cell kept.
  win::InjectKey(win::VK_SHIFT, true);
  Click(Mid(0, 4));
  win::InjectKey(win::VK_SHIFT, false);
  Pump();
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 7, 4}));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 1}));
  // A fixed cell: nothing at all.
  log.Lines.clear();
  Click(Mid(1, 5));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 1}));
  EXPECT_FALSE(log.Has("mousedown"));
  // The corner selects every scrolling cell.
  Click(Mid(0, 0));
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 7, 9}));
}

TEST_F(InputTest, DraggingOverCellsSelectsARangeGrownToMergedRanges) {
  Merge({4, 4, 5, 6});
  Drag(Mid(2, 2), Mid(4, 4));
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 2}));
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 5, 6}));
  EXPECT_TRUE(log.Has("click"));
  EXPECT_EQ(grid->GridState(), TCellGridState::gsNormal);
}

TEST_F(InputTest, SelectionTimerScrollsWhileTheMouseIsHeldBelowTheGrid) {
  grid->SetRowCount(40);
  grid->SetScrollBars(ssVertical);
  Pump();
  const Integer top = grid->TopRow();
  win::InjectMouseButton(win::VK_LBUTTON, true, Mid(2, 2));
  Pump();
  win::InjectMouseMove(At(100, grid->ClientHeight() + 20));
  Pump();
  const Integer anchor = grid->AnchorCell().Y;
  for (int i = 0; i < 5; ++i) {
    clock.Advance(100);
    Pump();
  }
  EXPECT_GT(grid->AnchorCell().Y, anchor);
  EXPECT_GT(grid->TopRow(), top);
  win::InjectMouseButton(win::VK_LBUTTON, false, At(100, grid->ClientHeight() + 20));
  Pump();
  const Integer stopped = grid->AnchorCell().Y;
  clock.Advance(500);
  Pump();
  EXPECT_EQ(grid->AnchorCell().Y, stopped);
  EXPECT_EQ(grid->Selection().Top, 2);
}

TEST_F(InputTest, DragMoveCarriesTextsAndPropertiesAndResetsTheSource) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->ForeText = "145.25";
  cell->FillColor = clYellow;
  cell->AlignMode = TAlignMode::taRight;
  Go(2, 2);
  TRect box = grid->BoxRect({2, 2, 2, 2}, true);
  Drag(At(box.Left + 1, box.Top + 12), At(box.Left + 1 + 162, box.Top + 12));
  EXPECT_EQ(grid->CellAt(4, 2)->ForeText, "145.25");
  EXPECT_EQ(grid->CellAt(4, 2)->FillColor, clYellow);
  EXPECT_EQ(grid->CellAt(4, 2)->AlignMode, TAlignMode::taRight);
  EXPECT_TRUE(grid->CellAt(2, 2)->ForeText.empty());
  EXPECT_EQ(grid->CellAt(2, 2)->FillColor, grid->CellColor());
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{4, 2}));
  EXPECT_EQ(grid->Selection(), (TGridRect{4, 2, 4, 2}));
  EXPECT_TRUE(log.Has("copymove 2,2-2,2 4,2-4,2"));

  // With Ctrl held the source stays.
  box = grid->BoxRect({4, 2, 4, 2}, true);
  Drag(At(box.Left + 1, box.Top + 12), At(box.Left + 1, box.Top + 12 + 62), true);
  EXPECT_EQ(grid->CellAt(4, 2)->ForeText, "145.25");
  EXPECT_EQ(grid->CellAt(4, 4)->ForeText, "145.25");
  EXPECT_TRUE(log.Has("copymove 4,2-4,2 4,4-4,4"));
}

TEST_F(InputTest, DragMoveAsksBeforeOverwritingAndRefusesReadOnlyCells) {
  grid->CellAt(2, 2)->ForeText = "src";
  grid->CellAt(3, 2)->ForeText = "dest";
  Go(2, 2);
  auto drag = [&] {
    TRect box = grid->BoxRect(grid->Selection(), true);
    Drag(At(box.Left + 1, box.Top + 12), At(box.Left + 1 + 81, box.Top + 12));
  };
  // Cancel: both places unchanged.
  SetMessageBoxHook([this](const std::string& Text, const std::string& Caption, win::UINT) {
    Boxes.push_back(Caption + ": " + Text);
    return win::IDCANCEL;
  });
  drag();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("Confirmation: ", 0), 0u);
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "src");
  EXPECT_EQ(grid->CellAt(3, 2)->ForeText, "dest");
  // A read-only cell in the source refuses a move (mended) but not a copy.
  SetMessageBoxHook([this](const std::string& Text, const std::string& Caption, win::UINT) {
    Boxes.push_back(Caption + ": " + Text);
    return win::IDOK;
  });
  grid->CellAt(2, 2)->ReadOnly = true;
  Boxes.clear();
  drag();
  ASSERT_FALSE(Boxes.empty());
  EXPECT_EQ(Boxes.back(), std::string("Caution: ") + SGridReadOnlyCells);
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "src");
  EXPECT_EQ(grid->CellAt(3, 2)->ForeText, "dest");
  // A read-only cell in the destination refuses both.
  grid->CellAt(2, 2)->ReadOnly = false;
  grid->CellAt(3, 2)->ReadOnly = true;
  Boxes.clear();
  drag();
  ASSERT_FALSE(Boxes.empty());
  EXPECT_EQ(Boxes.back(), std::string("Caution: ") + SGridReadOnlyCells);
  EXPECT_EQ(grid->CellAt(3, 2)->ForeText, "dest");
}

TEST_F(InputTest, FillHandleRepeatsTheSourceAndGrowsTheSelection) {
  grid->CellAt(2, 2)->ForeText = "a";
  grid->CellAt(2, 3)->ForeText = "b";
  grid->CellAt(2, 3)->FontStyle = {fsBold};
  Go(2, 2);
  grid->MoveAnchor({2, 3}, true);
  ASSERT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 3}));
  TRect box = grid->BoxRect(grid->Selection(), true);
  Drag(At(box.Right - 2, box.Bottom - 2), Mid(2, 8));
  const char* expected[] = {"a", "b", "a", "b", "a", "b", "a"};
  for (Integer r = 2; r <= 8; ++r) EXPECT_EQ(grid->CellAt(2, r)->ForeText, expected[r - 2]) << r;
  EXPECT_TRUE(grid->CellAt(2, 5)->FontStyle.Contains(fsBold));
  EXPECT_TRUE(grid->CellAt(2, 9)->ForeText.empty());
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 8}));
  EXPECT_TRUE(log.Has("fill 2,2-2,3 2,2-2,8"));
}

TEST_F(InputTest, FillUpwardsAndSideways) {
  struct Case {
    TGridRect Source;
    Integer Offset, Direction;
    TGridRect Filled;
    std::vector<std::pair<TGridCoord, const char*>> Cells;
  };
  const Case cases[] = {
      // Three rows up from rows 5..6: 3 = one whole copy and one row, the
      // lower source row landing furthest up.
      {{3, 5, 3, 6}, -3, 2, {3, 2, 3, 6}, {{{3, 4}, "y"}, {{3, 3}, "x"}, {{3, 2}, "y"}}},
      {{3, 5, 4, 5}, 3, 1, {3, 5, 7, 5}, {{{5, 5}, "x"}, {{6, 5}, "y"}, {{7, 5}, "x"}}},
  };
  for (const Case& c : cases) {
    grid->ResetRange({1, 1, 7, 9});
    grid->CellAt(c.Source.Left, c.Source.Top)->ForeText = "x";
    grid->CellAt(c.Source.Right, c.Source.Bottom)->ForeText = "y";
    grid->FillRange(c.Source, c.Offset, c.Direction);
    EXPECT_EQ(grid->Selection(), c.Filled);
    for (const auto& [cell, text] : c.Cells)
      EXPECT_EQ(grid->CellAt(cell.X, cell.Y)->ForeText, text);
  }
}

TEST_F(InputTest, FillOfAMergedSourceMovesInWholeCopiesOnly) {
  Merge({2, 2, 2, 3});
  grid->CellAt(2, 2)->ForeText = "m";
  grid->FillRange({2, 2, 2, 3}, 3, 2);  // not a whole number of copies
  EXPECT_TRUE(grid->CellAt(2, 4)->ForeText.empty());
  EXPECT_EQ(grid->CellMergeRect(2, 4), (TGridRect{2, 4, 2, 4}));
  grid->FillRange({2, 2, 2, 3}, 4, 2);
  EXPECT_EQ(grid->CellAt(2, 4)->ForeText, "m");
  EXPECT_EQ(grid->CellMergeRect(2, 5), (TGridRect{2, 4, 2, 5}));
  EXPECT_EQ(grid->CellMergeRect(2, 7), (TGridRect{2, 6, 2, 7}));
  // A fill across part of a merged range is refused with a notice.
  Merge({5, 3, 5, 4});
  grid->FillRange({5, 1, 5, 2}, 1, 2);
  ASSERT_FALSE(Boxes.empty());
  EXPECT_EQ(Boxes.back(), std::string("Caution: ") + SGridFillMerged);
}

TEST_F(InputTest, SizingAColumnFromItsTitleButNotFromItsCells) {
  grid->SetOptions(grid->Options() + goColSizing + goRowSizing);
  const Integer border = grid->CellRect(2, 0).Right;  // 242
  Drag(At(border + 1, 15), At(border + 21, 45));
  EXPECT_EQ(grid->GetColWidth(2), 100);
  // In the cells, only with ClientSizeable.
  const Integer border3 = grid->CellRect(3, 5).Right;
  Drag(At(border3 + 1, 160), At(border3 + 31, 160));
  EXPECT_EQ(grid->GetColWidth(3), 80);
  grid->SetClientSizeable(true);
  Go(1, 1);
  Drag(At(border3 + 1, 160), At(border3 + 31, 160));
  EXPECT_EQ(grid->GetColWidth(3), 110);
  // A row from its number.
  const Integer rowBorder = grid->CellRect(0, 4).Bottom;
  Drag(At(40, rowBorder + 1), At(40, rowBorder - 9));
  EXPECT_EQ(grid->GetRowHeight(4), 20);
}

TEST_F(InputTest, WheelScrollsARowAndHidesTheEditor) {
  grid->SetRowCount(40);
  grid->SetScrollBars(ssVertical);
  grid->SetOptions(grid->Options() + goEditing);
  Pump();
  grid->SetEditorMode(true);
  ASSERT_TRUE(grid->InplaceEditor()->WindowVisible());
  win::InjectMouseWheel(-120, Mid(3, 3));
  Pump();
  EXPECT_EQ(grid->TopRow(), 2);
  EXPECT_FALSE(grid->InplaceEditor()->WindowVisible());
  win::InjectMouseWheel(120, Mid(3, 3));
  Pump();
  EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(InputTest, CancelModeEndsAnOperationWithoutChangingCells) {
  grid->CellAt(2, 2)->ForeText = "stay";
  Go(2, 2);
  TRect box = grid->BoxRect({2, 2, 2, 2}, true);
  win::InjectMouseButton(win::VK_LBUTTON, true, At(box.Left + 1, box.Top + 12));
  Pump();
  ASSERT_EQ(grid->GridState(), TCellGridState::gsMoving);
  grid->Perform(win::WM_CANCELMODE, 0, 0);
  EXPECT_EQ(grid->GridState(), TCellGridState::gsNormal);
  win::InjectMouseButton(win::VK_LBUTTON, false, At(box.Left + 200, box.Top + 12));
  Pump();
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "stay");
}

TEST_F(InputTest, CursorFollowsWhatTheMouseWouldDo) {
  grid->SetOptions(grid->Options() + goColSizing);
  auto cursorAt = [&](win::POINT p) {
    win::InjectMouseMove(p);
    Pump();
    return win::CursorName(win::GetCursor());
  };
  Go(2, 2);
  const TRect box = grid->BoxRect({2, 2, 2, 2}, true);
  EXPECT_EQ(cursorAt(Mid(5, 5)), "EXCEL");
  EXPECT_EQ(cursorAt(At(box.Left + 1, box.Top + 12)),
            win::CursorName(Screen->Cursors(crHandPoint)));
  EXPECT_EQ(cursorAt(At(box.Right - 2, box.Bottom - 2)),
            win::CursorName(Screen->Cursors(crMultiDrag)));
  EXPECT_EQ(cursorAt(At(grid->CellRect(4, 0).Right + 1, 10)),
            win::CursorName(Screen->Cursors(crHSplit)));
}

}  // namespace
