#include "controls/CellGrid.h"

#include <gtest/gtest.h>

#include "tests/controls/GridFixture.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/FormatSettings.h"

using namespace gridtest;

namespace {

class CellsTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    saved_ = DefaultFormatSettings();
    SetDefaultFormatSettings(TFormatSettings::English());
    log.Attach(grid);
    SetMessageBoxHook([this](const std::string& Text, const std::string& Caption, win::UINT Flags) {
      Boxes.push_back(Caption + ": " + Text);
      flags.push_back(Flags);
      return answer;
    });
  }
  void TearDown() override {
    GridTest::TearDown();
    SetDefaultFormatSettings(saved_);
  }
  TEventLog log;
  std::vector<win::UINT> flags;
  int answer = win::IDOK;

 private:
  TFormatSettings saved_;
};

TEST_F(CellsTest, ForeTextIsCheckedAndFormattedByTheCellsStyle) {
  TCellInfo* cell = grid->CellAt(3, 2);
  cell->DataStyle = dsNumber;
  cell->ThousandSep = true;
  grid->SetCellForeText(3, 2, "1234.5");
  EXPECT_EQ(cell->ForeText, "1,234.5");
  EXPECT_TRUE(log.Has("fore 3,2 1,234.5"));
  // The present text again: the event fires, nothing else happens.
  log.Lines.clear();
  grid->SetCellForeText(3, 2, "1,234.5");
  EXPECT_EQ(log.Lines, std::vector<std::string>{"fore 3,2 1,234.5"});
  // Not a number: the error box, the cell and the events untouched.
  log.Lines.clear();
  grid->SetCellForeText(3, 2, "abc");
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("Caution: Cell[3,2]", 0), 0u);
  EXPECT_EQ(flags[0], win::MB_OK | win::MB_ICONERROR);
  EXPECT_EQ(cell->ForeText, "1,234.5");
  EXPECT_TRUE(log.Lines.empty());
  // Back texts are stored as they come.
  grid->SetCellBackText(3, 2, "abc");
  EXPECT_EQ(cell->BackText, "abc");
  EXPECT_TRUE(log.Has("back 3,2 abc"));
}

class Upper : public TObject {
 public:
  void Change(TObject*, Integer, Integer, std::string& Value) { Value += "!"; }
};

TEST_F(CellsTest, ForeTextHandlerChangesTheStoredText) {
  Upper upper;
  grid->OnSetForeText = TSetCellTextEvent(&upper, &Upper::Change);
  grid->SetCellForeText(1, 1, "hi");
  EXPECT_EQ(grid->CellAt(1, 1)->ForeText, "hi!");
}

TEST_F(CellsTest, SelectorsSetOneFieldOverColumnsRowsRangesOrAllCells) {
  struct Case {
    Integer Selector;
    TCellPropValue Value;
    std::function<bool(const TCellInfo&)> Holds;
  };
  const Case cases[] = {
      {0, static_cast<Integer>(dsTime), [](const TCellInfo& c) { return c.DataStyle == dsTime; }},
      {1, static_cast<Integer>(TAlignMode::taBottom),
       [](const TCellInfo& c) { return c.AlignMode == TAlignMode::taBottom; }},
      {2, true, [](const TCellInfo& c) { return c.ReadOnly; }},
      {3, false, [](const TCellInfo& c) { return !c.AutoWordBreak; }},
      {4, false, [](const TCellInfo& c) { return !c.ShowForeText; }},
      {5, true, [](const TCellInfo& c) { return c.TopLine; }},
      {6, true, [](const TCellInfo& c) { return c.LeftLine; }},
      {7, true, [](const TCellInfo& c) { return c.RightLine && !c.BottomLine; }},
      {8, true, [](const TCellInfo& c) { return c.BottomLine; }},
      {9, false, [](const TCellInfo& c) { return !c.AllowNegative; }},
      {10, true, [](const TCellInfo& c) { return c.TrailingZero; }},
      {11, true, [](const TCellInfo& c) { return c.ZeroNull; }},
      {12, true, [](const TCellInfo& c) { return c.ThousandSep; }},
      {13, 40, [](const TCellInfo& c) { return c.MaxLength == 40; }},
      {14, 5, [](const TCellInfo& c) { return c.IntLength == 5; }},
      {15, 4, [](const TCellInfo& c) { return c.DecLength == 4; }},
      {16, 3, [](const TCellInfo& c) { return c.LineWidth == 3; }},
      {17, static_cast<Integer>(psDot), [](const TCellInfo& c) { return c.PenStyle == psDot; }},
      {18, 77, [](const TCellInfo& c) { return c.UserValue == 77; }},
      {19, clRed, [](const TCellInfo& c) { return c.FillColor == clRed; }},
      {20, 12, [](const TCellInfo& c) { return c.FontSize == 12; }},
      {21, clBlue, [](const TCellInfo& c) { return c.FontColor == clBlue; }},
      {22, TFontStyles{fsBold, fsUnderline},
       [](const TCellInfo& c) {
         return c.FontStyle == TFontStyles{fsBold, fsUnderline};
       }},
      {23, "Arial", [](const TCellInfo& c) { return c.FontName == "Arial"; }},
      {24, "fore", [](const TCellInfo& c) { return c.ForeText == "fore"; }},
      {25, "back", [](const TCellInfo& c) { return c.BackText == "back"; }},
  };
  for (const Case& c : cases) {
    grid->ResetRange({1, 1, 4, 4});
    grid->SetColumnCellProperty(2, c.Selector, c.Value);
    EXPECT_TRUE(c.Holds(*grid->CellAt(2, 1))) << c.Selector;
    EXPECT_TRUE(c.Holds(*grid->CellAt(2, 4))) << c.Selector;
    EXPECT_FALSE(c.Holds(*grid->CellAt(3, 1))) << c.Selector;
    EXPECT_FALSE(c.Holds(*grid->CellAt(2, 0))) << c.Selector;  // titles never
  }
  grid->ResetRange({1, 1, 4, 4});
  grid->SetRowCellProperty(3, 19, clRed);
  EXPECT_EQ(grid->CellAt(4, 3)->FillColor, clRed);
  EXPECT_NE(grid->CellAt(0, 3)->FillColor, clRed);
  grid->SetRangeCellProperty({0, 0, 2, 2}, 18, 9);
  EXPECT_EQ(grid->CellAt(2, 2)->UserValue, 9);
  EXPECT_EQ(grid->CellAt(0, 0)->UserValue, 0);
  EXPECT_EQ(grid->CellAt(3, 3)->UserValue, 0);
  grid->SetAllCellsProperty(20, 14);
  EXPECT_EQ(grid->CellAt(4, 4)->FontSize, 14);
  EXPECT_EQ(grid->CellAt(0, 4)->FontSize, 8);
  EXPECT_EQ(grid->CellAt(4, 0)->FontSize, 8);
  // Column 0, row 0, an unknown selector and a value of the wrong kind
  // change nothing.
  grid->SetColumnCellProperty(0, 19, clRed);
  grid->SetRowCellProperty(0, 19, clRed);
  EXPECT_NE(grid->CellAt(0, 2)->FillColor, clRed);
  EXPECT_NE(grid->CellAt(2, 0)->FillColor, clRed);
  grid->SetAllCellsProperty(26, 1);
  grid->SetAllCellsProperty(23, 5);
  grid->SetAllCellsProperty(19, "red");
  EXPECT_EQ(grid->CellAt(1, 1)->FontName, "MS Sans Serif");
  // The text selector goes through the checked fore text, per cell.
  grid->CellAt(1, 1)->DataStyle = dsNumber;
  grid->SetRangeCellProperty({1, 1, 1, 1}, 24, "x1");
  EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(CellsTest, GridDefaultsRewriteEveryCellAndHoldForNewOnes) {
  grid->CellAt(2, 2)->FillColor = clRed;
  grid->SetCellColor(grid->CellColor());  // the same value still rewrites
  EXPECT_EQ(grid->CellAt(2, 2)->FillColor, clWhite);
  grid->SetCellColor(clYellow);
  grid->SetCellDataStyle(dsNumber);
  grid->SetCellThousandSep(false);
  grid->SetColCount(7);
  EXPECT_EQ(grid->CellAt(6, 3)->FillColor, clYellow);
  EXPECT_EQ(grid->CellAt(6, 3)->DataStyle, dsNumber);
  EXPECT_EQ(grid->CellAt(6, 0)->FillColor, grid->TitleColor());
  EXPECT_EQ(grid->CellAt(0, 2)->DataStyle, dsText);
}

TEST_F(CellsTest, ClearRangeClearsTopLeftsOfRangesAndSkipsReadOnlyOnes) {
  Merge({2, 2, 3, 3});
  grid->CellAt(2, 2)->ForeText = "m";
  grid->CellAt(1, 1)->ForeText = "ro";
  grid->CellAt(1, 1)->ReadOnly = true;
  grid->CellAt(4, 4)->ForeText = "far";
  grid->ClearRange({1, 1, 3, 3});
  EXPECT_TRUE(grid->CellAt(2, 2)->ForeText.empty());
  EXPECT_EQ(grid->CellAt(1, 1)->ForeText, "ro");
  EXPECT_EQ(grid->CellAt(4, 4)->ForeText, "far");
  EXPECT_TRUE(log.Has("fore 2,2 "));
  EXPECT_TRUE(log.Has("back 2,2 "));
}

TEST_F(CellsTest, MessageBoxesCarryTheirCaptionsAndButtons) {
  grid->ShowCautionBox("c");
  grid->ShowErrorBox("e");
  answer = win::IDCANCEL;
  EXPECT_FALSE(grid->AskConfirmation("q"));
  answer = win::IDOK;
  EXPECT_TRUE(grid->AskConfirmation("q"));
  EXPECT_EQ(Boxes, (std::vector<std::string>{"Caution: c", "Caution: e", "Confirmation: q",
                                             "Confirmation: q"}));
  EXPECT_EQ(flags[0], win::MB_OK | win::MB_ICONINFORMATION);
  EXPECT_EQ(flags[1], win::MB_OK | win::MB_ICONERROR);
  EXPECT_EQ(flags[2], win::MB_OKCANCEL | win::MB_ICONQUESTION | win::MB_DEFBUTTON2);
}

}  // namespace
