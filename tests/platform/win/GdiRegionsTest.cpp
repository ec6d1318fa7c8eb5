#include "platform/win/GdiRegions.h"

#include <gtest/gtest.h>

#include "tests/platform/win/GdiFixture.h"

using namespace win;

TEST(GdiRegions, CombineModesAndTheirComplexity) {
  struct Case {
    int mode;
    int result;
    RECT box;
    POINT in, out;
  } cases[] = {
      {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, {7, 7}, {2, 2}},
      {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, {12, 12}, {12, 2}},
      {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, {2, 2}, {7, 7}},
      {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, {12, 12}, {7, 7}},
      {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {9, 9}, {10, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.result);
    RECT box;
    GetRgnBox(d, &box);
    EXPECT_EQ(box, c.box);
    EXPECT_TRUE(PtInRegion(d, c.in.x, c.in.y));
    EXPECT_FALSE(PtInRegion(d, c.out.x, c.out.y));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
  }
  HRGN a = CreateRectRgn(0, 0, 4, 4);
  HRGN b = CreateRectRgn(10, 10, 14, 14);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), NULLREGION) << "the destination may be an operand";
  EXPECT_EQ(CombineRgn(a, a, nullptr, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(a, a, b, 99), ERROR);
  DeleteObject(a);
  DeleteObject(b);
}

TEST(GdiRegions, QueriesOffsetsAndShapes) {
  HRGN r = CreateRectRgn(6, 4, 2, 1);  // corners in any order
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{2, 1, 6, 4}));
  EXPECT_EQ(OffsetRgn(r, -2, -1), SIMPLEREGION);
  HRGN same = CreateRectRgn(0, 0, 4, 3);
  EXPECT_TRUE(EqualRgn(r, same));
  RECT inside{3, 2, 10, 10}, outside{4, 0, 9, 9}, empty{1, 1, 1, 1};
  EXPECT_TRUE(RectInRegion(r, &inside));
  EXPECT_FALSE(RectInRegion(r, &outside));
  EXPECT_FALSE(RectInRegion(r, &empty));
  EXPECT_FALSE(PtInRegion(r, 4, 0)) << "right edge excluded";
  EXPECT_FALSE(PtInRegion(r, 0, 3)) << "bottom edge excluded";
  DeleteObject(r);
  DeleteObject(same);

  const POINT tri[] = {{0, 0}, {8, 0}, {0, 8}};
  HRGN t = CreatePolygonRgn(tri, 3, WINDING);
  EXPECT_TRUE(PtInRegion(t, 0, 0));
  EXPECT_TRUE(PtInRegion(t, 6, 1));
  EXPECT_FALSE(PtInRegion(t, 7, 1));
  EXPECT_FALSE(PtInRegion(t, 8, 0));
  DeleteObject(t);
  HRGN e = CreateEllipticRgn(0, 0, 12, 12);
  EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 12, 12}));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  EXPECT_TRUE(PtInRegion(e, 4, 0));
  DeleteObject(e);
}

using GdiClip = GdiCanvas;

TEST_F(GdiClip, DrawingStaysInsideTheClip) {
  IntersectClipRect(dc, 2, 2, 8, 8);
  ExcludeClipRect(dc, 4, 4, 6, 6);
  RECT all{0, 0, 16, 16};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CountColor(RGB(0, 0, 0)), 36 - 4);
  EXPECT_EQ(Pixel(4, 4), RGB(255, 255, 255));
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{2, 2, 8, 8}));
  EXPECT_TRUE(PtVisible(dc, 2, 2));
  EXPECT_FALSE(PtVisible(dc, 5, 5));
  RECT hole{4, 4, 6, 6}, edge{7, 7, 9, 9};
  EXPECT_FALSE(RectVisible(dc, &hole));
  EXPECT_TRUE(RectVisible(dc, &edge));
}

TEST_F(GdiClip, NoClipStaysDistinctFromAnyRectangle) {
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, probe), 0);
  HRGN big = CreateRectRgn(0, 0, 30000, 30000);
  SelectClipRgn(dc, big);
  EXPECT_EQ(GetClipRgn(dc, probe), 1);
  EXPECT_TRUE(EqualRgn(probe, big));
  int saved = SaveDC(dc);
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(GetClipRgn(dc, probe), 0);
  SaveDC(dc);
  IntersectClipRect(dc, 1, 1, 2, 2);
  RestoreDC(dc, -1);
  EXPECT_EQ(GetClipRgn(dc, probe), 0) << "no clip restored as no clip";
  RestoreDC(dc, saved);
  EXPECT_EQ(GetClipRgn(dc, probe), 1);
  EXPECT_TRUE(EqualRgn(probe, big));
  // The selected region is copied: changing it later changes nothing.
  OffsetRgn(big, 5, 5);
  GetClipRgn(dc, probe);
  EXPECT_FALSE(EqualRgn(probe, big));
  DeleteObject(probe);
  DeleteObject(big);
}

TEST_F(GdiClip, ClipRegionsLiveInDeviceCoordinates) {
  SetWindowOrgEx(dc, 3, 0, nullptr);
  IntersectClipRect(dc, 3, 0, 5, 2);  // logical: device (0, 0, 2, 2)
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc, probe), 1);
  RECT box;
  GetRgnBox(probe, &box);
  EXPECT_EQ(box, (RECT{0, 0, 2, 2}));
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{3, 0, 5, 2})) << "the clip box is logical";

  // Save the clip in logical terms, narrow it, and put it back exactly, the
  // way the control canvas does with a non-zero window origin.
  POINT vp, wo;
  GetViewportOrgEx(dc, &vp);
  GetWindowOrgEx(dc, &wo);
  int dx = vp.x - wo.x, dy = vp.y - wo.y;
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  GetClipRgn(dc, saved);
  OffsetRgn(saved, -dx, -dy);
  HRGN narrow = CreateRectRgn(4, 0, 5, 1);
  HRGN work = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(work, saved, narrow, RGN_AND);
  OffsetRgn(work, dx, dy);
  SelectClipRgn(dc, work);
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{4, 0, 5, 1}));
  OffsetRgn(saved, dx, dy);
  SelectClipRgn(dc, saved);
  GetClipRgn(dc, probe);
  GetRgnBox(probe, &box);
  EXPECT_EQ(box, (RECT{0, 0, 2, 2}));
  for (HRGN h : {probe, saved, narrow, work}) DeleteObject(h);
}

TEST_F(GdiClip, ExtSelectClipRgnCombinesWithTheWholeSurfaceWhenThereIsNoClip) {
  HRGN hole = CreateRectRgn(0, 0, 8, 16);
  EXPECT_EQ(ExtSelectClipRgn(dc, hole, RGN_DIFF), SIMPLEREGION);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{8, 0, 16, 16}));
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR);
  HRGN two = CreateRectRgn(0, 0, 2, 2);
  HRGN far = CreateRectRgn(5, 5, 6, 6);
  CombineRgn(two, two, far, RGN_OR);
  EXPECT_EQ(SelectObject(dc, two), reinterpret_cast<HGDIOBJ>(COMPLEXREGION)) << "a region becomes the clip";
  DeleteObject(two);
  DeleteObject(far);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_COPY), SIMPLEREGION);
  DeleteObject(hole);
}

TEST_F(GdiClip, FillAndFrameRegions) {
  HRGN r = CreateRectRgn(1, 1, 7, 6);
  HRGN other = CreateRectRgn(4, 3, 10, 9);
  CombineRgn(r, r, other, RGN_OR);
  FrameRgn(dc, r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
  EXPECT_EQ(Rows(0, 0, 11, 10), (std::vector<std::string>{"...........", ".######....", ".#....#....",
                                                           ".#....####.", ".#.......#.", ".####....#.",
                                                           "....#....#.", "....#....#.", "....######.",
                                                           "..........."}));
  FillRgn(dc, other, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
  EXPECT_EQ(Pixel(6, 6), RGB(0, 0, 0));
  DeleteObject(r);
  DeleteObject(other);
}
