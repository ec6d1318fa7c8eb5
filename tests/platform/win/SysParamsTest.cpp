#include "platform/win/SysParams.h"

#include <gtest/gtest.h>

#include "tests/platform/win/UserFixture.h"

namespace usertest {
namespace {

using Lines = std::vector<std::string>;

class SysParamsTest : public UserTest {};

TEST_F(SysParamsTest, MetricsFollowTheNonClientSettings) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYSIZE), 18);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(12345), 0);

  NONCLIENTMETRICS m;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_STREQ(m.lfCaptionFont.lfFaceName, "Tahoma");
  EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
  m.iCaptionHeight = 24;
  m.iScrollWidth = 20;
  m.iScrollHeight = 21;
  ASSERT_TRUE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 25);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 20);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 21);
  EXPECT_EQ(GetThemeSysSize(nullptr, SM_CXVSCROLL), 20);
  // Frames, old and new, follow.
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 10, 10, 200, 200);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(origin, (POINT{10 + 4, 10 + 4 + 25}));
  EXPECT_EQ(client.right, 200 - 8 - 20);
  m.iCaptionHeight = 30;
  ASSERT_TRUE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof m, &m, 0));
  origin = POINT{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.y, 10 + 4 + 31);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(100, 10 + 4 + 28)), HTCAPTION);

  // A wrong structure size is refused rather than read past.
  m.cbSize = 8;
  EXPECT_FALSE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, 8, &m, 0));
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 8, &m, 0));
  EXPECT_FALSE(SystemParametersInfo(0x7777, 0, &m, 0));
}

TEST_F(SysParamsTest, WorkAreaAndTheMonitor) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, (RECT{0, 0, 800, 600}));
  RECT taskbar{0, 0, 800, 570};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETWORKAREA, 0, &taskbar, 0));

  HMONITOR m = MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTONEAREST);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONULL), m);
  MONITORINFO info;
  ASSERT_TRUE(GetMonitorInfo(m, &info));
  EXPECT_EQ(info.rcMonitor, (RECT{0, 0, 800, 600}));
  EXPECT_EQ(info.rcWork, taskbar);
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
  EXPECT_FALSE(GetMonitorInfo(reinterpret_cast<HMONITOR>(99), &info));
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 570 - 19);
}

TEST_F(SysParamsTest, ChangesAreBroadcastToEveryTopLevelWindow) {
  Reg().only = {WM_SETTINGCHANGE, WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_TIMECHANGE, WM_FONTCHANGE};
  HWND a = Make("A", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
  Make("B", WS_POPUP, 300, 10, 100, 100);  // hidden windows hear it too
  Make("C", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, a);
  Taken();

  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  m.iCaptionHeight = 22;
  SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof m, &m, 0);
  EXPECT_TRUE(Taken().empty());  // not without SPIF_SENDCHANGE
  SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof m, &m, SPIF_SENDCHANGE | SPIF_UPDATEINIFILE);
  EXPECT_EQ(Taken(), (Lines{"B WM_SETTINGCHANGE 42", "A WM_SETTINGCHANGE 42"}));

  INT index = COLOR_WINDOW;
  COLORREF colour = RGB(1, 2, 3);
  SetSysColors(1, &index, &colour);
  EXPECT_EQ(Taken(), (Lines{"B WM_SYSCOLORCHANGE", "A WM_SYSCOLORCHANGE"}));

  NotifyThemeChanged();
  EXPECT_EQ(Taken(), (Lines{"B WM_THEMECHANGED", "A WM_THEMECHANGED", "C WM_THEMECHANGED"}));
  NotifyTimeChange();
  NotifyFontChange();
  EXPECT_EQ(Taken(), (Lines{"B WM_TIMECHANGE", "A WM_TIMECHANGE", "B WM_FONTCHANGE", "A WM_FONTCHANGE"}));
}

TEST_F(SysParamsTest, ColourChangesRepaintInTheNewColours) {
  HWND w = Make("W", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  Pump();
  EXPECT_EQ(ScreenPixel(150, 150), GetSysColor(COLOR_WINDOW));
  INT index = COLOR_WINDOW;
  COLORREF colour = RGB(10, 200, 30);
  SetSysColors(1, &index, &colour);
  Pump();
  EXPECT_EQ(ScreenPixel(150, 150), colour);
  (void)w;
}

TEST_F(SysParamsTest, DoubleClickSettingsAndBeeps) {
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  SystemParametersInfo(SPI_SETDOUBLECLICKTIME, 300, nullptr, 0);
  EXPECT_EQ(GetDoubleClickTime(), 300u);
  SetDoubleClickTime(0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  UINT lines = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  BOOL flat = TRUE;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETFLATMENU, 0, &flat, 0));
  EXPECT_FALSE(flat);
  EXPECT_FALSE(SystemParametersInfo(SPI_GETFLATMENU, 0, nullptr, 0));

  int before = BeepCount();
  MessageBeep(MB_ICONQUESTION);
  EXPECT_EQ(BeepCount(), before + 1);
  EXPECT_EQ(LastBeepType(), MB_ICONQUESTION);
}

}  // namespace
}  // namespace usertest
