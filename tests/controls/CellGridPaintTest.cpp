#include "controls/CellGrid.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/controls/GridFixture.h"
#include "controls/GridDrawing.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"

using namespace gridtest;

namespace {

// One drawing call of a paint.
struct Call {
  std::string Kind;  // fill, lines, line, box, edge, focus, text, clip
  TRect Rect;
  std::vector<TPoint> Points;
  TColor Color = 0;
  Integer Width = 0;
  std::string Text;
  TGridFont Font;
  win::UINT Flags = 0;
};

// Passes every call on to the real drawing and keeps a list of them.
class RecordingDrawing : public TGridDrawing {
 public:
  RecordingDrawing(std::unique_ptr<TGridDrawing> inner, std::vector<Call>& log)
      : Inner_(std::move(inner)), Log_(log) {}
  Call& Add(const char* kind, const TRect& r, TColor color = 0, Integer width = 0) {
    Call c;
    c.Kind = kind;
    c.Rect = r;
    c.Color = color;
    c.Width = width;
    Log_.push_back(c);
    return Log_.back();
  }
  void SetClip(const TRect& R) override {
    Add("clip", R);
    Inner_->SetClip(R);
  }
  void IntersectClip(const TRect& R) override { Inner_->IntersectClip(R); }
  void ResetClip() override { Inner_->ResetClip(); }
  void FillRect(const TRect& R, TColor Color) override {
    Add("fill", R, Color);
    Inner_->FillRect(R, Color);
  }
  void Lines(const std::vector<TPoint>& Points, TColor Color, Integer Width) override {
    Add("lines", {}, Color, Width).Points = Points;
    Inner_->Lines(Points, Color, Width);
  }
  void Line(TPoint From, TPoint To, TColor Color, Integer Width, TPenStyle Style) override {
    Add("line", {From.X, From.Y, To.X, To.Y}, Color, Width);
    Inner_->Line(From, To, Color, Width, Style);
  }
  void Box(const TRect& R, TColor Color, Integer PenWidth) override {
    Add("box", R, Color, PenWidth);
    Inner_->Box(R, Color, PenWidth);
  }
  void Edge(const TRect& R, win::UINT EdgeKind, win::UINT Flags) override {
    Add("edge", R).Flags = Flags;
    Inner_->Edge(R, EdgeKind, Flags);
  }
  void FocusRect(const TRect& R) override {
    Add("focus", R);
    Inner_->FocusRect(R);
  }
  Integer TextHeight(const std::string& Text, const TGridFont& Font, Integer Width,
                     win::UINT Flags) override {
    return Inner_->TextHeight(Text, Font, Width, Flags);
  }
  void Text(const std::string& Text, const TGridFont& Font, TColor Color, const TRect& R,
            win::UINT Flags) override {
    Call& c = Add("text", R, Color);
    c.Text = Text;
    c.Font = Font;
    c.Flags = Flags;
    Inner_->Text(Text, Font, Color, R, Flags);
  }

 private:
  std::unique_ptr<TGridDrawing> Inner_;
  std::vector<Call>& Log_;
};

class RecordingGrid : public TCellGrid {
 public:
  using TCellGrid::TCellGrid;
  std::vector<Call> Calls;

 protected:
  std::unique_ptr<TGridDrawing> CreateDrawing(TCanvas* ACanvas) override {
    return std::make_unique<RecordingDrawing>(TCellGrid::CreateDrawing(ACanvas), Calls);
  }
};

class PaintTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    delete grid;
    rec = Place<RecordingGrid>(10, 10, 400, 150);
    grid = rec;
    Plain();
  }
  // One whole paint, recorded.
  void PaintOnce() {
    Show();
    rec->Calls.clear();
    win::RedrawWindow(grid->Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_UPDATENOW);
  }
  std::vector<Call> Of(const std::string& kind) const {
    std::vector<Call> out;
    for (const Call& c : rec->Calls)
      if (c.Kind == kind) out.push_back(c);
    return out;
  }
  const Call* TextCall(const std::string& text) const {
    for (const Call& c : rec->Calls)
      if (c.Kind == "text" && c.Text == text) return &c;
    return nullptr;
  }
  // Whether any line segment of the paint covers the pixel.
  bool LineCovers(Integer x, Integer y) const {
    for (const Call& c : rec->Calls) {
      if (c.Kind != "lines") continue;
      for (size_t i = 0; i + 1 < c.Points.size(); i += 2) {
        TPoint a = c.Points[i], b = c.Points[i + 1];
        if (a.X == b.X && a.X == x && y >= std::min(a.Y, b.Y) && y < std::max(a.Y, b.Y))
          return true;
        if (a.Y == b.Y && a.Y == y && x >= std::min(a.X, b.X) && x < std::max(a.X, b.X))
          return true;
      }
    }
    return false;
  }
  RecordingGrid* rec = nullptr;
};

TEST_F(PaintTest, OnePolylineCallPerRegionAndAxisAndEveryCellOnce) {
  grid->SetFixedCols(1);
  grid->SetFixedRows(1);
  PaintOnce();
  // Title corner, title row and column over the fixed and the scrolling
  // parts, the three fixed regions and the scrolling region, both axes.
  EXPECT_EQ(Of("lines").size(), 18u);
  // 5 x 5 cells each filled once (the rest of the client area after them).
  std::vector<Call> fills = Of("fill");
  ASSERT_GE(fills.size(), 25u);
  EXPECT_EQ(TextCall("A")->Rect, (TRect{81, 0, 161, 30}));
  EXPECT_EQ(TextCall("4")->Rect, (TRect{0, 124, 80, 154}));
  EXPECT_EQ(TextCall("E"), nullptr);  // only columns A..D exist
}

TEST_F(PaintTest, MergedRangeDrawsOnceCentredWithNoLineAcrossIt) {
  Merge({2, 2, 3, 3});
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->ForeText = "x";
  cell->AlignMode = TAlignMode::taCenter;
  PaintOnce();
  std::vector<Call> texts;
  for (const Call& c : Of("text"))
    if (c.Text == "x") texts.push_back(c);
  ASSERT_EQ(texts.size(), 1u);
  // The range runs from column 2 (x 162) over two cells and the line
  // between them, less 4 pixels on each side.
  EXPECT_EQ(texts[0].Rect.Left, 162 + 4);
  EXPECT_EQ(texts[0].Rect.Right, 162 + 161 - 4);
  EXPECT_TRUE(texts[0].Flags & win::DT_CENTER);
  const Integer height = 61 - 8;
  EXPECT_GT(texts[0].Rect.Top, 62 + 4);
  EXPECT_LT(texts[0].Rect.Top, 62 + 4 + height / 2);
  // The line between columns 2 and 3 (x 242) and between rows 2 and 3
  // (y 92) stop at the range; outside it they are drawn.
  EXPECT_FALSE(LineCovers(242, 70));
  EXPECT_FALSE(LineCovers(200, 92));
  EXPECT_TRUE(LineCovers(242, 40));
  EXPECT_TRUE(LineCovers(100, 92));
  EXPECT_TRUE(LineCovers(242, 130));
}

TEST_F(PaintTest, LineWidthChoosesThePen) {
  PaintOnce();
  for (const Call& c : Of("lines")) EXPECT_EQ(c.Width, 1);
  grid->SetGridLineWidth(3);
  PaintOnce();
  for (const Call& c : Of("lines")) EXPECT_EQ(c.Width, 3);
  // The cells move apart by the wider lines: column 1 starts at 80 + 3.
  EXPECT_EQ(TextCall("A")->Rect.Left, 83);
}

TEST_F(PaintTest, TitlesOfSelectedColumnsAndRowsAreBold) {
  grid->SetFocusedTitleColor(clRed);
  grid->SetSelection({2, 1, 3, 2});
  PaintOnce();
  for (const char* letter : {"B", "C"}) {
    const Call* c = TextCall(letter);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Font.Style.Contains(fsBold)) << letter;
    EXPECT_EQ(c->Color, clRed) << letter;
  }
  for (const char* plain : {"A", "D", "3"}) {
    const Call* c = TextCall(plain);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Font.Style.Empty()) << plain;
    EXPECT_EQ(c->Color, clBlack) << plain;
    EXPECT_EQ(c->Font.Name, "MS Sans Serif");
    EXPECT_EQ(c->Font.Size, 9);
  }
  EXPECT_TRUE(TextCall("2")->Font.Style.Contains(fsBold));
}

TEST_F(PaintTest, LinesSwitchedOffKeepTheirSpaceInTheBackgroundColour) {
  grid->SetColor(clAqua);
  PaintOnce();
  std::vector<Call> on = Of("lines");
  grid->SetOptions(grid->Options() - goVertLine);
  PaintOnce();
  std::vector<Call> off = Of("lines");
  ASSERT_EQ(on.size(), off.size());
  // The scrolling region's vertical lines: same points, background colour.
  const Call& scrollOn = on[on.size() - 2];
  const Call& scrollOff = off[off.size() - 2];
  EXPECT_EQ(scrollOn.Color, grid->ClientLineColor());
  EXPECT_EQ(scrollOff.Color, clAqua);
  EXPECT_EQ(scrollOn.Points, scrollOff.Points);
  EXPECT_EQ(TextCall("B")->Rect.Left, 162);
}

TEST_F(PaintTest, HiddenTitlesDrawNeitherCellsNorLines) {
  grid->SetShowColTitle(false);
  grid->SetShowRowTitle(false);
  PaintOnce();
  EXPECT_EQ(TextCall("A"), nullptr);
  EXPECT_EQ(TextCall("1"), nullptr);
  for (const Call& c : Of("lines")) EXPECT_NE(c.Color, clBlack);
  EXPECT_TRUE(Of("edge").empty());
}

TEST_F(PaintTest, SelectionFrameWithAndWithoutFocus) {
  grid->SetSelection({1, 1, 2, 2});
  PaintOnce();  // the host window never took the focus to the grid
  ASSERT_FALSE(grid->GridFocused());
  EXPECT_EQ(Of("focus").size(), 1u);
  EXPECT_TRUE(Of("box").empty());
  grid->SetFocus();
  PaintOnce();
  EXPECT_TRUE(Of("focus").empty());
  std::vector<Call> box = Of("box");
  ASSERT_EQ(box.size(), 1u);
  const TRect sel = grid->BoxRect({1, 1, 2, 2}, true);
  EXPECT_EQ(box[0].Rect, (TRect{sel.Right - 3, sel.Bottom - 3, sel.Right, sel.Bottom}));
  // A merged range across the selection's edge: the thin frame around the
  // current cell's range instead.
  Merge({2, 2, 3, 2});
  PaintOnce();
  EXPECT_TRUE(Of("box").empty());
  for (const Call& c : Of("line")) EXPECT_EQ(c.Width, 1);
}

// Paints a small grid for real and reads its pixels (no visual styles: the
// grid draws on the classic path only).
TEST_F(PaintTest, PixelsOfASmallGrid) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetCellColor(clYellow);
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->FillColor = clLime;
  cell->BottomLine = true;
  cell->LineWidth = 2;
  grid->SetFocus();
  PaintOnce();
  const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(40, 5), face);        // title row; a raised edge round it, so not its border
  EXPECT_EQ(Pixel(120, 45), clYellow);  // (1,1): the current cell keeps its own colour
  EXPECT_EQ(Pixel(200, 75), clLime);    // (2,2)
  EXPECT_EQ(Pixel(161, 75),
            static_cast<TColor>(kGridClientLineColor));  // line between scrolling cells
  EXPECT_EQ(Pixel(80, 45), clBlack);                     // line of the title column
  EXPECT_EQ(Pixel(82, 32), clBlack);   // the focused frame's top-left corner, 3 wide
  EXPECT_EQ(Pixel(83, 33), clWhite);   // and its white inner line
  EXPECT_EQ(Pixel(200, 91), clBlack);  // the cell's own bottom line, 2 wide
  EXPECT_EQ(Pixel(350, 75), static_cast<TColor>(ColorToRGB(clWindow)));  // right of the last column
}

TEST_F(PaintTest, AutoUpdateOffBatchesChangesUntilItIsOnAgain) {
  PaintOnce();
  grid->SetAutoUpdate(false);
  rec->Calls.clear();
  grid->SetCellColor(clRed);
  grid->SetTitleColor(clGreen);
  grid->SetCellForeText(2, 2, "later");
  grid->InvalidateCell(3, 3);
  EXPECT_TRUE(rec->Calls.empty());
  win::RECT update;
  EXPECT_TRUE(win::GetUpdateRect(grid->Handle(), &update,
                                 win::FALSE));  // the cells wait for the next paint
  grid->SetAutoUpdate(true);
  EXPECT_NE(TextCall("later"), nullptr);
  for (const Call& c : Of("fill")) {
    if (c.Rect.Left >= 81 && c.Rect.Top >= 31 && c.Rect.Right <= 400) {
      EXPECT_NE(c.Color, clWhite);
    }
  }
}

TEST_F(PaintTest, DrawStatesReachOnDrawCell) {
  struct States : TObject {
    std::vector<std::pair<TGridCoord, TCellGridDrawState>> Seen;
    void Draw(TObject*, Integer c, Integer r, TRect, TCellGridDrawState s) {
      Seen.push_back({{c, r}, s});
    }
    TCellGridDrawState At(Integer c, Integer r) const {
      for (auto& [cell, s] : Seen)
        if (cell == TGridCoord{c, r}) return s;
      return {};
    }
  } states;
  grid->OnDrawCell = TDrawCellEvent(&states, &States::Draw);
  grid->SetFixedCols(1);
  grid->SetSelection({2, 1, 3, 1});
  grid->SetFocus();
  PaintOnce();
  EXPECT_EQ(states.At(0, 2), (TCellGridDrawState{gdTitled}));
  EXPECT_EQ(states.At(1, 2), (TCellGridDrawState{gdFixed}));
  EXPECT_EQ(states.At(2, 1), (TCellGridDrawState{gdFocused, gdSelected}));
  EXPECT_EQ(states.At(3, 1), (TCellGridDrawState{gdSelected}));
  EXPECT_EQ(states.At(3, 3), (TCellGridDrawState{}));
}

}  // namespace
