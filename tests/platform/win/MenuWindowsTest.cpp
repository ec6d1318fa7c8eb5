#include "platform/win/MenuWindows.h"

#include <gtest/gtest.h>

#include "UserFixture.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysParams.h"

using namespace win;
using namespace usertest;

namespace {

class MenuWindowsTest : public UserTest {
 protected:
  static HMENU FileMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 101, "&Open\tCtrl+O");
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_STRING | MF_GRAYED, 102, "&Print");
    AppendMenu(file, MF_STRING, 103, "E&xit");
    return file;
  }
};

// Menu windows found under the mouse get a foreign window procedure, user
// data and a region, as a skin does; the menu keeps working through them.
WNDPROC g_menuProc = nullptr;
int g_subclassedPaints = 0;
LRESULT SkinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) ++g_subclassedPaints;
  return CallWindowProc(g_menuProc, hwnd, msg, wParam, lParam);
}

TEST_F(MenuWindowsTest, PopupWindowIsFoundSubclassedAndDrivenByKeys) {
  HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU menu = FileMenu();
  std::vector<std::string> seen;
  HWND found = nullptr;
  int idles = 0;
  g_subclassedPaints = 0;
  Reg().handlers[{"owner", WM_ENTERMENULOOP}] = [&](HWND, WPARAM w, LPARAM) {
    seen.push_back("enter " + std::to_string(w));
    return 0;
  };
  Reg().handlers[{"owner", WM_EXITMENULOOP}] = [&](HWND, WPARAM, LPARAM) {
    seen.push_back("exit");
    return 0;
  };
  Reg().handlers[{"owner", WM_INITMENUPOPUP}] = [&](HWND, WPARAM w, LPARAM) {
    seen.push_back(reinterpret_cast<HMENU>(w) == menu ? "init" : "init?");
    return 0;
  };
  Reg().handlers[{"owner", WM_MENUSELECT}] = [&](HWND, WPARAM w, LPARAM) {
    seen.push_back("select " + std::to_string(LOWORD(w)));
    return 0;
  };
  Reg().handlers[{"owner", WM_ENTERIDLE}] = [&](HWND, WPARAM w, LPARAM l) {
    if (++idles > 1) {
      EndMenu();  // a safety net: the test never leaves the loop waiting
      return 0;
    }
    EXPECT_EQ(w, MSGF_MENU);
    HWND menuWnd = reinterpret_cast<HWND>(l);
    EXPECT_EQ(menuWnd, GetOpenMenuWindow());
    RECT r;
    GetWindowRect(menuWnd, &r);
    found = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_EQ(GetClassName(found), kMenuWindowClass);
    EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(found, MN_GETHMENU, 0, 0)), menu);
    g_menuProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(found, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinProc)));
    SetWindowLongPtr(found, GWLP_USERDATA, 42);
    SetWindowRgn(found, CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top - 2), TRUE);
    HDC dc = GetWindowDC(found);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), found);
    ReleaseDC(found, dc);
    InvalidateRect(found, nullptr, TRUE);
    // Down selects Open; Down skips the separator to the grayed Print; Down
    // reaches Exit, Up goes back to Print and Down again to Exit.
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_DOWN, VK_RETURN}) InjectKeyPress(vk);
    return 0;
  };
  UINT chosen = TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr);
  EXPECT_EQ(chosen, 103u);
  ASSERT_NE(found, nullptr);
  EXPECT_FALSE(IsWindow(found));  // the menu window goes with the loop
  EXPECT_GT(g_subclassedPaints, 0);
  std::vector<std::string> want = {"enter 1",    "init",       "select 101", "select 102", "select 103",
                                   "select 102", "select 103", "select 0",   "exit"};
  EXPECT_EQ(seen, want);
  DestroyMenu(menu);
}

TEST_F(MenuWindowsTest, OwnerDrawnItemsAreMeasuredAndDrawnOnTheMenuWindow) {
  HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_OWNERDRAW, 7, reinterpret_cast<const char*>(static_cast<uintptr_t>(77)));
  AppendMenu(menu, MF_STRING, 8, "Plain");
  std::vector<UINT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::string drawClass;
  Reg().handlers[{"owner", WM_MEASUREITEM}] = [&](HWND, WPARAM, LPARAM l) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    EXPECT_EQ(mis->CtlType, ODT_MENU);
    EXPECT_EQ(mis->itemData, 77u);
    measured.push_back(mis->itemID);
    mis->itemWidth = 120;
    mis->itemHeight = 30;
    return TRUE;
  };
  Reg().handlers[{"owner", WM_DRAWITEM}] = [&](HWND, WPARAM, LPARAM l) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    drawn.push_back(*dis);
    drawClass = GetClassName(WindowFromDC(dis->hDC));
    return TRUE;
  };
  int idles = 0;
  Reg().handlers[{"owner", WM_ENTERIDLE}] = [&](HWND, WPARAM, LPARAM) {
    if (++idles == 1)
      InjectKeyPress(VK_DOWN);  // selects the owner-drawn item: drawn again as selected
    else
      EndMenu();
    return 0;
  };
  TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr);
  EXPECT_EQ(measured, std::vector<UINT>{7});
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn.front().CtlType, ODT_MENU);
  EXPECT_EQ(drawn.front().itemID, 7u);
  EXPECT_EQ(drawn.front().rcItem.bottom - drawn.front().rcItem.top, 30);
  EXPECT_EQ(drawn.back().itemState & 0x1u, 0x1u);  // ODS_SELECTED
  EXPECT_EQ(drawClass, kMenuWindowClass);
  DestroyMenu(menu);
}

TEST_F(MenuWindowsTest, MenuBarTakesRoomInTheFrameAndAnswersHitTests) {
  HWND w = Make("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  RECT before;
  GetClientRect(w, &before);
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(FileMenu()), "&File");
  AppendMenu(bar, MF_STRING, 200, "&Help");
  ASSERT_TRUE(SetMenu(w, bar));
  RECT after;
  GetClientRect(w, &after);
  EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(w, bar, 1, &item));
  POINT inside{item.left + 2, item.top + 2};
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTMENU);
  EXPECT_EQ(MenuItemFromPoint(w, bar, inside), 1);
  POINT client{0, 0};
  ClientToScreen(w, &client);
  EXPECT_EQ(item.bottom, client.y);

  // A click on a bar item without a drop-down is its command.
  std::vector<WPARAM> commands;
  Reg().handlers[{"frame", WM_COMMAND}] = [&](HWND, WPARAM wp, LPARAM) {
    commands.push_back(wp);
    return 0;
  };
  InjectClick(inside);
  Pump();
  EXPECT_EQ(commands, std::vector<WPARAM>{200});

  SetMenu(w, nullptr);
  GetClientRect(w, &after);
  EXPECT_EQ(after.bottom, before.bottom);
  DestroyMenu(bar);
}

TEST_F(MenuWindowsTest, ItemInfoRoundTripsAndCommandsAreFoundInSubMenus) {
  HMENU bar = CreateMenu();
  HMENU file = FileMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetSubMenu(bar, 0), file);
  EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu);
  // By command, the search goes into the sub-menus.
  EXPECT_EQ(CheckMenuItem(bar, 103, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(bar, 102, MF_ENABLED), MF_GRAYED);
  char text[32];
  MENUITEMINFO info;
  info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
  info.dwTypeData = text;
  info.cch = 5;  // the text is cut to fit, cch tells the whole length
  ASSERT_TRUE(GetMenuItemInfo(file, 0, TRUE, &info));
  EXPECT_STREQ(text, "&Ope");
  EXPECT_EQ(info.cch, 12u);
  EXPECT_EQ(info.wID, 101u);
  std::string renamed = "&Load";
  info.fMask = MIIM_STRING;
  info.dwTypeData = renamed.data();
  ASSERT_TRUE(SetMenuItemInfo(bar, 101, FALSE, &info));
  EXPECT_EQ(GetMenuString(file, 101, text, sizeof text, MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "&Load");
  EXPECT_FALSE(GetMenuItemInfo(file, 99, FALSE, &info));
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(file));  // sub-menus go with their menu
}

}  // namespace
