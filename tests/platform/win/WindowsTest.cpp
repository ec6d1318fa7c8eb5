#include "platform/win/Windows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/win/WinFixture.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/SysColors.h"

using namespace win;
using wintest::WinTest;
using Lines = std::vector<std::string>;

namespace {

class Windows : public WinTest {};

TEST_F(Windows, CreationAndDestructionMessagesComeInWindowsOrder) {
  HWND top = Make("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 0, 7);
  HWND gk = Make("gk", WS_CHILD, 0, 0, 10, 10, kid);
  HWND own = Make("own", WS_POPUP, 0, 0, 10, 10, kid);  // owned by kid's top-level window
  ASSERT_TRUE(top && kid && gk && own);
  EXPECT_EQ(GetWindow(own, GW_OWNER), top);
  EXPECT_EQ(Taken(), (Lines{"top WM_GETMINMAXINFO", "top WM_NCCREATE", "top WM_NCCALCSIZE", "top WM_CREATE",
                            "top WM_SIZE", "top WM_MOVE", "top WM_SHOWWINDOW", "top WM_WINDOWPOSCHANGING",
                            "top WM_WINDOWPOSCHANGED",
                            "kid WM_NCCREATE", "kid WM_NCCALCSIZE", "kid WM_CREATE", "kid WM_SIZE", "kid WM_MOVE",
                            "kid WM_SHOWWINDOW", "kid WM_WINDOWPOSCHANGING", "kid WM_WINDOWPOSCHANGED",
                            "top WM_PARENTNOTIFY",
                            "gk WM_NCCREATE", "gk WM_NCCALCSIZE", "gk WM_CREATE", "gk WM_SIZE", "gk WM_MOVE",
                            "kid WM_PARENTNOTIFY", "top WM_PARENTNOTIFY",
                            "own WM_NCCREATE", "own WM_NCCALCSIZE", "own WM_CREATE", "own WM_SIZE", "own WM_MOVE"}));

  ASSERT_TRUE(DestroyWindow(top));
  EXPECT_EQ(Taken(), (Lines{"top WM_WINDOWPOSCHANGING", "top WM_WINDOWPOSCHANGED", "own WM_DESTROY",
                            "own WM_NCDESTROY", "top WM_DESTROY", "kid WM_DESTROY", "gk WM_DESTROY",
                            "gk WM_NCDESTROY", "kid WM_NCDESTROY", "top WM_NCDESTROY"}));
  for (HWND h : {top, kid, gk, own}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(Windows, DestroyingAChildTellsTheParentFirst) {
  HWND top = Make("top", WS_POPUP, 0, 0, 100, 100);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  Taken();
  DestroyWindow(kid);
  EXPECT_EQ(Taken(), (Lines{"top WM_PARENTNOTIFY", "kid WM_WINDOWPOSCHANGING", "kid WM_WINDOWPOSCHANGED",
                            "kid WM_DESTROY", "kid WM_NCDESTROY"}));
  EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(Windows, RefusedCreationLeavesNoWindow) {
  wintest::Answers()[{"no", WM_NCCREATE}] = FALSE;
  wintest::Answers()[{"bad", WM_CREATE}] = -1;
  EXPECT_EQ(Make("no", WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(Taken(), (Lines{"no WM_NCCREATE", "no WM_NCDESTROY"}));
  EXPECT_EQ(Make("bad", WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(Taken(), (Lines{"bad WM_NCCREATE", "bad WM_NCCALCSIZE", "bad WM_CREATE", "bad WM_DESTROY",
                            "bad WM_NCDESTROY"}));
  EXPECT_EQ(FindWindow(wintest::kClass, nullptr), nullptr);
  // A child needs a parent; an unknown class makes nothing.
  EXPECT_EQ(Make("orphan", WS_CHILD, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(Windows, ClientAreaFollowsTheFrameStyles) {
  struct Case {
    DWORD style, exStyle;
    LONG width, height;
  } cases[] = {
      {WS_POPUP, 0, 100, 100},
      {WS_POPUP | WS_BORDER, 0, 98, 98},
      {WS_POPUP | WS_CAPTION, 0, 94, 75},
      {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 94, 79},
      {WS_POPUP | WS_THICKFRAME, 0, 104, 92},  // widened to the minimum tracking width, 112
      {WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 84, 84},
      {WS_POPUP, WS_EX_CLIENTEDGE, 96, 96},
      {WS_POPUP, WS_EX_DLGMODALFRAME, 94, 94},
      {WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, 94, 94},
  };
  for (const Case& c : cases) {
    HWND h = Make("w", c.style, 0, 0, 100, 100, nullptr, c.exStyle);
    RECT r;
    GetClientRect(h, &r);
    EXPECT_EQ(r, (RECT{0, 0, c.width, c.height})) << std::hex << c.style << " " << c.exStyle;
    DestroyWindow(h);
  }
}

TEST_F(Windows, CoordinatesMapBetweenWindowsAndScreen) {
  HWND top = Make("top", WS_OVERLAPPEDWINDOW, 100, 50, 300, 200);
  HWND kid = Make("kid", WS_CHILD | WS_BORDER, 10, 20, 50, 40, top, WS_EX_CLIENTEDGE);
  HWND sib = Make("sib", WS_CHILD, 100, 100, 20, 20, top);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{100, 50, 400, 250}));
  GetClientRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 292, 173}));
  GetWindowRect(kid, &r);
  EXPECT_EQ(r, (RECT{114, 93, 164, 133}));  // client origin of top is (104, 73)
  POINT p{0, 0};
  ClientToScreen(kid, &p);
  EXPECT_EQ(p, (POINT{117, 96}));
  ScreenToClient(kid, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  POINT pts[2] = {{0, 0}, {5, 5}};
  int packed = MapWindowPoints(kid, sib, pts, 2);
  EXPECT_EQ(pts[0], (POINT{-87, -77}));
  EXPECT_EQ(pts[1], (POINT{-82, -72}));
  EXPECT_EQ(static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(packed))), -87);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(packed))), -77);
  POINT q{1, 2};
  MapWindowPoints(nullptr, top, &q, 1);
  EXPECT_EQ(q, (POINT{-103, -71}));

  // Moving the parent moves the children on the screen, not in the parent.
  Taken();
  MoveWindow(top, 0, 0, 300, 200, TRUE);
  EXPECT_EQ(Taken(), (Lines{"top WM_WINDOWPOSCHANGING", "top WM_WINDOWPOSCHANGED", "top WM_MOVE"}));
  GetWindowRect(kid, &r);
  EXPECT_EQ(r, (RECT{14, 43, 64, 83}));
  SetWindowPos(kid, nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Taken(), (Lines{"kid WM_WINDOWPOSCHANGING", "kid WM_NCCALCSIZE", "kid WM_WINDOWPOSCHANGED",
                            "kid WM_SIZE"}));
  GetClientRect(kid, &r);
  EXPECT_EQ(r, (RECT{0, 0, 54, 54}));
}

TEST_F(Windows, SizingRespectsTheTrackingLimits) {
  HWND top = Make("top", WS_OVERLAPPEDWINDOW, 0, 0, 20, 10);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 112, 27}));
  MoveWindow(top, 0, 0, 50, 50, FALSE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 112, 50}));
  // Popups without a sizing frame take any size.
  HWND pop = Make("pop", WS_POPUP, 0, 0, 5, 5);
  GetWindowRect(pop, &r);
  EXPECT_EQ(r, (RECT{0, 0, 5, 5}));
}

TEST_F(Windows, ZOrderKeepsTopmostWindowsAbove) {
  HWND a = Make("a", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND b = Make("b", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND c = Make("c", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  auto order = [] {
    std::string s;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) s += wintest::Names()[h];
    return s;
  };
  EXPECT_EQ(order(), "cba");
  SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(order(), "acb");
  EXPECT_TRUE(GetWindowLongPtr(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND d = Make("d", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  EXPECT_EQ(order(), "adcb");
  BringWindowToTop(b);
  EXPECT_EQ(order(), "abdc");
  HWND e = Make("e", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
  EXPECT_EQ(order(), "eabdc");
  SetWindowPos(e, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // cannot leave its band
  EXPECT_EQ(order(), "aebdc");
  SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(order(), "eabdc");
  SetWindowPos(e, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(order(), "abdce");
  EXPECT_FALSE(GetWindowLongPtr(e, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Owned windows come up with their owner.
  HWND o = Make("o", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, e);
  EXPECT_EQ(order(), "oabdce");
  BringWindowToTop(e);
  EXPECT_EQ(order(), "oeabdc");
  (void)c;
  (void)d;
  (void)o;
}

TEST_F(Windows, ChildrenStackInCreationOrder) {
  HWND top = Make("top", WS_POPUP, 0, 0, 100, 100);
  HWND c1 = Make("1", WS_CHILD, 0, 0, 10, 10, top);
  HWND c2 = Make("2", WS_CHILD, 0, 0, 10, 10, top);
  HWND c3 = Make("3", WS_CHILD, 0, 0, 10, 10, top);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
  EXPECT_EQ(GetWindow(c1, GW_HWNDLAST), c3);
  SetWindowPos(c3, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c3);
  SetWindowPos(c3, c1, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c3);
  EXPECT_EQ(GetWindow(c3, GW_HWNDPREV), c1);
  // A window that is not a sibling cannot be the anchor.
  EXPECT_FALSE(SetWindowPos(c3, top, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  (void)c2;
}

TEST_F(Windows, TreeQueriesAndReparenting) {
  HWND top = Make("top", WS_POPUP, 0, 0, 100, 100);
  HWND other = Make("other", WS_OVERLAPPED, 0, 0, 200, 100);
  HWND kid = Make("kid", WS_CHILD, 0, 0, 10, 10, top);
  HWND gk = Make("gk", WS_CHILD, 0, 0, 5, 5, kid);
  HWND pop = Make("pop", WS_POPUP, 0, 0, 10, 10, gk);
  HWND ovl = Make("ovl", WS_OVERLAPPED, 0, 0, 200, 100, top);
  EXPECT_EQ(GetParent(kid), top);
  EXPECT_EQ(GetParent(pop), top);  // a popup's owner, the root of the window given
  EXPECT_EQ(GetParent(ovl), nullptr);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetAncestor(gk, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(pop, GA_ROOTOWNER), top);
  EXPECT_TRUE(IsChild(top, gk));
  EXPECT_FALSE(IsChild(top, pop));

  std::vector<HWND> seen;
  EnumChildWindows(
      top, [](HWND h, LPARAM l) { reinterpret_cast<std::vector<HWND>*>(l)->push_back(h); return TRUE; },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{kid, gk}));

  EXPECT_EQ(SetParent(kid, other), top);
  EXPECT_EQ(GetParent(kid), other);
  EXPECT_TRUE(IsChild(other, gk));
  EXPECT_EQ(SetParent(other, gk), nullptr);  // no cycles
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Windows, VisibilityAndEnabling) {
  HWND top = Make("top", WS_POPUP, 0, 0, 100, 100);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  EXPECT_FALSE(IsWindowVisible(kid));  // its parent is hidden
  Taken();
  EXPECT_FALSE(ShowWindow(top, SW_SHOWNOACTIVATE));
  EXPECT_EQ(Taken(), (Lines{"top WM_SHOWWINDOW", "top WM_WINDOWPOSCHANGING", "top WM_WINDOWPOSCHANGED"}));
  EXPECT_TRUE(IsWindowVisible(kid));
  EXPECT_TRUE(ShowWindow(top, SW_SHOW));
  EXPECT_EQ(Taken(), (Lines{"top WM_WINDOWPOSCHANGING", "top WM_WINDOWPOSCHANGED"}));
  EXPECT_TRUE(ShowWindow(kid, SW_HIDE));
  EXPECT_FALSE(ShowWindow(kid, SW_HIDE));
  EXPECT_EQ(Taken(), (Lines{"kid WM_SHOWWINDOW", "kid WM_WINDOWPOSCHANGING", "kid WM_WINDOWPOSCHANGED"}));

  EXPECT_FALSE(EnableWindow(kid, FALSE));
  EXPECT_EQ(Taken(), (Lines{"kid WM_CANCELMODE", "kid WM_ENABLE"}));
  EXPECT_FALSE(IsWindowEnabled(kid));
  EXPECT_TRUE(EnableWindow(kid, FALSE));
  EXPECT_TRUE(EnableWindow(kid, TRUE));
  EXPECT_EQ(Taken(), (Lines{"kid WM_ENABLE"}));

  // WM_SETREDRAW takes the visible bit away and gives it back, as Windows does.
  SendMessage(top, WM_SETREDRAW, FALSE, 0);
  EXPECT_FALSE(GetWindowLongPtr(top, GWL_STYLE) & WS_VISIBLE);
  SendMessage(top, WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(IsWindowVisible(top));
}

TEST_F(Windows, MaximizeAndRestoreKeepTheNormalPlacement) {
  HWND top = Make("top", WS_OVERLAPPEDWINDOW, 30, 40, 200, 100);
  Taken();
  ShowWindow(top, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(top));
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{-4, -4, 804, 604}));  // the sizing frame lies off the screen
  Lines log = Taken();
  EXPECT_EQ(log.back(), "top WM_SIZE");
  ShowWindow(top, SW_RESTORE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{30, 40, 230, 140}));
  EXPECT_FALSE(IsZoomed(top));
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(top));
  GetClientRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 0, 0}));
  ShowWindow(top, SW_RESTORE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{30, 40, 230, 140}));
}

WNDPROC previousInner = nullptr;
WNDPROC previousOuter = nullptr;

LRESULT Inner(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    wintest::Log().push_back("inner");
    return 10 + CallWindowProc(previousInner, hwnd, msg, wParam, lParam);
  }
  return CallWindowProc(previousInner, hwnd, msg, wParam, lParam);
}

LRESULT Outer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    wintest::Log().push_back("outer");
    return 100 + CallWindowProc(previousOuter, hwnd, msg, wParam, lParam);
  }
  return CallWindowProc(previousOuter, hwnd, msg, wParam, lParam);
}

TEST_F(Windows, SubclassingChainsWindowProcedures) {
  wintest::Answers()[{"w", WM_USER}] = 1;
  HWND w = Make("w", WS_POPUP, 0, 0, 10, 10);
  previousInner = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Inner)));
  EXPECT_EQ(previousInner, wintest::LoggingProc);
  previousOuter = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Outer)));
  EXPECT_EQ(previousOuter, Inner);
  Taken();
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 111);
  EXPECT_EQ(Taken(), (Lines{"outer", "inner", "w WM_USER+0"}));
  // Taking the outer one out restores the chain below it.
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousOuter));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 11);
  // The class keeps its own procedure.
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetClassLongPtr(w, GCLP_WNDPROC)), wintest::LoggingProc);
}

TEST_F(Windows, WindowLongsAndExtraBytes) {
  HWND w = Make("w", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
  EXPECT_EQ(SetWindowLongPtr(w, GWLP_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
  EXPECT_EQ(SetWindowLongPtr(w, 8, 0x5555), 0);
  EXPECT_EQ(GetWindowLongPtr(w, 8), 0x5555);
  EXPECT_EQ(SetWindowLong(w, 0, 7), 0);
  EXPECT_EQ(GetWindowLong(w, 0), 7);
  EXPECT_EQ(GetWindowLongPtr(w, 9), 0);  // 9 + 8 bytes passes the 16 extra bytes
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  Taken();
  SetWindowLongPtr(w, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(Taken(), (Lines{"w WM_STYLECHANGING", "w WM_STYLECHANGED"}));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE)), WS_POPUP | WS_BORDER);
  // Only SetWindowPos moves a window into the topmost band.
  SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_EXSTYLE)), WS_EX_TOOLWINDOW);
}

TEST_F(Windows, TextAndFindWindow) {
  HWND w = Make("w", WS_POPUP, 0, 0, 10, 10);
  HWND kid = Make("kid", WS_CHILD, 0, 0, 10, 10, w);
  SetWindowText(w, "Frequenz \xC3\xBC"
                   "ber");  // "Frequenz über"
  EXPECT_EQ(GetWindowText(w), "Frequenz \xC3\xBC"
                              "ber");
  EXPECT_EQ(GetWindowTextLength(w), 14);
  char small[11];
  // Ten bytes would split the two-byte character: it is left out whole.
  EXPECT_EQ(GetWindowText(w, small, 11), 9);
  EXPECT_STREQ(small, "Frequenz ");
  EXPECT_EQ(FindWindow(wintest::kClass, "FREQUENZ \xC3\xBC"
                                        "ber"),
            w);
  EXPECT_EQ(FindWindow("vxntestwindow", nullptr), w);
  EXPECT_EQ(FindWindow(nullptr, "nothing"), nullptr);
  SetWindowText(kid, "child");
  EXPECT_EQ(FindWindow(nullptr, "child"), nullptr);  // top-level windows only
  EXPECT_EQ(FindWindowEx(w, nullptr, nullptr, "child"), kid);
  EXPECT_EQ(GetClassName(kid), wintest::kClass);
}

TEST_F(Windows, CloseDestroysByDefault) {
  HWND w = Make("w", WS_POPUP, 0, 0, 10, 10);
  SendMessage(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  wintest::Answers()[{"keep", WM_CLOSE}] = 0;
  HWND keep = Make("keep", WS_POPUP, 0, 0, 10, 10);
  SendMessage(keep, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(keep));
}

TEST_F(Windows, RegionsClipHitTesting) {
  HWND back = Make("back", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND front = Make("front", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, front);
  HWND off = Make("off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 60, 60, 20, 20, front);
  EXPECT_EQ(WindowFromPoint({59, 59}), front);
  EXPECT_EQ(WindowFromPoint({60, 60}), kid);  // (10, 10) in front: kid's corner
  EXPECT_EQ(WindowFromPoint({115, 115}), front);  // the disabled child gives its parent
  EXPECT_EQ(ChildWindowFromPoint(front, {65, 65}), off);
  EXPECT_EQ(ChildWindowFromPointEx(front, {65, 65}, CWP_SKIPDISABLED), front);
  EXPECT_EQ(ChildWindowFromPoint(front, {500, 5}), nullptr);
  EXPECT_EQ(WindowFromPoint({10, 10}), back);
  EXPECT_EQ(WindowFromPoint({700, 500}), nullptr);

  // An elliptic front window: its corners belong to the window behind.
  EXPECT_TRUE(SetWindowRgn(front, CreateEllipticRgn(0, 0, 100, 100), TRUE));
  EXPECT_EQ(WindowFromPoint({52, 52}), back);
  EXPECT_EQ(WindowFromPoint({100, 100}), front);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(front, copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(copy, 50, 50));
  EXPECT_FALSE(PtInRegion(copy, 1, 1));
  // A child's region works in the child's own coordinates.
  SetWindowRgn(kid, CreateRectRgn(20, 20, 40, 40), FALSE);
  EXPECT_EQ(WindowFromPoint({70, 70}), front);
  EXPECT_EQ(WindowFromPoint({85, 85}), kid);
  SetWindowRgn(front, nullptr, TRUE);
  EXPECT_EQ(GetWindowRgn(front, copy), ERROR);
  EXPECT_EQ(WindowFromPoint({52, 52}), front);
  DeleteObject(copy);
}

TEST_F(Windows, ClassesRegisterOnce) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "VxnTestWindow";
  EXPECT_EQ(RegisterClassEx(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  wc.lpszClassName = "VxnTestScratch";
  wc.style = CS_DBLCLKS | CS_HREDRAW;
  wc.cbClsExtra = 8;
  ATOM atom = RegisterClassEx(&wc);
  ASSERT_NE(atom, 0);
  HWND w = CreateWindowEx(0, "vxntestscratch", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetClassLongPtr(w, GCW_ATOM), atom);
  EXPECT_EQ(GetClassLongPtr(w, GCL_STYLE), static_cast<LONG_PTR>(CS_DBLCLKS | CS_HREDRAW));
  SetClassLongPtr(w, 0, 99);
  EXPECT_EQ(GetClassLongPtr(w, 0), 99);
  EXPECT_FALSE(UnregisterClass("VxnTestScratch", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("VxnTestScratch", nullptr));
}

TEST_F(Windows, SetWindowPosFlagsDecideTheMessages) {
  HWND w = Make("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  struct Case {
    int x, y, cx, cy;
    UINT flags;
    Lines expected;
  } cases[] = {
      {5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOSENDCHANGING, {"w WM_WINDOWPOSCHANGED", "w WM_MOVE"}},
      {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED,
       {"w WM_WINDOWPOSCHANGING", "w WM_NCCALCSIZE", "w WM_WINDOWPOSCHANGED"}},
      {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, {"w WM_WINDOWPOSCHANGING", "w WM_WINDOWPOSCHANGED"}},
      {5, 5, 60, 50, SWP_NOZORDER,  // same place: only the size changes
       {"w WM_WINDOWPOSCHANGING", "w WM_NCCALCSIZE", "w WM_WINDOWPOSCHANGED", "w WM_SIZE"}},
      {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW, {"w WM_WINDOWPOSCHANGING", "w WM_WINDOWPOSCHANGED"}},
  };
  for (const Case& c : cases) {
    Taken();
    EXPECT_TRUE(SetWindowPos(w, HWND_TOP, c.x, c.y, c.cx, c.cy, c.flags));
    EXPECT_EQ(Taken(), c.expected) << std::hex << c.flags;
  }
  EXPECT_FALSE(IsWindowVisible(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{5, 5, 65, 55}));
}

WNDPROC beforeLimit = nullptr;
LRESULT LimitWidth(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGING) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!(wp->flags & SWP_NOSIZE)) wp->cx = std::min(wp->cx, 40);
    wp->flags |= SWP_NOMOVE;
    return 0;
  }
  return CallWindowProc(beforeLimit, hwnd, msg, wParam, lParam);
}

TEST_F(Windows, WindowPosChangingMayRewriteThePlacement) {
  HWND w = Make("w", WS_POPUP, 0, 0, 20, 20);
  beforeLimit = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LimitWidth)));
  MoveWindow(w, 30, 30, 100, 100, TRUE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{0, 0, 40, 100}));
}

TEST_F(Windows, SystemColourChangesReachTopLevelWindows) {
  HWND w = Make("w", WS_POPUP, 0, 0, 20, 20);
  Make("kid", WS_CHILD, 0, 0, 5, 5, w);
  Taken();
  INT index = COLOR_BTNFACE;
  COLORREF color = RGB(1, 2, 3);
  SetSysColors(1, &index, &color);
  ResetSysColors();
  EXPECT_EQ(Taken(), (Lines{"w WM_SYSCOLORCHANGE", "w WM_SYSCOLORCHANGE"}));
}

}  // namespace
