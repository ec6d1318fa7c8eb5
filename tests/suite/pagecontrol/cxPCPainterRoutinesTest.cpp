// Routines the tab painters share: the light face colour, side lines of a
// rect, regions of tab outlines and colour brightening ("no styles": plain
// GDI on a bitmap).
#include "suite/pagecontrol/cxPCPainterRoutines.h"

#include <gtest/gtest.h>

#include "platform/win/SysColors.h"
#include "tests/suite/foundation/CanvasFixture.h"

namespace {

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(win::RGB(r, g, b)); }

}  // namespace

TEST(PainterRoutines, LightFaceColorRaisesEachChannel) {
  const win::COLORREF old = win::GetSysColor(win::COLOR_BTNFACE);
  const int index = win::COLOR_BTNFACE;
  const win::COLORREF face = win::RGB(240, 236, 230);
  win::SetSysColors(1, &index, &face);
  EXPECT_EQ(ComputeLightFaceColor(), Rgb(255, 255, 250));
  win::SetSysColors(1, &index, &old);
}

TEST(PainterRoutines, SideLinesMoveTheSidesInwards) {
  TestSurface s;
  s.Reset(10, 10);
  TRect r{1, 1, 6, 5};
  const Integer sides[] = {0, 1, 2, 3};
  const TColor colors[] = {clRed, clLime, clBlue, clYellow};
  DrawRectSideLines(s.canvas.get(), r, sides, colors, 3, true);
  EXPECT_EQ(r, (TRect{2, 2, 5, 4}));
  const std::vector<std::pair<TColor, char>> legend{{clRed, 'r'}, {clLime, 'g'}, {clBlue, 'b'}, {clYellow, 'y'}};
  EXPECT_EQ(s.Rows({0, 0, 7, 6}, legend),
            (std::vector<std::string>{".......", ".rgggg.", ".r...b.", ".r...b.", ".ryyyb.", "......."}));
  // The band of the lines is out of the clip now, the inside is not.
  s.canvas->SetBrushColor(clBlack);
  s.canvas->Canvas->FillRect({0, 0, 10, 10});
  EXPECT_TRUE(s.Is(1, 1, clRed));
  EXPECT_TRUE(s.Is(3, 3, clBlack));
}

TEST(PainterRoutines, OutlineRegionsTakeTheirOutlinePixels) {
  // A tab outline: left side up, top, right side down.
  const TPoint outline[] = {{2, 8}, {2, 2}, {8, 2}, {8, 8}};
  const TLinePosition positions[] = {lpL, lpT, lpR};
  TPoints points;
  TLinePositions lines;
  AppendFigurePoints(points, outline, 3, 2, positions, lines);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_TRUE(FigureHasSide(lpT, lines));
  EXPECT_FALSE(FigureHasSide(lpB, lines));

  TPoints copy = points;
  auto outer = FigureOutlineRegion(copy, 3, lines, false, 2);
  EXPECT_TRUE(outer->ContainsXY(8, 5));  // the right outline belongs to it
  EXPECT_FALSE(outer->ContainsXY(9, 5));
  EXPECT_TRUE(outer->ContainsXY(2, 2));

  copy = points;
  auto inner = FigureOutlineRegion(copy, 3, lines, true, 2);
  EXPECT_FALSE(inner->ContainsXY(2, 5));  // inside the left and top outline
  EXPECT_TRUE(inner->ContainsXY(3, 5));
  EXPECT_FALSE(inner->ContainsXY(5, 2));
  EXPECT_TRUE(inner->ContainsXY(5, 3));
  EXPECT_FALSE(inner->ContainsXY(8, 5));
}

TEST(PainterRoutines, BrighteningKeepsHueAndSaturation) {
  struct Case {
    TColor color;
    Integer percent;
    TColor expected;
  };
  const Case cases[] = {
      {Rgb(255, 0, 0), 50, Rgb(255, 0, 0)},          // already at full brightness
      {Rgb(0, 0, 0), 50, Rgb(0, 0, 0)},              // black stays black
      {Rgb(128, 128, 128), 50, Rgb(192, 192, 192)},  // a grey gets lighter
      {Rgb(0, 0, 128), 100, Rgb(0, 0, 255)},
      {Rgb(100, 50, 0), 20, Rgb(120, 60, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(BrightenColor(c.color, c.percent), c.expected) << std::hex << c.color;
}

TEST(PainterRoutines, ExtentsAndPairs) {
  Integer w = 0;
  Integer h = 0;
  OrientedRectExtents({0, 0, 10, 4}, false, w, h);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 10);
  IntegerPair pair{1, 2};
  SwapPair(pair);
  EXPECT_EQ(pair, (IntegerPair{2, 1}));
}

TEST(PainterRoutines, RectSideBands) {
  const TRect r{10, 20, 50, 40};
  struct Case {
    TcxTabPosition side;
    bool outside;
    TRect band;
  };
  const Case cases[] = {{tpTop, false, {10, 20, 50, 22}},    {tpTop, true, {10, 18, 50, 20}},
                        {tpBottom, false, {10, 38, 50, 40}}, {tpBottom, true, {10, 40, 50, 42}},
                        {tpLeft, false, {10, 20, 12, 40}},   {tpLeft, true, {8, 20, 10, 40}},
                        {tpRight, false, {48, 20, 50, 40}},  {tpRight, true, {50, 20, 52, 40}}};
  for (const auto& c : cases) EXPECT_EQ(RectSideBand(r, c.side, 2, c.outside), c.band) << c.side << c.outside;
}
