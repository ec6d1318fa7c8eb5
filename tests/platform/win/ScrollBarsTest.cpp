#include "platform/win/ScrollBars.h"

#include "tests/platform/win/UserFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace usertest {
namespace {

using ScrollBarsTest = UserTest;

TEST_F(ScrollBarsTest, InfoClampsShowsAndHides) {
  HWND w = Make("w", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150);
  RECT client;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 95;
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 90);  // the page leaves 90 as the last position
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));

  SCROLLINFO got;
  got.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &got));
  EXPECT_EQ(got.nMax, 99);
  EXPECT_EQ(got.nPage, 10u);
  EXPECT_EQ(got.nPos, 90);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, -5, TRUE), 90);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);

  SCROLLBARINFO bi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bi));
  EXPECT_EQ(bi.rcScrollBar.right, 200);
  EXPECT_EQ(bi.rcScrollBar.bottom - bi.rcScrollBar.top, 150);
  EXPECT_EQ(bi.xyThumbTop, bi.dxyLineButton);
  SetScrollPos(w, SB_VERT, 90, TRUE);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bi));
  EXPECT_EQ(bi.xyThumbBottom, 150 - bi.dxyLineButton);  // at the end the thumb meets the lower arrow
  // A tenth of the shaft, but never below the system's smallest thumb.
  EXPECT_EQ(bi.xyThumbBottom - bi.xyThumbTop,
            std::max((150 - 2 * bi.dxyLineButton) / 10, GetSystemMetrics(SM_CYVTHUMB)));

  // Nothing to scroll: hidden, or disabled when asked to stay.
  si.fMask = SIF_PAGE;
  si.nPage = 100;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  si.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
  FlatSB_SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bi));
  EXPECT_TRUE(bi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);

  ASSERT_TRUE(FlatSB_SetScrollRange(w, SB_HORZ, 0, 500, TRUE));
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_HSCROLL);
  int lo = -1, hi = -1;
  EXPECT_TRUE(FlatSB_GetScrollRange(w, SB_HORZ, &lo, &hi));
  EXPECT_EQ(hi, 500);
  EXPECT_TRUE(EnableScrollBar(w, SB_HORZ, ESB_DISABLE_LEFT));
  EXPECT_FALSE(EnableScrollBar(w, SB_HORZ, ESB_DISABLE_LEFT));  // no change
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_HSCROLL, &bi));
  EXPECT_TRUE(bi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_FALSE(bi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  ShowScrollBar(w, SB_BOTH, FALSE);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_FALSE(GetScrollInfo(w, SB_CTL, &got));
  EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x5555), SB_VERT, &got));
}

TEST_F(ScrollBarsTest, MouseOnTheBarSendsCodes) {
  VisualStylesScope classic(false);
  HWND w = Make("w", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150);
  std::vector<std::pair<WORD, WORD>> codes;
  Reg().handlers[{"w", WM_VSCROLL}] = [&](HWND h, WPARAM wp, LPARAM) {
    codes.emplace_back(LOWORD(wp), HIWORD(wp));
    if (LOWORD(wp) == SB_THUMBPOSITION) SetScrollPos(h, SB_VERT, HIWORD(wp), TRUE);
    return LRESULT{0};
  };
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 99;
  si.nPage = 10;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  UpdateWindow(w);
  SCROLLBARINFO bi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bi));
  const int x = bi.rcScrollBar.left + 8;
  EXPECT_EQ(ScreenPixel(x, bi.xyThumbTop + 5), GetSysColor(COLOR_3DFACE));

  InjectClick(POINT{x, 150 - 3});
  Pump();
  InjectClick(POINT{x, 100});
  Pump();
  InjectClick(POINT{x, 3});
  Pump();
  using Codes = std::vector<std::pair<WORD, WORD>>;
  EXPECT_EQ(codes, (Codes{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0},
                          {SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));

  codes.clear();
  const int grabY = (bi.xyThumbTop + bi.xyThumbBottom) / 2;
  const int travel = 150 - 2 * bi.dxyLineButton - (bi.xyThumbBottom - bi.xyThumbTop);
  InjectDrag(POINT{x, grabY}, POINT{x, grabY + travel / 2}, 2);
  Pump();
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front().first, SB_THUMBTRACK);
  EXPECT_EQ(codes[codes.size() - 2].first, SB_THUMBPOSITION);
  EXPECT_NEAR(codes[codes.size() - 2].second, 45, 1);  // half way through 0..90
  EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
  EXPECT_NEAR(GetScrollPos(w, SB_VERT), 45, 1);
  EXPECT_EQ(GetCapture(), nullptr);

  // Held on an arrow, the code repeats until the button comes up.
  codes.clear();
  Reg().handlers[{"w", WM_VSCROLL}] = [&](HWND, WPARAM wp, LPARAM) {
    codes.emplace_back(LOWORD(wp), 0);
    if (LOWORD(wp) == SB_LINEDOWN) clock_.Advance(1000);
    if (codes.size() == 3) InjectMouseButton(VK_LBUTTON, false, POINT{x, 150 - 3});
    return LRESULT{0};
  };
  InjectMouseButton(VK_LBUTTON, true, POINT{x, 150 - 3});
  Pump();
  using Codes = std::vector<std::pair<WORD, WORD>>;
  EXPECT_EQ(codes, (Codes{{SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarsTest, ControlTellsItsParent) {
  ASSERT_NE(RegisterScrollBarClass(), 0);
  HWND form = Make("form", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
  HWND bar = CreateWindowEx(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 10, 200, 17, form, nullptr,
                            nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  std::vector<std::pair<WORD, WORD>> codes;
  Reg().handlers[{"form", WM_HSCROLL}] = [&](HWND, WPARAM wp, LPARAM lp) {
    EXPECT_EQ(reinterpret_cast<HWND>(lp), bar);
    codes.emplace_back(LOWORD(wp), HIWORD(wp));
    return LRESULT{0};
  };
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 100;
  si.nPage = 0;
  si.nPos = 0;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  UpdateWindow(bar);
  SCROLLBARINFO bi;
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &bi));
  EXPECT_EQ(bi.rcScrollBar.right - bi.rcScrollBar.left, 200);
  InjectClick(ScreenOf(bar, 195, 8));
  Pump();
  InjectClick(ScreenOf(bar, 150, 8));
  Pump();
  using Codes = std::vector<std::pair<WORD, WORD>>;
  EXPECT_EQ(codes, (Codes{{SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}, {SB_PAGERIGHT, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_TRUE(IsWindowVisible(bar));
  ShowScrollBar(bar, SB_CTL, FALSE);
  EXPECT_FALSE(IsWindowVisible(bar));
}

// With the visual style the frame draws the style's arrows, tracks and
// thumb: the screen shows what the parts draw by themselves.
TEST_F(ScrollBarsTest, WithTheStyleTheBarIsDrawnWithItsParts) {
  VisualStylesScope styles(true);
  HWND w = Make("w", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 99;
  si.nPage = 40;
  si.nPos = 30;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  UpdateWindow(w);
  SCROLLBARINFO bi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bi));
  const RECT bar = bi.rcScrollBar;
  const int width = bar.right - bar.left, height = bar.bottom - bar.top;
  // The same parts drawn into a bitmap of the bar's size.
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  ScopedTheme theme(u"ScrollBar");
  RECT up{0, 0, width, bi.dxyLineButton}, thumb{0, bi.xyThumbTop, width, bi.xyThumbBottom};
  RECT track{0, bi.dxyLineButton, width, bi.xyThumbTop};
  DrawThemeBackground(theme.get(), mem, SBP_ARROWBTN, ABS_UPNORMAL, &up, nullptr);
  DrawThemeBackground(theme.get(), mem, SBP_THUMBBTNVERT, SCRBS_NORMAL, &thumb, nullptr);
  DrawThemeBackground(theme.get(), mem, SBP_LOWERTRACKVERT, SCRBS_NORMAL, &track, nullptr);
  for (POINT p : {POINT{width / 2, bi.dxyLineButton / 2}, POINT{width / 2 + 1, bi.dxyLineButton / 2 - 2},
                  POINT{width / 2, bi.xyThumbTop + 2}, POINT{width / 2, bi.dxyLineButton + 3}})
    EXPECT_EQ(ScreenPixel(bar.left + p.x, bar.top + p.y), GetPixel(mem, p.x, p.y)) << p.x << "," << p.y;
  EXPECT_NE(GetPixel(mem, width / 2, bi.xyThumbTop + 2), GetPixel(mem, width / 2, bi.dxyLineButton + 3));

  // Without the style the same bar has the classic raised thumb.
  SetVisualStylesEnabled(false);
  UpdateWindow(w);
  EXPECT_EQ(ScreenPixel(bar.left + width / 2, bar.top + bi.xyThumbTop + 2), GetSysColor(COLOR_3DFACE));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

}  // namespace
}  // namespace usertest
