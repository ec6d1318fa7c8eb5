#include "platform/win/MenuWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/platform/win/UserFixture.h"
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
  // Each call changes its own bit only; an item that is not there gives 0xFFFFFFFF.
  EXPECT_EQ(EnableMenuItem(file, 3, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), MF_CHECKED | MF_GRAYED);
  EXPECT_EQ(CheckMenuItem(bar, 999, MF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(EnableMenuItem(file, 9, MF_BYPOSITION | MF_GRAYED), 0xFFFFFFFFu);
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

namespace {

// Runs a popup of the menu; each WM_ENTERIDLE calls step(n) with n = 0, 1...
// until the loop ends (a step that injects nothing ends it with EndMenu).
UINT RunPopup(HWND owner, HMENU menu, const std::function<void(int)>& step, int x = 100, int y = 100) {
  int n = 0;
  Reg().handlers[{"owner", WM_ENTERIDLE}] = [&](HWND, WPARAM, LPARAM) {
    if (n > 50) {
      EndMenu();  // a safety net: the test never leaves the loop waiting
      return 0;
    }
    step(n++);
    return 0;
  };
  return TrackPopupMenuEx(menu, TPM_RETURNCMD, x, y, owner, nullptr);
}

RECT ItemRect(HMENU menu, UINT index) {
  RECT r{};
  EXPECT_TRUE(GetMenuItemRect(nullptr, menu, index, &r));
  return r;
}

}  // namespace

// A break starts a new column level with the first; a bar break draws a rule
// between the columns. Left and Right cross to the item at the same height.
TEST_F(MenuWindowsTest, BreaksMakeColumnsThatLeftAndRightCross) {
  struct Case {
    UINT breakFlag;
    bool rule;
  } cases[] = {{MF_MENUBREAK, false}, {MF_MENUBARBREAK, true}};
  for (const Case& c : cases) {
    HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 1, "One");
    AppendMenu(menu, MF_STRING, 2, "Two");
    AppendMenu(menu, MF_STRING, 3, "Three");
    AppendMenu(menu, MF_STRING | c.breakFlag, 4, "Four");
    AppendMenu(menu, MF_STRING, 5, "Five");
    std::vector<WORD> selected;
    Reg().handlers[{"owner", WM_MENUSELECT}] = [&](HWND, WPARAM w, LPARAM) {
      if (HIWORD(w) != 0xFFFF) selected.push_back(LOWORD(w));
      return 0;
    };
    RECT one{}, two{}, three{}, four{}, five{};
    COLORREF between = 0;
    UINT chosen = RunPopup(owner, menu, [&](int n) {
      if (n > 0) return EndMenu(), void();
      one = ItemRect(menu, 0), two = ItemRect(menu, 1), three = ItemRect(menu, 2);
      four = ItemRect(menu, 3), five = ItemRect(menu, 4);
      between = ScreenPixel((three.right + four.left) / 2 - 1, (one.top + one.bottom) / 2);
      // Down twice reaches Two; Right crosses to Five beside it, Left back,
      // Right again; a further Right has no column to go to.
      for (UINT vk : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_RIGHT, VK_RIGHT, VK_RETURN}) InjectKeyPress(vk);
    });
    EXPECT_EQ(chosen, 5u);
    EXPECT_EQ(selected, (std::vector<WORD>{1, 2, 5, 2, 5}));
    EXPECT_EQ(four.top, one.top);
    EXPECT_EQ(five.top, two.top);
    EXPECT_GE(four.left, three.right);
    EXPECT_EQ(two.left, one.left);
    EXPECT_EQ(between == GetSysColor(COLOR_BTNSHADOW), c.rule) << c.breakFlag;
    DestroyMenu(menu);
    DestroyWindow(owner);
    Reg() = Registry{};
  }
}

TEST_F(MenuWindowsTest, ABreakOnTheBarStartsANewRow) {
  HWND w = Make("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 200);
  RECT before;
  GetClientRect(w, &before);
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_STRING, 1, "&File");
  AppendMenu(bar, MF_STRING | MF_MENUBREAK, 2, "&Edit");
  AppendMenu(bar, MF_STRING, 3, "&View");
  ASSERT_TRUE(SetMenu(w, bar));
  RECT after, file, edit, view;
  GetClientRect(w, &after);
  EXPECT_EQ(before.bottom - after.bottom, 2 * GetSystemMetrics(SM_CYMENU));
  GetMenuItemRect(w, bar, 0, &file);
  GetMenuItemRect(w, bar, 1, &edit);
  GetMenuItemRect(w, bar, 2, &view);
  EXPECT_EQ(edit.left, file.left);
  EXPECT_EQ(edit.top, file.bottom);
  EXPECT_EQ(view.top, edit.top);
  SetMenu(w, nullptr);
  DestroyMenu(bar);
}

// 200 items do not fit the work area: the menu scrolls between two arrows,
// and the keys, a press on an arrow and the mouse resting on it keep the
// item that matters in view.
TEST_F(MenuWindowsTest, AMenuTallerThanTheWorkAreaScrolls) {
  HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU menu = CreatePopupMenu();
  for (int i = 1; i <= 200; ++i)
    AppendMenu(menu, MF_STRING, static_cast<UINT_PTR>(i), ("Item " + std::to_string(i)).c_str());
  RECT work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame{}, client{};
  int itemHeight = 0, lastTop = 0;
  POINT clickAt{};
  UINT expected = 0;
  auto inside = [&](const RECT& r) { return r.top >= client.top && r.bottom <= client.bottom; };
  UINT chosen = RunPopup(owner, menu, [&](int n) {
    HWND wnd = GetOpenMenuWindow();
    switch (n) {
      case 0: {
        GetWindowRect(wnd, &frame);
        GetClientRect(wnd, &client);
        MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_LE(frame.bottom - frame.top, work.bottom - work.top);
        EXPECT_GE(frame.top, work.top);
        EXPECT_TRUE(inside(ItemRect(menu, 0)));
        EXPECT_FALSE(inside(ItemRect(menu, 199)));
        itemHeight = ItemRect(menu, 0).bottom - ItemRect(menu, 0).top;
        InjectKeyPress(VK_UP);  // wraps round to the last item, scrolled into view
        break;
      }
      case 1: {
        RECT last = ItemRect(menu, 199);
        EXPECT_TRUE(inside(last));
        EXPECT_FALSE(inside(ItemRect(menu, 0)));
        lastTop = last.top;
        // Under the arrow an item is scrolled away: no item there.
        EXPECT_EQ(MenuItemFromPoint(nullptr, menu, POINT{(client.left + client.right) / 2, client.top + 2}), -1);
        InjectClick(POINT{(client.left + client.right) / 2, client.top + 2});  // the upper arrow: one item
        break;
      }
      case 2: {
        // Up to one item: the one half hidden under the arrow comes in.
        int top = ItemRect(menu, 199).top;
        EXPECT_GT(top, lastTop);
        EXPECT_LE(top, lastTop + itemHeight);
        lastTop = top;
        EXPECT_EQ(GetOpenMenuWindow(), wnd);  // a press on an arrow chooses nothing
        clock_.Advance(1000);  // the mouse rests on the arrow
        break;
      }
      case 3: {
        EXPECT_EQ(ItemRect(menu, 199).top, lastTop + itemHeight);
        // The item in the middle of the window is the one a click chooses.
        clickAt = POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
        expected = static_cast<UINT>(MenuItemFromPoint(nullptr, menu, clickAt)) + 1;
        InjectClick(clickAt);
        break;
      }
      default: EndMenu();
    }
  });
  EXPECT_GT(expected, 1u);
  EXPECT_LT(expected, 200u);
  EXPECT_EQ(chosen, expected);
  DestroyMenu(menu);
}

// The mouse resting on an item opens its sub-menu after the menu show
// delay; a click opens it at once.
TEST_F(MenuWindowsTest, SubMenusOpenAfterTheShowDelayOrOnAClick) {
  HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 11, "Inner");
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "Plain");
  AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  DWORD delay = 0;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  HWND first = nullptr;
  auto middle = [&](UINT index) {
    RECT r = ItemRect(menu, index);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  RunPopup(owner, menu, [&](int n) {
    switch (n) {
      case 0:
        first = GetOpenMenuWindow();
        InjectMouseMove(middle(1));
        break;
      case 1:
        EXPECT_EQ(GetOpenMenuWindow(), first);
        clock_.Advance(delay - 1);
        InjectMouseMove(middle(1));  // still resting
        break;
      case 2:
        EXPECT_EQ(GetOpenMenuWindow(), first);
        clock_.Advance(1);
        break;
      case 3:
        EXPECT_NE(GetOpenMenuWindow(), first);
        InjectMouseMove(middle(0));  // leaving closes it
        break;
      case 4:
        EXPECT_EQ(GetOpenMenuWindow(), first);
        InjectMouseButton(VK_LBUTTON, true, middle(1));
        break;
      case 5:
        EXPECT_NE(GetOpenMenuWindow(), first);
        EndMenu();
        break;
      default: EndMenu();
    }
  });
  EXPECT_EQ(delay, 400u);
  DestroyMenu(menu);
}

// Alt released alone selects the bar for the keyboard: the arrows move the
// highlight along it, Down opens the drop-down, Escape twice leaves.
TEST_F(MenuWindowsTest, AltAloneSelectsTheBarAndTheArrowsMoveAlongIt) {
  HWND w = Make("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU file = FileMenu();
  HMENU edit = CreatePopupMenu();
  AppendMenu(edit, MF_STRING, 301, "&Copy");
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  AppendMenu(bar, MF_STRING, 200, "&Help");
  ASSERT_TRUE(SetMenu(w, bar));
  SetFocus(w);
  std::vector<std::string> seen;
  Reg().handlers[{"frame", WM_MENUSELECT}] = [&](HWND, WPARAM wp, LPARAM lp) {
    if (reinterpret_cast<HMENU>(lp) == bar) seen.push_back("bar " + std::to_string(LOWORD(wp)));
    return 0;
  };
  int n = 0;
  Reg().handlers[{"frame", WM_ENTERIDLE}] = [&](HWND, WPARAM, LPARAM) {
    HWND open = GetOpenMenuWindow();
    switch (n++) {
      case 0:
      case 1:
        EXPECT_EQ(open, nullptr) << n;
        InjectKeyPress(VK_RIGHT);
        break;
      case 2:
        EXPECT_EQ(open, nullptr);
        InjectKeyPress(VK_LEFT);
        InjectKeyPress(VK_DOWN);
        break;
      case 3:
        EXPECT_EQ(reinterpret_cast<HMENU>(open ? SendMessage(open, MN_GETHMENU, 0, 0) : 0), edit);
        InjectKeyPress(VK_ESCAPE);
        InjectKeyPress(VK_ESCAPE);
        break;
      default: EndMenu();
    }
    return 0;
  };
  InjectKeyPress(VK_MENU);
  Pump();
  EXPECT_EQ(n, 4);
  EXPECT_EQ(seen, (std::vector<std::string>{"bar 0", "bar 1", "bar 200", "bar 1", "bar 1"}));
  EXPECT_EQ(GetOpenMenuWindow(), nullptr);
  SetMenu(w, nullptr);
  DestroyMenu(bar);
}

// A window procedure that throws out of the menu loop must not leave the
// tracker behind: no menu window stays open, nothing keeps the capture, and
// the next menu opens and runs.
TEST_F(MenuWindowsTest, AnExceptionOutOfTheMenuLoopLeavesNoTrackerBehind) {
  HWND owner = Make("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
  HMENU menu = FileMenu();
  bool fail = true;
  Reg().handlers[{"owner", WM_ENTERIDLE}] = [&](HWND, WPARAM, LPARAM) -> LRESULT {
    if (fail) throw std::runtime_error("handler failed");
    EndMenu();
    return 0;
  };
  EXPECT_THROW(TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr), std::runtime_error);
  EXPECT_EQ(GetOpenMenuWindow(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(EndMenu());
  fail = false;
  int opened = 0;
  Reg().handlers[{"owner", WM_INITMENUPOPUP}] = [&](HWND, WPARAM, LPARAM) -> LRESULT {
    ++opened;
    return 0;
  };
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr), 0);
  EXPECT_EQ(opened, 1);
  DestroyMenu(menu);
}
