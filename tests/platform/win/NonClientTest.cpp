#include "platform/win/NonClient.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/win/UserFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/win/Display.h"
#include "platform/win/MenuWindows.h"
#include "tests/support/Pictures.h"

namespace usertest {
namespace {

using Lines = std::vector<std::string>;

class NonClientTest : public UserTest {};

LRESULT HitAt(HWND w, int x, int y) {
  RECT r;
  GetWindowRect(w, &r);
  return SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(r.left + x), static_cast<WORD>(r.top + y)));
}

TEST_F(NonClientTest, HitTestingFindsEveryPartOfACaptionedSizableWindow) {
  // 300 x 200: sizing frame 4, caption 19, client edge 2, both scroll bars 16.
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                WS_EX_CLIENTEDGE);
  struct Case {
    int x, y;
    LRESULT hit;
  } cases[] = {
      {-1, 50, HTNOWHERE},     {0, 100, HTLEFT},          {299, 100, HTRIGHT},       {150, 0, HTTOP},
      {150, 199, HTBOTTOM},    {0, 0, HTTOPLEFT},         {299, 0, HTTOPRIGHT},      {0, 199, HTBOTTOMLEFT},
      {299, 199, HTBOTTOMRIGHT}, {15, 2, HTTOPLEFT},      {2, 15, HTTOPLEFT},        {30, 2, HTTOP},
      {8, 12, HTSYSMENU},      {100, 12, HTCAPTION},      {100, 22, HTCAPTION},      {285, 12, HTCLOSE},
      {260, 12, HTMAXBUTTON},  {245, 12, HTMINBUTTON},    {280, 100, HTVSCROLL},     {100, 185, HTHSCROLL},
      {280, 185, HTGROWBOX},   {5, 100, HTBORDER},        {100, 100, HTCLIENT},      {7, 30, HTCLIENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(HitAt(w, c.x, c.y), c.hit);
  }
}

TEST_F(NonClientTest, FramesWithoutSizingAndToolWindowsAnswerTheirOwnParts) {
  HWND dialog = Make("D", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 200, 120, nullptr,
                     WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
  EXPECT_EQ(HitAt(dialog, 0, 50), HTBORDER);
  EXPECT_EQ(HitAt(dialog, 0, 0), HTBORDER);
  EXPECT_EQ(HitAt(dialog, 8, 12), HTCAPTION);  // no system menu box in a modal frame
  EXPECT_EQ(HitAt(dialog, 170, 10), HTHELP);
  EXPECT_EQ(HitAt(dialog, 190, 10), HTCLOSE);

  HWND tool = Make("T", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 400, 100, 150, 100, nullptr,
                   WS_EX_TOOLWINDOW);
  RECT client;
  GetClientRect(tool, &client);
  EXPECT_EQ(client.bottom, 100 - 3 - 3 - GetSystemMetrics(SM_CYSMCAPTION));
  EXPECT_EQ(HitAt(tool, 140, 8), HTCLOSE);
  EXPECT_EQ(HitAt(tool, 120, 8), HTCAPTION);

  HWND bare = Make("B", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 300, 100, 100);
  EXPECT_EQ(HitAt(bare, 0, 50), HTBORDER);
  EXPECT_EQ(HitAt(bare, 1, 50), HTCLIENT);
}

TEST_F(NonClientTest, AdjustWindowRectMatchesTheClientRectangleOfTheFrame) {
  struct Case {
    DWORD style, exStyle;
  } cases[] = {
      {WS_OVERLAPPEDWINDOW, 0},
      {WS_OVERLAPPEDWINDOW | WS_VSCROLL, WS_EX_CLIENTEDGE},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
      {WS_POPUP | WS_BORDER | WS_HSCROLL, WS_EX_STATICEDGE},
      {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    RECT want{50, 60, 250, 160};
    RECT r = want;
    ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle));
    HWND w = Make("W", c.style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, c.exStyle);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(origin, (POINT{want.left, want.top}));
    EXPECT_EQ(client.right, want.right - want.left);
    EXPECT_EQ(client.bottom, want.bottom - want.top);
    DestroyWindow(w);
  }
}

TEST_F(NonClientTest, CaptionButtonsGiveSystemCommandsWhenReleasedOverThem) {
  Reg().only = {WM_SYSCOMMAND, WM_CLOSE};
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  RECT r;
  GetWindowRect(w, &r);
  POINT max{r.left + 260, r.top + 12}, close{r.left + 285, r.top + 12};
  // Pressed on one button and released on another: nothing.
  InjectMouseButton(VK_LBUTTON, true, max);
  InjectMouseButton(VK_LBUTTON, false, close);
  Pump();
  EXPECT_TRUE(Taken().empty());
  clock_.Advance(1000);  // no double click
  InjectClick(max);
  Pump();
  EXPECT_EQ(Taken(), Lines{"W WM_SYSCOMMAND 61488"});  // SC_MAXIMIZE
  EXPECT_TRUE(IsZoomed(w));
  GetWindowRect(w, &r);
  clock_.Advance(1000);
  InjectClick({r.left + 100, r.top + 12});
  clock_.Advance(100);
  InjectClick({r.left + 100, r.top + 12});  // a double click on the caption restores
  Pump();
  EXPECT_EQ(Taken(), Lines{"W WM_SYSCOMMAND 61728"});  // SC_RESTORE
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  InjectClick({r.right - 15, r.top + 12});
  Pump();
  EXPECT_EQ(Taken(), (Lines{"W WM_SYSCOMMAND 61536", "W WM_CLOSE"}));  // SC_CLOSE
  EXPECT_FALSE(IsWindow(w));

  HWND keyboard = Make("K", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  InjectKeyPress(VK_F4, false, false, true);
  Pump();
  EXPECT_EQ(Taken(), (Lines{"K WM_SYSCOMMAND 61536", "K WM_CLOSE"}));
  EXPECT_FALSE(IsWindow(keyboard));
}

// The system menu drops from the caption's icon (a press on it) or comes
// with Alt+Space; it offers what the window's state allows, and its choice
// is a system command. Chosen from it, Move and Size go by the arrow keys.
TEST_F(NonClientTest, SystemMenuFromTheIconOrAltSpaceAndKeyboardMoveAndSize) {
  Reg().only = {WM_SYSCOMMAND};
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HMENU sys = GetSystemMenu(w, FALSE);
  ASSERT_NE(sys, nullptr);
  EXPECT_EQ(GetSystemMenu(w, FALSE), sys);
  char text[32];
  GetMenuString(sys, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Close\tAlt+F4");

  // Alt+Space, then Down five times: Restore, Move, Size, Minimize, Maximize.
  InjectKeyPress(VK_SPACE, false, false, true);
  for (int i = 0; i < 5; ++i) InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Taken(), (Lines{"W WM_SYSCOMMAND 61696", "W WM_SYSCOMMAND 61488"}));  // SC_KEYMENU, SC_MAXIMIZE
  EXPECT_TRUE(IsZoomed(w));
  // The menu offers what the state allows when it opens.
  struct Want {
    UINT Id;
    bool Grayed;
  };
  auto states = [&](std::initializer_list<Want> wants) {
    for (const Want& want : wants)
      EXPECT_EQ((GetMenuState(sys, want.Id, MF_BYCOMMAND) & MF_GRAYED) != 0, want.Grayed) << want.Id;
  };

  // A press on the icon opens it too; Down Enter restores.
  RECT r;
  GetWindowRect(w, &r);
  clock_.Advance(1000);
  InjectMouseButton(VK_LBUTTON, true, POINT{r.left + 10, r.top + 10});
  InjectMouseButton(VK_LBUTTON, false, POINT{r.left + 10, r.top + 10});
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Taken(), Lines{"W WM_SYSCOMMAND 61728"});  // SC_RESTORE
  EXPECT_FALSE(IsZoomed(w));
  states({{SC_RESTORE, false}, {SC_MOVE, true}, {SC_SIZE, true}, {SC_MINIMIZE, false}, {SC_MAXIMIZE, true}});
  InjectKeyPress(VK_SPACE, false, false, true);
  InjectKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Taken(), Lines{"W WM_SYSCOMMAND 61696"});  // nothing chosen
  states({{SC_RESTORE, true}, {SC_MOVE, false}, {SC_SIZE, false}, {SC_MAXIMIZE, false}});

  // Move: right twice and down once, eight pixels a press; Size: the bottom
  // right corner in by one press; Esc puts a move back.
  GetWindowRect(w, &r);
  for (UINT vk : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN}) InjectKeyPress(vk);
  SendMessage(w, WM_SYSCOMMAND, SC_MOVE, 0);
  RECT moved;
  GetWindowRect(w, &moved);
  EXPECT_EQ(moved, (RECT{r.left + 16, r.top + 8, r.right + 16, r.bottom + 8}));
  for (UINT vk : {VK_LEFT, VK_UP, VK_RETURN}) InjectKeyPress(vk);
  SendMessage(w, WM_SYSCOMMAND, SC_SIZE, 0);
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{moved.left, moved.top, moved.right - 8, moved.bottom - 8}));
  for (UINT vk : {VK_LEFT, VK_ESCAPE}) InjectKeyPress(vk);
  SendMessage(w, WM_SYSCOMMAND, SC_MOVE, 0);
  GetWindowRect(w, &moved);
  EXPECT_EQ(moved, r);
  Taken();

  // A child window with a caption closes by Ctrl+F4 and has Next.
  HWND child = Make("C", WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 120, 80, w);
  HMENU childMenu = GetSystemMenu(child, FALSE);
  GetMenuString(childMenu, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Close\tCtrl+F4");
  GetMenuString(childMenu, SC_NEXTWINDOW, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Nex&t\tCtrl+F6");
  DestroyWindow(w);
  EXPECT_FALSE(IsMenu(sys));  // goes with its window
  EXPECT_FALSE(IsMenu(childMenu));
}

// The caption's icon: the window's small icon shrunk to the icon box, or a
// plain window picture when it has none.
TEST_F(NonClientTest, CaptionIconIsTheWindowsIconOrAPlainWindow) {
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  int frame = GetSystemMetrics(SM_CXFRAME);
  int box = GetSystemMetrics(SM_CXSIZE), size = GetSystemMetrics(SM_CXSMICON);
  int cy = GetSystemMetrics(SM_CYCAPTION) - 1;
  // The middle of the icon box: the plain picture's window is white inside.
  int x = r.left + frame + box / 2, y = r.top + frame + cy / 2 + 1;
  EXPECT_EQ(ScreenPixel(x, y), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(SendMessage(w, WM_GETICON, ICON_SMALL, 0), 0);

  std::vector<uint32_t> red(32 * 32, 0xFFFF0000u);
  std::vector<BYTE> clear(32 * 4, 0);
  ICONINFO info;
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(32, 32, 1, 32, red.data());
  info.hbmMask = CreateBitmap(32, 32, 1, 1, clear.data());
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(SendMessage(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(w, WM_GETICON, ICON_SMALL, 0)), icon);
  EXPECT_EQ(ScreenPixel(x, y), RGB(255, 0, 0));
  // Shrunk to the small icon size: the caption colour round it.
  int left = r.left + frame + (box - size) / 2;
  EXPECT_EQ(ScreenPixel(left, y), RGB(255, 0, 0));
  EXPECT_NE(ScreenPixel(left - 1, y), RGB(255, 0, 0));
  EXPECT_NE(ScreenPixel(left + size, y), RGB(255, 0, 0));
  DestroyWindow(w);
  DestroyIcon(icon);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(NonClientTest, NestedCaptionedWindowsAreDrawnByTheFrameCode) {
  HWND main = Make("Main", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 30, 400, 300);
  SetWindowText(main, "Radio");
  HWND inner = Make("Inner", WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | WS_CLIPSIBLINGS, 20,
                    20, 200, 150, main, WS_EX_CLIENTEDGE);
  SetWindowText(inner, "Channels");
  HWND nested = Make("Nested", WS_CHILD | WS_CAPTION | WS_VISIBLE, 10, 10, 120, 80, inner, WS_EX_TOOLWINDOW);
  SetWindowText(nested, "Tones");
  Pump();
  ASSERT_EQ(GetActiveWindow(), main);

  RECT m;
  GetWindowRect(main, &m);
  // The active caption runs from its colour to the gradient partner.
  EXPECT_EQ(ScreenPixel(m.left + 4, m.top + 6), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(ScreenPixel(m.left + 4, m.top + 4 + 18), GetSysColor(COLOR_3DFACE));  // the line under it
  // Children's frames show inactive.
  RECT i;
  GetWindowRect(inner, &i);
  EXPECT_EQ(ScreenPixel(i.left + 4, i.top + 6), GetSysColor(COLOR_INACTIVECAPTION));
  RECT n;
  GetWindowRect(nested, &n);
  EXPECT_EQ(ScreenPixel(n.left + 3, n.top + 5), GetSysColor(COLOR_INACTIVECAPTION));
  // The raised outer edge of the sizing frame and the close button's face.
  EXPECT_EQ(ScreenPixel(m.left + 1, m.top + 100), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(ScreenPixel(m.right - 1, m.top + 100), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(ScreenPixel(m.right - 4 - 2 - 14, m.top + 4 + 3), GetSysColor(COLOR_3DFACE));
  // The caption text is drawn somewhere after the left edge.
  int sw = 0, sh = 0;
  std::vector<uint32_t> screen = ComposeScreen(&sw, &sh);
  COLORREF white = GetSysColor(COLOR_CAPTIONTEXT);
  uint32_t want = (GetRValue(white) << 16) | (GetGValue(white) << 8) | GetBValue(white);
  bool text = false;
  for (int x = m.left + 8; x < m.left + 80; ++x)
    for (int y = m.top + 6; y < m.top + 20; ++y) text = text || screen[static_cast<size_t>(y) * sw + x] == want;
  EXPECT_TRUE(text);

  // Deactivating repaints the frame in inactive colours.
  SetActiveWindow(nullptr);
  EXPECT_EQ(ScreenPixel(m.left + 4, m.top + 6), GetSysColor(COLOR_INACTIVECAPTION));
  SetActiveWindow(main);

  std::string path = PicturePath("nested-captions.png");
  ASSERT_TRUE(SaveScreenToPng(path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

// A client edge is the style's field frame with the style on, the sunken
// 3-D edge without it.
TEST_F(NonClientTest, ClientEdgesFollowTheVisualStyle) {
  VisualStylesScope styles(true);
  HWND w = Make("w", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, nullptr, WS_EX_CLIENTEDGE);
  UpdateWindow(w);
  ScopedTheme edit(u"Edit");
  COLORREF border = 0, fill = 0;
  GetThemeColor(edit.get(), EP_EDITTEXT, ETS_NORMAL, TMT_BORDERCOLOR, &border);
  GetThemeColor(edit.get(), EP_EDITTEXT, ETS_NORMAL, TMT_FILLCOLOR, &fill);
  EXPECT_EQ(ScreenPixel(10, 30), border);
  EXPECT_EQ(ScreenPixel(11, 30), fill);
  EXPECT_EQ(ScreenPixel(69, 30), border);
  SetVisualStylesEnabled(false);
  UpdateWindow(w);
  EXPECT_EQ(ScreenPixel(10, 30), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(ScreenPixel(11, 30), GetSysColor(COLOR_3DDKSHADOW));
}

}  // namespace
}  // namespace usertest
