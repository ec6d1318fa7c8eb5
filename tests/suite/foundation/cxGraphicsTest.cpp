#include "suite/foundation/cxGraphics.h"

#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"
#include "tests/suite/foundation/CanvasFixture.h"

using namespace win;

TEST(cxGraphics, TextFlagsMapToDrawTextFormats) {
  struct Case {
    TcxTextFlags flags;
    UINT format;
  } cases[] = {
      {0, DT_NOPREFIX},
      {TextLeft | TextTop, DT_NOPREFIX},
      {TextRight | TextBottom, DT_NOPREFIX | DT_RIGHT | DT_BOTTOM},
      {TextHCenter | TextVCenter | TextSingleLine, DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {TextShowPrefix, 0},
      {TextWordBreak, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
      {TextWordBreak | TextNoCharBreak, DT_NOPREFIX | DT_WORDBREAK},
      {TextNoCharBreak, DT_NOPREFIX},
      {TextNoClip | TextExpandTabs | TextEndEllipsis | TextCalcOnly | TextPathEllipsis,
       DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_CALCRECT | DT_PATH_ELLIPSIS},
  };
  for (const Case& c : cases) EXPECT_EQ(CanvasTextFlagsToDrawTextFormat(c.flags), c.format) << c.flags;
}

TEST(cxGraphics, RegionOperations) {
  struct Case {
    RegionOperation op;
    bool at5, at15, at25;  // points (5,5), (15,5), (25,5)
  } cases[] = {
      {RegionCopy, false, true, true},
      {RegionUnion, true, true, true},
      {RegionDifference, true, false, false},
      {RegionIntersection, false, true, false},
  };
  for (const Case& c : cases) {
    TcxRegion a(0, 0, 20, 10);
    a.Combine(TcxRegion::CreateFromCoords(10, 0, 30, 10), c.op);  // the operand is freed
    EXPECT_EQ(a.ContainsXY(5, 5), c.at5) << c.op;
    EXPECT_EQ(a.ContainsPoint({15, 5}), c.at15) << c.op;
    EXPECT_EQ(a.ContainsXY(25, 5), c.at25) << c.op;
  }
  TcxRegion r(TRect{0, 0, 4, 4});
  r.Offset(10, 20);
  EXPECT_EQ(r.BoundsRect(), (TRect{10, 20, 14, 24}));
  EXPECT_TRUE(TcxRegion::CreateEmpty()->IsEmpty());
}

using cxCanvas = CanvasTest;

TEST_F(cxCanvas, UnclippedReadsAsTheLargeRectangleShiftedByTheOrigin) {
  auto r = canvas->ReadClipRegion(false);
  EXPECT_EQ(r->BoundsRect(), (TRect{0, 0, 30000, 30000}));
  EXPECT_TRUE(r->NoClip);
  canvas->SetDCWindowOrigin({5, 7});  // the DC origin is (-5, -7)
  EXPECT_EQ(canvas->DCOrigin(), (TPoint{-5, -7}));
  EXPECT_EQ(canvas->ReadClipRegion(true)->BoundsRect(), (TRect{5, 7, 30005, 30007}));
}

TEST_F(cxCanvas, SavedUnclippedStateRestoresToNoClip) {
  // The logical origin lies right of and below the bitmap: pixel (0, 0) is
  // logical (-10, -10), outside a 30000 x 30000 clip.
  SetViewportOrgEx(canvas->DeviceContext(), 10, 10, nullptr);
  auto saved = canvas->ReadClipRegion();
  canvas->ApplyClipRegion(TcxRegion::CreateFromCoords(0, 0, 5, 5), RegionIntersection);
  canvas->Canvas->Brush()->SetColor(clBlack);
  canvas->Canvas->FillRect({-10, -10, 30, 20});
  EXPECT_EQ(Count(clBlack), 25);
  canvas->ApplyClipRegion(std::move(saved), RegionCopy);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas->DeviceContext(), probe), 0) << "restoring must remove the clip, not clip at 30000";
  DeleteObject(probe);
  canvas->Canvas->FillRect({-10, -10, 30, 20});
  EXPECT_EQ(Count(clBlack), 40 * 30);
}

TEST_F(cxCanvas, ClipSaveAndRestoreWithAWindowOrigin) {
  canvas->SetDCWindowOrigin({-3, -4});
  canvas->IntersectClip({2, 2, 20, 15});
  HDC dc = canvas->DeviceContext();
  HRGN before = CreateRectRgn(0, 0, 0, 0), after = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc, before), 1);
  auto saved = canvas->ReadClipRegion();
  EXPECT_EQ(saved->BoundsRect(), (TRect{2, 2, 20, 15}));
  TcxRegion keep(0, 0, 6, 6);
  canvas->ApplyClipRegion(keep, RegionDifference);
  EXPECT_EQ(keep.BoundsRect(), (TRect{0, 0, 6, 6})) << "a kept region is left as it was";
  canvas->Canvas->Brush()->SetColor(clBlack);
  canvas->Canvas->FillRect({0, 0, 40, 30});
  EXPECT_TRUE(Is(3 + 3, 4 + 3, clWhite)) << "logical (3, 3) was cut out";
  EXPECT_TRUE(Is(3 + 10, 4 + 10, clBlack));
  canvas->ApplyClipRegion(std::move(saved));
  ASSERT_EQ(GetClipRgn(dc, after), 1);
  EXPECT_TRUE(EqualRgn(before, after));
  DeleteObject(before);
  DeleteObject(after);
}

TEST_F(cxCanvas, TilesAnchorAtTheCanvasOrigin) {
  // Each pixel of the tile tells where in the tile it lies.
  TBitmap tile;
  tile.SetPixelFormat(pf32bit);
  tile.SetSize(16, 16);
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 16; ++x) tile.Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(x * 8, y * 8, 7)));
  canvas->FillRectOrTile({10, 10, 32, 32 - 3}, &tile);
  for (Integer y = 10; y < 29; ++y)
    for (Integer x = 10; x < 32; ++x)
      ASSERT_EQ(Px(x, y), static_cast<TColor>(RGB((x % 16) * 8, (y % 16) * 8, 7))) << x << "," << y;
  EXPECT_TRUE(Is(32, 12, clWhite));
  EXPECT_TRUE(Is(9, 12, clWhite));
  // Without a bitmap, or with an empty one, the brush fills.
  canvas->Canvas->Brush()->SetColor(clBlack);
  TBitmap empty;
  canvas->FillRectOrTile({0, 0, 2, 2}, &empty);
  canvas->FrameAndFill({2, 0, 4, 2}, {clRed, nullptr});
  EXPECT_EQ(Rows({0, 0, 5, 1}, {{clRed, 'r'}}), (std::vector<std::string>{"##rr."}));
}

TEST_F(cxCanvas, BordersFramesAndEdges) {
  Reset(8, 6);
  // A band never reaches past the opposite edge.
  canvas->FillBorders({0, 0, 8, 6}, clBlack, 10, {bLeft});
  EXPECT_EQ(Count(clBlack), 48);
  Reset(8, 6);
  canvas->FillBorders({1, 1, 7, 5}, clBlack, 1, {bTop, bRight});
  EXPECT_EQ(Rows({0, 0, 8, 6}), (std::vector<std::string>{
                                    "........",
                                    ".######.",
                                    "......#.",
                                    "......#.",
                                    "......#.",
                                    "........",
                                }));
  Reset(6, 5);
  // Later sides paint over the corners: right over top, bottom over left.
  canvas->DrawTwoColorFrame({0, 0, 6, 5}, clRed, clBlue, cxBordersAll, 1);
  EXPECT_EQ(Rows({0, 0, 6, 5}, {{clRed, 'r'}, {clBlue, 'b'}}), (std::vector<std::string>{
                                                                   "rrrrrb",
                                                                   "r....b",
                                                                   "r....b",
                                                                   "r....b",
                                                                   "bbbbbb",
                                                               }));
  struct Edge {
    bool sunken, outer;
    TColor lt, rb;
  } edges[] = {{false, true, cl3DLight, cl3DDkShadow},
               {false, false, clBtnHighlight, clBtnShadow},
               {true, true, clBtnShadow, clBtnHighlight},
               {true, false, cl3DDkShadow, cl3DLight}};
  for (const Edge& e : edges) {
    Reset(6, 5);
    canvas->Draw3DEdge({0, 0, 6, 5}, e.sunken, e.outer, cxBordersAll);
    EXPECT_TRUE(Is(0, 2, e.lt) && Is(2, 0, e.lt) && Is(5, 2, e.rb) && Is(2, 4, e.rb)) << e.sunken << e.outer;
  }
}

TEST_F(cxCanvas, AlignedTextPlacesItsInkInsideTheRect) {
  canvas->Canvas->Font()->SetColor(clBlack);
  canvas->Canvas->Brush()->SetStyle(bsClear);
  const std::string text = "Hg";
  const TSize size = canvas->MeasureText(text);
  ASSERT_GT(size.cx, 0);
  EXPECT_EQ(canvas->MeasureText(""), (TSize{0, 0}));
  // Single line, no prefix or ellipsis: drawn by ExtTextOut, placed by hand.
  const TRect r{2, 2, 38, 28};
  canvas->DrawAlignedText(text, r, TextRight | TextBottom | TextSingleLine, true);
  Integer minX = 99, maxX = -1, maxY = -1;
  for (Integer y = 0; y < 30; ++y)
    for (Integer x = 0; x < 40; ++x)
      if (Is(x, y, clBlack)) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
      }
  EXPECT_GE(minX, r.Right - size.cx);
  EXPECT_LT(maxX, r.Right);
  EXPECT_LT(maxY, r.Bottom);
  EXPECT_GE(maxY, r.Bottom - size.cy / 2);
}

TEST_F(cxCanvas, DisabledTextIsEmbossedAndKeepsAPixelForTheCopy) {
  canvas->Canvas->Brush()->SetColor(clBlue);
  canvas->Canvas->FillRect({0, 0, 40, 30});
  canvas->Canvas->Font()->SetColor(clRed);
  const std::string text = "Hg";
  const TSize size = canvas->MeasureText(text);
  const TRect r{0, 0, size.cx + 1, size.cy + 1};  // exactly the text plus the emboss pixel
  canvas->DrawAlignedText(text, r, TextRight | TextTop | TextSingleLine, false);
  // The shadow copy starts at the left edge; the light copy lies one pixel
  // right and down, so both fit.
  Integer shadowMax = -1, lightMax = -1, shadowMin = 99;
  for (Integer y = 0; y < 30; ++y)
    for (Integer x = 0; x < 40; ++x) {
      if (Is(x, y, clBtnShadow)) {
        shadowMax = std::max(shadowMax, x);
        shadowMin = std::min(shadowMin, x);
      }
      if (Is(x, y, clBtnHighlight)) lightMax = std::max(lightMax, x);
    }
  ASSERT_GE(shadowMax, 0);
  EXPECT_EQ(lightMax, shadowMax + 1);
  EXPECT_LT(lightMax, r.Right);
  EXPECT_EQ(Count(clRed), 0) << "disabled text never shows the font colour";
  EXPECT_EQ(canvas->Canvas->Font()->GetColor(), clRed) << "the font colour is restored";
  EXPECT_EQ(canvas->Canvas->Brush()->GetStyle(), bsSolid);
}

TEST_F(cxCanvas, TextThatDoesNotFitIsClipped) {
  canvas->Canvas->Font()->SetColor(clBlack);
  canvas->Canvas->Brush()->SetStyle(bsClear);
  const TRect r{0, 0, 6, 30};
  canvas->DrawAlignedText("WWWWWW", r, TextLeft | TextTop | TextSingleLine, true);
  for (Integer y = 0; y < 30; ++y)
    for (Integer x = 6; x < 40; ++x) ASSERT_FALSE(Is(x, y, clBlack)) << x;
  EXPECT_GT(Count(clBlack), 0);
}

TEST_F(cxCanvas, CalcTextRectAlignsTheMeasuredExtent) {
  const TSize size = canvas->MeasureText("Hi");
  TRect r{10, 5, 110, 45};
  canvas->CalcTextRect("Hi", r, TextHCenter | TextVCenter | TextSingleLine);
  EXPECT_EQ(r.Width(), size.cx);
  EXPECT_EQ(r.Left, 10 + (100 - size.cx) / 2);
  EXPECT_EQ(r.Top, 5 + (40 - size.cy) / 2);
  TRect b{0, 0, 50, 40};
  canvas->CalcTextRect("Hi", b, TextRight | TextBottom | TextSingleLine);
  EXPECT_EQ(b, (TRect{50 - size.cx, 40 - size.cy, 50, 40}));
}

TEST_F(cxCanvas, RotationsAndTheirRoundTrips) {
  auto picture = [] {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(3, 2);
    for (Integer y = 0; y < 2; ++y)
      for (Integer x = 0; x < 3; ++x) b->Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(x * 50, y * 50, 9)));
    return b;
  };
  auto at = [](TBitmap& b, Integer x, Integer y) {
    const uint32_t p = b.ScanLine(y)[x];
    return std::pair<int, int>((p >> 16) & 0xFF, (p >> 8) & 0xFF);  // (red, green) = source (x, y) * 50
  };
  struct Case {
    Integer mode;
    bool mirror;
    Integer w, h;
    // Where source pixel (2, 0) lands.
    Integer x, y;
  } cases[] = {
      {0, true, 3, 2, 2, 1},  {1, false, 2, 3, 0, 0}, {1, true, 2, 3, 0, 2},
      {2, false, 2, 3, 1, 2}, {2, true, 2, 3, 1, 0},  {3, false, 3, 2, 0, 1}, {3, true, 3, 2, 0, 0},
  };
  for (const Case& c : cases) {
    auto b = picture();
    canvas->RotateBitmap(b.get(), c.mode, c.mirror);
    ASSERT_EQ(b->Width(), c.w) << c.mode << c.mirror;
    ASSERT_EQ(b->Height(), c.h);
    EXPECT_EQ(at(*b, c.x, c.y), (std::pair<int, int>(100, 0))) << c.mode << c.mirror;
  }
  auto b = picture();
  canvas->RotateBitmap(b.get(), 1, false);
  canvas->RotateBitmap(b.get(), 2, false);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x) EXPECT_EQ(at(*b, x, y), (std::pair<int, int>(x * 50, y * 50)));
  canvas->RotateBitmap(b.get(), 0, false);  // nothing
  EXPECT_EQ(at(*b, 2, 1), (std::pair<int, int>(100, 50)));
}

TEST_F(cxCanvas, ScreenCanvasMeasuresAndComputedColoursFollowTheSystem) {
  TcxScreenCanvas screen;
  EXPECT_GT(screen.MeasureTextWidth("abc"), 0);
  EXPECT_EQ(screen.FontHeight(canvas->Font()), canvas->MeasureTextHeight("Qq"));

  const INT face = COLOR_BTNFACE;
  COLORREF white = RGB(255, 255, 255);
  SetSysColors(1, &face, &white);
  EXPECT_EQ(BlendSystemColors(14, 44, 40), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  ResetSysColors();
  // Face (212, 208, 200), highlight (10, 36, 106), window white in the
  // classic scheme: each channel is MulDiv sums, clamped.
  const COLORREF f = GetSysColor(COLOR_BTNFACE), l = GetSysColor(COLOR_HIGHLIGHT), w = GetSysColor(COLOR_WINDOW);
  auto ch = [](COLORREF c, int s) { return static_cast<Integer>((c >> s) & 0xFF); };
  const TColor hot = HotHighlightColor();
  for (int s : {0, 8, 16})
    EXPECT_EQ(ch(static_cast<COLORREF>(hot), s),
              std::clamp<Integer>(MulDiv(ch(f, s), -2, 100) + MulDiv(ch(l, s), 30, 100) + MulDiv(ch(w, s), 72, 100),
                                  0, 255));
  EXPECT_NE(PressedHighlightColor(), hot);
}
