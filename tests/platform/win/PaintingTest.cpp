#include "platform/win/Painting.h"

#include <gtest/gtest.h>

#include "tests/platform/win/UserFixture.h"
#include "platform/win/GdiBlit.h"

namespace usertest {
namespace {

using Lines = std::vector<std::string>;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class PaintingTest : public UserTest {};

TEST_F(PaintingTest, InvalidationsMergeIntoOnePaintThatValidates) {
  HWND w = Make("W", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  Pump();
  RECT box;
  EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));

  RECT a{10, 10, 30, 20}, b{50, 40, 70, 60};
  InvalidateRect(w, &a, TRUE);
  InvalidateRect(w, &b, FALSE);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(rgn, 15, 15));
  EXPECT_FALSE(PtInRegion(rgn, 40, 30));
  ASSERT_TRUE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(box, (RECT{10, 10, 70, 60}));

  // Validating a part takes it out.
  ValidateRect(w, &b);
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), SIMPLEREGION);
  InvalidateRect(w, &b, FALSE);

  std::vector<RECT> painted;
  std::vector<BOOL> erase;
  Reg().handlers[{"W", WM_PAINT}] = [&](HWND h, WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    painted.push_back(ps.rcPaint);
    erase.push_back(ps.fErase);
    EndPaint(h, &ps);
    return LRESULT{0};
  };
  Reg().only = {WM_PAINT, WM_ERASEBKGND};
  Taken();
  Pump();
  EXPECT_EQ(Taken(), (Lines{"W WM_PAINT", "W WM_ERASEBKGND"}));
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0], (RECT{10, 10, 70, 60}));
  EXPECT_EQ(erase[0], FALSE);  // the class brush erased it
  EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));
  DeleteObject(rgn);
}

TEST_F(PaintingTest, HiddenWindowsCollectNothingAndShowingPaintsEverything) {
  HWND w = Make("W", WS_POPUP, 100, 100, 200, 100);
  InvalidateRect(w, nullptr, TRUE);
  RECT box;
  EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));
  ShowWindow(w, SW_SHOWNA);
  ASSERT_TRUE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(box, (RECT{0, 0, 200, 100}));
}

TEST_F(PaintingTest, ChildrenAreClippedUnderClipChildrenAndInvalidatedWithoutIt) {
  for (bool clip : {true, false}) {
    SCOPED_TRACE(clip ? "WS_CLIPCHILDREN" : "no WS_CLIPCHILDREN");
    HWND parent = Make("P", WS_POPUP | WS_VISIBLE | (clip ? WS_CLIPCHILDREN : 0), 100, 100, 200, 100);
    HWND child = Make("C", WS_CHILD | WS_VISIBLE, 20, 20, 40, 30, parent);
    Reg().paintColours["P"] = kRed;
    Reg().paintColours["C"] = kBlue;
    Pump();
    EXPECT_EQ(ScreenPixel(130, 130), kBlue);
    EXPECT_EQ(ScreenPixel(110, 110), kRed);

    Reg().only = {WM_PAINT};
    Taken();
    InvalidateRect(parent, nullptr, FALSE);
    Reg().paintColours["C"] = RGB(0, 255, 0);
    Pump();
    if (clip) {
      // The parent's fill did not reach the child, and the child was left alone.
      EXPECT_EQ(Taken(), Lines{"P WM_PAINT"});
      EXPECT_EQ(ScreenPixel(130, 130), kBlue);
    } else {
      // The parent paints first, then the child over it.
      EXPECT_EQ(Taken(), (Lines{"P WM_PAINT", "C WM_PAINT"}));
      EXPECT_EQ(ScreenPixel(130, 130), RGB(0, 255, 0));
    }
    // Invalidating only the child never repaints the parent.
    InvalidateRect(child, nullptr, FALSE);
    Pump();
    EXPECT_EQ(Taken(), Lines{"C WM_PAINT"});
    DestroyWindow(parent);
    Pump();
    Reg().paintColours.clear();
  }
}

TEST_F(PaintingTest, SiblingsAboveAndWindowRegionsClipTheDC) {
  HWND parent = Make("P", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  HWND below = Make("B", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 100, 60, parent);
  HWND above = Make("A", WS_CHILD | WS_VISIBLE, 50, 20, 100, 60, parent);
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Reg().paintColours["A"] = kRed;
  Pump();
  HDC dc = GetDC(below);
  EXPECT_EQ(WindowFromDC(dc), below);
  RECT all{0, 0, 100, 60};
  HBRUSH blue = CreateSolidBrush(kBlue);
  FillRect(dc, &all, blue);
  ReleaseDC(below, dc);
  EXPECT_EQ(ScreenPixel(115, 115), kBlue);
  EXPECT_EQ(ScreenPixel(155, 125), kRed);  // where the sibling above lies

  // A window region limits painting to its shape.
  SetWindowRgn(above, CreateRectRgn(0, 0, 10, 10), FALSE);
  dc = GetDC(above);
  RECT full{0, 0, 100, 60};
  FillRect(dc, &full, blue);
  ReleaseDC(above, dc);
  EXPECT_EQ(ScreenPixel(155, 125), kBlue);
  EXPECT_EQ(ScreenPixel(175, 145), kRed);
  DeleteObject(blue);
  EXPECT_EQ(WindowFromDC(dc), nullptr);
}

TEST_F(PaintingTest, UpdateWindowAndRedrawWindowPaintAtOnce) {
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  Pump();
  Reg().only = {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND};
  Taken();
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(Taken(), (Lines{"W WM_PAINT", "W WM_ERASEBKGND"}));
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(Taken(), (Lines{"W WM_PAINT", "W WM_NCPAINT"}));
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
  EXPECT_EQ(Taken(), Lines{"W WM_ERASEBKGND"});
  RECT box;
  EXPECT_TRUE(GetUpdateRect(w, &box, FALSE));  // painting itself still to come
  RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE);
  Pump();
  EXPECT_TRUE(Taken().empty());
}

TEST_F(PaintingTest, ScrollWindowExMovesPixelsAndReportsWhatWasUncovered) {
  HWND w = Make("W", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  Pump();
  // Ten bands of ten rows, each a different grey.
  HDC dc = GetDC(w);
  for (int band = 0; band < 10; ++band) {
    HBRUSH b = CreateSolidBrush(RGB(band * 20, band * 20, band * 20));
    RECT r{0, band * 10, 100, band * 10 + 10};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  ReleaseDC(w, dc);
  RECT pending{0, 50, 100, 60};
  InvalidateRect(w, &pending, FALSE);

  HRGN update = CreateRectRgn(0, 0, 0, 0);
  RECT updateRect;
  int kind = ScrollWindowEx(w, 0, -20, nullptr, nullptr, update, &updateRect, SW_INVALIDATE);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_EQ(updateRect, (RECT{0, 80, 100, 100}));
  // Band 3 (rows 30..39) now lies at rows 10..19.
  EXPECT_EQ(ScreenPixel(150, 115), RGB(60, 60, 60));
  EXPECT_EQ(ScreenPixel(150, 100 + 79), RGB(180, 180, 180));
  // The pending region moved with the content, the uncovered rows joined it.
  HRGN now = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(w, now, FALSE);
  EXPECT_TRUE(PtInRegion(now, 50, 35));
  EXPECT_FALSE(PtInRegion(now, 50, 55));
  EXPECT_TRUE(PtInRegion(now, 50, 90));

  // A clip rectangle limits both the move and what is uncovered.
  RECT clip{0, 0, 50, 100};
  ScrollWindowEx(w, 10, 0, nullptr, &clip, nullptr, &updateRect, 0);
  EXPECT_EQ(updateRect, (RECT{0, 0, 10, 100}));
  DeleteObject(update);
  DeleteObject(now);
}

TEST_F(PaintingTest, ScrollChildrenMovesThemAndRepaintsWhatTheCopyLeftOut) {
  HWND w = Make("W", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 200);
  HWND c = Make("C", WS_CHILD | WS_VISIBLE, 10, 50, 20, 20, w);
  Reg().paintColours["W"] = kRed;
  Reg().paintColours["C"] = kBlue;
  Pump();
  ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
  Pump();
  RECT r;
  GetWindowRect(c, &r);
  EXPECT_EQ(r.top, 100 + 20);
  EXPECT_EQ(ScreenPixel(115, 125), kBlue);  // the child at its new place
  EXPECT_EQ(ScreenPixel(115, 165), kRed);   // its old place belongs to the parent again
}

TEST_F(PaintingTest, ScreenDcDrawsOnTheOverlayAndXorTwiceRestores) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 800);
  const uint32_t* pixels = ScreenOverlayPixels();
  uint32_t before = pixels[10 * 800 + 10];
  PatBlt(screen, 5, 5, 20, 20, DSTINVERT);
  EXPECT_EQ(ScreenOverlayPixels()[10 * 800 + 10], before ^ 0xFFFFFF);
  PatBlt(screen, 5, 5, 20, 20, DSTINVERT);
  EXPECT_EQ(ScreenOverlayPixels()[10 * 800 + 10], before);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

TEST_F(PaintingTest, PrintSendsTheFrameBackgroundAndClient) {
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  Pump();
  Reg().only = {WM_NCPAINT, WM_ERASEBKGND};
  Taken();
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(200, 150, 1, 32, nullptr);
  SelectObject(mem, bmp);
  SendMessage(w, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
  EXPECT_EQ(Taken(), (Lines{"W WM_NCPAINT", "W WM_ERASEBKGND"}));
  DeleteDC(mem);
  DeleteObject(bmp);
}

}  // namespace
}  // namespace usertest
