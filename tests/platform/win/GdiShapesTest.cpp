#include "platform/win/GdiShapes.h"

#include <gtest/gtest.h>

#include "tests/platform/win/GdiFixture.h"
#include "platform/win/SysColors.h"

using namespace win;

using GdiLines = GdiCanvas;

TEST_F(GdiLines, EndPointIsNotDrawnInAnyDirection) {
  struct Case {
    int x0, y0, x1, y1;
  } cases[] = {{2, 5, 9, 5}, {9, 5, 2, 5}, {4, 1, 4, 12}, {4, 12, 4, 1}, {1, 1, 8, 8}, {8, 8, 1, 1},
               {1, 10, 11, 4}, {3, 2, 5, 14}};
  for (const Case& c : cases) {
    Reset(16, 16);
    MoveToEx(dc, c.x0, c.y0, nullptr);
    LineTo(dc, c.x1, c.y1);
    SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
    EXPECT_EQ(Pixel(c.x0, c.y0), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(c.x1, c.y1), RGB(255, 255, 255));
    EXPECT_EQ(CountColor(RGB(0, 0, 0)), std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0)));
    POINT pos;
    GetCurrentPositionEx(dc, &pos);
    EXPECT_EQ(pos, (POINT{c.x1, c.y1}));
  }
}

TEST_F(GdiLines, PenStylesDashAndFillGapsByBackgroundMode) {
  Reset(32, 2);
  HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  SelectObject(dc, dot);
  SetBkColor(dc, RGB(255, 0, 0));
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 12, 0);
  SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 12, 1);
  std::map<COLORREF, char> legend{{RGB(255, 0, 0), 'r'}};
  EXPECT_EQ(Rows(0, 0, 13, 2, legend), (std::vector<std::string>{"###rrr###rrr.", "###...###...."}));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(dot);

  Reset(32, 1);
  HPEN dash = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
  SelectObject(dc, dash);
  SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 30, 0);
  EXPECT_EQ(Rows(0, 0, 30, 1)[0], std::string(18, '#') + std::string(6, '.') + std::string(6, '#'));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(dash);

  // User styles, empty runs included; the dash carries on across segments.
  Reset(32, 1);
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
  const DWORD runs[] = {2, 0, 0, 1};
  HPEN user = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 4, runs);
  ASSERT_NE(user, nullptr);
  SelectObject(dc, user);
  SetBkMode(dc, TRANSPARENT);
  const POINT pts[] = {{0, 0}, {5, 0}, {12, 0}};
  Polyline(dc, pts, 3);
  EXPECT_EQ(Rows(0, 0, 13, 1)[0], "##.##.##.##..");
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(user);
  const DWORD zeros[] = {0, 0};
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 2, zeros), nullptr);
}

TEST_F(GdiLines, WidePensCoverTheirWidthAndFlatCapsStopAtTheEnds) {
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
  HPEN flat = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &lb, 0, nullptr);
  SelectObject(dc, flat);
  MoveToEx(dc, 2, 5, nullptr);
  LineTo(dc, 10, 5);
  EXPECT_EQ(Rows(0, 3, 12, 8), (std::vector<std::string>{"............", "..########..", "..########..",
                                                          "..########..", "............"}));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(flat);
}

TEST_F(GdiLines, PolyPolylineDrawsEachPartWithTheGeometricPen) {
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 2, &lb, 0, nullptr);
  SelectObject(dc, pen);
  const POINT pts[] = {{0, 2}, {6, 2}, {10, 0}, {10, 5}};
  const DWORD counts[] = {2, 2};
  ASSERT_TRUE(PolyPolyline(dc, pts, counts, 2));
  // Width 2 about y = 2 covers rows 1 and 2; flat caps end at the end points.
  EXPECT_EQ(Rows(0, 0, 12, 6), (std::vector<std::string>{".........##.", "######...##.", "######...##.",
                                                          ".........##.", ".........##.", "............"}));
  const DWORD bad[] = {2, 1};
  EXPECT_FALSE(PolyPolyline(dc, pts, bad, 2));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST_F(GdiLines, XorPenTwiceRestoresAndDcPenColourIsUsed) {
  RECT r{0, 0, 16, 16};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &r, blue);
  DeleteObject(blue);
  SetROP2(dc, R2_XORPEN);
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, RGB(255, 255, 0));
  const POINT pts[] = {{1, 1}, {14, 1}, {14, 14}, {1, 1}};
  Polyline(dc, pts, 4);
  EXPECT_EQ(Pixel(5, 1), RGB(255, 255, 255));
  Polyline(dc, pts, 4);
  EXPECT_EQ(CountColor(RGB(0, 0, 255)), 256);
  SetROP2(dc, R2_NOT);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 2, 0);
  EXPECT_EQ(Pixel(0, 0), RGB(255, 255, 0));
}

using GdiShapes = GdiCanvas;

TEST_F(GdiShapes, RectangleLeavesRightAndBottomOutside) {
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  SelectObject(dc, grey);
  Rectangle(dc, 1, 1, 6, 5);
  std::map<COLORREF, char> legend{{RGB(128, 128, 128), 'g'}};
  EXPECT_EQ(Rows(0, 0, 7, 6, legend),
            (std::vector<std::string>{".......", ".#####.", ".#ggg#.", ".#ggg#.", ".#####.", "......."}));
  // Without a pen the fill is one pixel smaller at the right and bottom.
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 8, 1, 12, 4);
  EXPECT_EQ(Rows(7, 0, 13, 5, legend), (std::vector<std::string>{"......", ".ggg..", ".ggg..", "......", "......"}));
  // An inside-frame pen stays inside the bounds.
  HPEN thick = CreatePen(PS_INSIDEFRAME, 2, RGB(0, 0, 0));
  SelectObject(dc, thick);
  Rectangle(dc, 1, 8, 7, 14);
  EXPECT_EQ(Rows(0, 7, 8, 15, legend), (std::vector<std::string>{"........", ".######.", ".######.", ".##gg##.",
                                                                  ".##gg##.", ".######.", ".######.", "........"}));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(thick);
  DeleteObject(grey);
}

TEST_F(GdiShapes, EllipseOfTwelveIsTheClassicCircle) {
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, 2, 2, 14, 14);
  EXPECT_EQ(Rows(2, 2, 14, 14), (std::vector<std::string>{
                                    "....####....", "..##....##..", ".#........#.", ".#........#.",
                                    "#..........#", "#..........#", "#..........#", "#..........#",
                                    ".#........#.", ".#........#.", "..##....##..", "....####...."}));
  EXPECT_EQ(Pixel(14, 8), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(8, 14), RGB(255, 255, 255));
  // A round rectangle whose corners are the whole box is the same ellipse.
  Reset(16, 16);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 2, 2, 14, 14, 12, 12);
  EXPECT_EQ(Rows(2, 2, 14, 3)[0], "....####....");
  EXPECT_EQ(Rows(2, 7, 14, 8)[0], "#..........#");
}

TEST_F(GdiShapes, RoundRectHasStraightSidesBetweenTheCorners) {
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 0, 0, 10, 8, 4, 4);
  EXPECT_EQ(Rows(0, 0, 10, 8), (std::vector<std::string>{".########.", "#........#", "#........#",
                                                          "#........#", "#........#", "#........#",
                                                          "#........#", ".########."}));
}

TEST_F(GdiShapes, PolygonFillModesAndEdgeRules) {
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  // A square: right and bottom edges stay outside.
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  Polygon(dc, square, 4);
  EXPECT_EQ(Rows(0, 0, 6, 5), (std::vector<std::string>{"......", ".####.", ".####.", ".####.", "......"}));
  // Two overlapping squares in one polygon: ALTERNATE leaves the overlap empty.
  Reset(16, 16);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  const POINT pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
  Polygon(dc, pts, 10);
  EXPECT_EQ(Pixel(3, 3), RGB(255, 255, 255));
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, pts, 10);
  EXPECT_EQ(Pixel(3, 3), RGB(0, 0, 0));
}

TEST_F(GdiShapes, HatchAndPatternBrushesFollowTheBrushOrigin) {
  HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT r{0, 0, 16, 1};
  FillRect(dc, &r, hatch);
  EXPECT_EQ(Rows(0, 0, 16, 1)[0], "#.......#.......");
  SetBrushOrgEx(dc, 3, 0, nullptr);
  RECT r2{0, 1, 16, 2};
  FillRect(dc, &r2, hatch);
  EXPECT_EQ(Rows(0, 1, 16, 2)[0], "...#.......#....");
  // Shapes leave the hatch gaps alone in transparent mode and fill them with
  // the background colour in opaque mode.
  SetBrushOrgEx(dc, 0, 0, nullptr);
  SelectObject(dc, hatch);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SetBkColor(dc, RGB(255, 0, 0));
  RECT blue{0, 4, 16, 6};
  HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &blue, b);
  Rectangle(dc, 0, 4, 11, 6);  // no pen: rows 4 only, columns 0..9
  SetBkMode(dc, OPAQUE);
  Rectangle(dc, 0, 5, 11, 7);
  std::map<COLORREF, char> legend{{RGB(255, 0, 0), 'r'}, {RGB(0, 0, 255), 'b'}};
  EXPECT_EQ(Rows(0, 4, 11, 6, legend), (std::vector<std::string>{"#bbbbbbb#bb", "#rrrrrrr#rb"}));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(hatch);
  DeleteObject(b);

  // A monochrome pattern brush takes the text and background colours.
  const uint8_t bits[] = {0x80, 0, 0x40, 0};  // 2 x 2: white at (0,0) and (1,1)
  HBITMAP mono = CreateBitmap(2, 2, 1, 1, bits);
  HBRUSH pattern = CreatePatternBrush(mono);
  DeleteObject(mono);  // the brush keeps its own copy
  SetTextColor(dc, RGB(0, 0, 255));
  SetBkColor(dc, RGB(255, 255, 255));
  SetBrushOrgEx(dc, 1, 0, nullptr);
  RECT p{0, 8, 4, 10};
  FillRect(dc, &p, pattern);
  EXPECT_EQ(Rows(0, 8, 4, 10, legend), (std::vector<std::string>{"b.b.", ".b.b"}));
  DeleteObject(pattern);
}

TEST_F(GdiShapes, FillFrameAndInvertRect) {
  RECT r{2, 2, 6, 5};
  FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(Pixel(2, 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(Pixel(6, 5), RGB(255, 255, 255));
  RECT f{8, 2, 12, 6};
  FrameRect(dc, &f, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(Rows(8, 2, 12, 6), (std::vector<std::string>{"####", "#..#", "#..#", "####"}));
  InvertRect(dc, &f);
  EXPECT_EQ(Rows(8, 2, 12, 6), (std::vector<std::string>{"....", ".##.", ".##.", "...."}));
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 16, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(dc, -1, 0, 0), CLR_INVALID);
}

TEST_F(GdiShapes, OriginsMoveLogicalCoordinates) {
  SetViewportOrgEx(dc, 4, 2, nullptr);
  SetWindowOrgEx(dc, 1, 1, nullptr);
  SetPixel(dc, 0, 0, RGB(0, 0, 0));
  EXPECT_EQ(Pixel(3, 1), RGB(0, 0, 0));
  OffsetViewportOrgEx(dc, 1, 1, nullptr);
  RECT r{0, 0, 2, 1};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(Rows(3, 2, 7, 3)[0], ".##.");
  POINT p{0, 0};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p, (POINT{4, 2}));
  DPtoLP(dc, &p, 1);
  EXPECT_EQ(p, (POINT{0, 0}));
}

TEST_F(GdiShapes, PathsBecomeRegions) {
  SetWindowOrgEx(dc, 1, 0, nullptr);
  ASSERT_TRUE(BeginPath(dc));
  MoveToEx(dc, 1, 1, nullptr);
  LineTo(dc, 9, 1);
  LineTo(dc, 9, 5);
  LineTo(dc, 1, 5);
  EndPath(dc);
  EXPECT_EQ(CountColor(RGB(0, 0, 0)), 0) << "a path bracket draws nothing";
  HRGN rgn = PathToRegion(dc);
  ASSERT_NE(rgn, nullptr);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 1, 8, 5})) << "device coordinates";
  EXPECT_EQ(PathToRegion(dc), nullptr) << "the path is used up";
  DeleteObject(rgn);

  // A curve in a path gives the region of exactly the pixels it covers.
  SetWindowOrgEx(dc, 0, 0, nullptr);
  BeginPath(dc);
  Ellipse(dc, 2, 2, 14, 14);
  EndPath(dc);
  rgn = PathToRegion(dc);
  HRGN same = CreateEllipticRgn(2, 2, 14, 14);
  EXPECT_TRUE(EqualRgn(rgn, same));
  DeleteObject(rgn);
  DeleteObject(same);

  // An open polyline is closed by the region, as the same polygon would
  // be; a lone segment after it encloses nothing.
  const POINT outline[5] = {{1, 12}, {1, 4}, {5, 1}, {12, 1}, {12, 12}};
  BeginPath(dc);
  Polyline(dc, outline, 5);
  MoveToEx(dc, 12, 12, nullptr);
  LineTo(dc, 13, 13);
  EndPath(dc);
  rgn = PathToRegion(dc);
  same = CreatePolygonRgn(outline, 5, WINDING);
  EXPECT_TRUE(EqualRgn(rgn, same));
  EXPECT_FALSE(PtInRegion(rgn, 1, 1)) << "the cut corner";
  DeleteObject(rgn);
  DeleteObject(same);
}

TEST_F(GdiShapes, HugeCoordinatesCostNoMoreThanTheSurface) {
  // Each of these would walk billions of pixels or rows if drawn whole.
  MoveToEx(dc, -2000000000, 5, nullptr);
  LineTo(dc, 2000000000, 5);
  EXPECT_EQ(Rows(0, 5, 16, 6)[0], std::string(16, '#'));
  HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  SelectObject(dc, dot);
  MoveToEx(dc, 7, -500000001, nullptr);
  LineTo(dc, 7, 500000000);
  // The dots keep their place as if the whole line had been walked: row 0 is
  // pixel 500000001 of the line, 3 into the 6-pixel period, a gap.
  EXPECT_EQ(Rows(7, 0, 8, 6), (std::vector<std::string>{".", ".", ".", "#", "#", "#"}));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(dot);
  Ellipse(dc, -1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(Pixel(10, 10), RGB(255, 255, 255)) << "the brush inside";
  const POINT tall[] = {{0, -2000000000}, {8, -2000000000}, {8, 2000000000}, {0, 2000000000}};
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(NULL_PEN));
  Polygon(dc, tall, 4);
  EXPECT_EQ(Pixel(3, 12), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(8, 12), RGB(255, 255, 255));
  EXPECT_EQ(CreateBitmap(1 << 16, 1 << 16, 1, 32, nullptr), nullptr);
}
