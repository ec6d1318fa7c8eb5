#include "platform/win/ListBoxControl.h"

#include "tests/platform/win/UserFixture.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/EditControl.h"
#include "platform/win/ScrollBars.h"

namespace usertest {
namespace {

constexpr WORD kListId = 9;

class ListBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    ASSERT_NE(RegisterListBoxClass(), 0);
    form_ = Make("form", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300);
    Reg().handlers[{"form", WM_COMMAND}] = [this](HWND, WPARAM w, LPARAM) {
      if (LOWORD(w) == kListId) notes_.push_back(HIWORD(w));
      return LRESULT{0};
    };
  }

  HWND MakeList(DWORD style, std::initializer_list<const char*> items, int h = 100) {
    HWND l = CreateWindowEx(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | style, 10, 10, 150, h, form_,
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(kListId)), nullptr, nullptr);
    EXPECT_NE(l, nullptr);
    for (const char* s : items) SendMessage(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SetFocus(l);
    Pump();
    notes_.clear();
    return l;
  }
  static std::string Text(HWND l, int i) {
    char buffer[256] = {};
    SendMessage(l, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  static POINT At(HWND l, int i) {
    RECT r;
    SendMessage(l, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return ScreenOf(l, r.left + 5, (r.top + r.bottom) / 2);
  }
  static void Key(UINT vk, bool shift = false, bool ctrl = false) {
    InjectKeyPress(vk, shift, ctrl);
    Pump();
  }
  static void Click(POINT p) {
    InjectClick(p);
    Pump();
  }
  static std::vector<int> Selected(HWND l) {
    std::vector<int> out(64);
    out.resize(static_cast<size_t>(SendMessage(l, LB_GETSELITEMS, 64, reinterpret_cast<LPARAM>(out.data()))));
    return out;
  }

  HWND form_ = nullptr;
  std::vector<WORD> notes_;
};

TEST_F(ListBoxTest, ItemsAndMessages) {
  HWND l = MakeList(LBS_SORT, {"pear", "Apple", "banana", "中文"});
  EXPECT_EQ(SendMessage(l, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Text(l, 0), "Apple");  // sorted without regard to case
  EXPECT_EQ(Text(l, 1), "banana");
  EXPECT_EQ(Text(l, 3), "中文");
  EXPECT_EQ(SendMessage(l, LB_GETTEXTLEN, 3, 0), 6);
  EXPECT_EQ(SendMessage(l, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zed")), 0);  // no sorting here
  EXPECT_EQ(SendMessage(l, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
  EXPECT_EQ(SendMessage(l, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BAN")), 2);
  EXPECT_EQ(SendMessage(l, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ban")), LB_ERR);
  EXPECT_EQ(SendMessage(l, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("中")), 4);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(l, LB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(SendMessage(l, LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 1);  // the selection moves with its item
  EXPECT_EQ(SendMessage(l, LB_DELETESTRING, 1, 0), 3);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(l, LB_DELETESTRING, 7, 0), LB_ERR);
  EXPECT_TRUE(notes_.empty());  // changes by message are not notified

  int h = static_cast<int>(SendMessage(l, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_GT(h, 0);
  SendMessage(l, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
  RECT r;
  SendMessage(l, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.bottom, 60);
  EXPECT_EQ(SendMessage(l, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 45)), MAKELRESULT(2, 0));
  EXPECT_EQ(HIWORD(SendMessage(l, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 95))), 1);  // below the last item
  SendMessage(l, LB_SETITEMDATA, 1, 1234);
  EXPECT_EQ(SendMessage(l, LB_GETITEMDATA, 1, 0), 1234);
  SendMessage(l, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(l, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, SingleSelectionByKeysMouseAndTyping) {
  HWND l = MakeList(0, {"alpha", "beta", "bravo", "中国", "中文", "delta", "echo", "foxtrot", "golf", "hotel"}, 60);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 0);  // the first key selects the first item
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(notes_, (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));
  Key(VK_END);
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 9);
  EXPECT_GT(SendMessage(l, LB_GETTOPINDEX, 0, 0), 0);  // scrolled to keep it in view
  Key(VK_HOME);
  EXPECT_EQ(SendMessage(l, LB_GETTOPINDEX, 0, 0), 0);

  InjectText("b");
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 1);
  InjectText("b");
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 2);  // the same letter steps on
  clock_.Advance(2000);
  InjectText("中文");
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 4);

  SendMessage(l, LB_SETTOPINDEX, 0, 0);
  notes_.clear();
  Click(At(l, 1));
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(notes_, std::vector<WORD>{LBN_SELCHANGE});
  InjectDrag(At(l, 1), At(l, 2));
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 2);
  notes_.clear();
  InjectDoubleClick(At(l, 0));
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(notes_.back(), LBN_DBLCLK);
}

TEST_F(ListBoxTest, ExtendedAndMultipleSelection) {
  HWND x = MakeList(LBS_EXTENDEDSEL, {"a", "b", "c", "d", "e"});
  Click(At(x, 1));
  InjectKey(VK_SHIFT, true);
  InjectClick(At(x, 3));
  InjectKey(VK_SHIFT, false);
  Pump();
  EXPECT_EQ(Selected(x), (std::vector<int>{1, 2, 3}));
  InjectKey(VK_CONTROL, true);
  InjectClick(At(x, 2));
  InjectKey(VK_CONTROL, false);
  Pump();
  EXPECT_EQ(Selected(x), (std::vector<int>{1, 3}));
  Key(VK_DOWN, true);  // from the anchor (2) to 3
  EXPECT_EQ(Selected(x), (std::vector<int>{2, 3}));
  Key(VK_DOWN);
  EXPECT_EQ(Selected(x), std::vector<int>{4});
  EXPECT_EQ(SendMessage(x, LB_GETSELCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessage(x, LB_SETCURSEL, 0, 0), LB_ERR);

  DestroyWindow(x);
  HWND m = MakeList(LBS_MULTIPLESEL, {"a", "b", "c"});
  Click(At(m, 0));
  Click(At(m, 2));
  EXPECT_EQ(Selected(m), (std::vector<int>{0, 2}));
  Click(At(m, 0));
  Key(VK_DOWN);  // moves only the focus
  Key(VK_SPACE);
  EXPECT_EQ(Selected(m), (std::vector<int>{1, 2}));
  SendMessage(m, LB_SETSEL, TRUE, -1);
  EXPECT_EQ(SendMessage(m, LB_GETSELCOUNT, 0, 0), 3);
}

TEST_F(ListBoxTest, OwnerDrawAsksTheParent) {
  std::vector<std::pair<UINT, UINT>> drawn;  // item, state
  Reg().handlers[{"form", WM_MEASUREITEM}] = [](HWND, WPARAM, LPARAM lp) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    mi->itemHeight = 10 + 5 * mi->itemID;
    return LRESULT{TRUE};
  };
  Reg().handlers[{"form", WM_DRAWITEM}] = [&](HWND, WPARAM, LPARAM lp) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    EXPECT_EQ(di->CtlType, ODT_LISTBOX);
    EXPECT_EQ(di->CtlID, kListId);
    EXPECT_EQ(di->rcItem.bottom - di->rcItem.top, static_cast<LONG>(10 + 5 * di->itemID));
    drawn.emplace_back(di->itemID, di->itemState);
    return LRESULT{TRUE};
  };
  HWND v = MakeList(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, {"a", "b", "c", "d", "e", "f"}, 50);
  EXPECT_EQ(SendMessage(v, LB_GETITEMHEIGHT, 2, 0), 20);
  SendMessage(v, LB_SETCURSEL, 1, 0);
  drawn.clear();
  UpdateWindow(v);
  // 10 + 15 + 20 = 45 of 50 pixels: the fourth item shows in part.
  EXPECT_EQ(drawn, (std::vector<std::pair<UINT, UINT>>{{0, 0}, {1, ODS_SELECTED | ODS_FOCUS}, {2, 0}, {3, 0}}));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessage(v, LB_GETTOPINDEX, 0, 0), 2);  // 20 + 25 fits, 15 + 20 + 25 does not

  Reg().handlers.erase({"form", WM_DRAWITEM});
  Reg().handlers[{"form", WM_MEASUREITEM}] = [](HWND, WPARAM, LPARAM lp) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 24;
    return LRESULT{TRUE};
  };
  HWND f = MakeList(LBS_OWNERDRAWFIXED, {});
  SendMessage(f, LB_ADDSTRING, 0, 77);  // without LBS_HASSTRINGS the value is the item's data
  EXPECT_EQ(SendMessage(f, LB_GETITEMDATA, 0, 0), 77);
  EXPECT_EQ(SendMessage(f, LB_GETITEMHEIGHT, 0, 0), 24);
}

TEST_F(ListBoxTest, ScrollCodesAndPopupTracking) {
  HWND l = MakeList(0, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, 40);
  int h = static_cast<int>(SendMessage(l, LB_GETITEMHEIGHT, 0, 0));
  SendMessage(l, LB_SETITEMHEIGHT, 0, MAKELPARAM(10, 0));
  struct Step {
    WORD code;
    WORD pos;
    int top;
  };
  for (const Step& s : {Step{SB_LINEDOWN, 0, 1}, Step{SB_PAGEDOWN, 0, 4}, Step{SB_BOTTOM, 0, 6},
                        Step{SB_LINEDOWN, 0, 6}, Step{SB_THUMBTRACK, 2, 2}, Step{SB_PAGEUP, 0, 0},
                        Step{SB_LINEUP, 0, 0}}) {
    SendMessage(l, WM_VSCROLL, MAKEWPARAM(s.code, s.pos), 0);
    EXPECT_EQ(SendMessage(l, LB_GETTOPINDEX, 0, 0), s.top) << s.code;
  }
  SendMessage(l, LB_SETITEMHEIGHT, 0, MAKELPARAM(static_cast<WORD>(h), 0));

  HWND popup = CreateWindowEx(0, "LISTBOX", "", WS_POPUP | WS_VISIBLE, 200, 100, 100, 80, form_, nullptr,
                              nullptr, nullptr);
  for (const char* s : {"one", "two", "three"}) SendMessage(popup, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  InjectMouseMove(At(popup, 1));
  Pump();
  EXPECT_EQ(SendMessage(popup, LB_GETCURSEL, 0, 0), 1);
  InjectMouseMove(At(popup, 2));
  Pump();
  EXPECT_EQ(SendMessage(popup, LB_GETCURSEL, 0, 0), 2);
  InjectMouseMove(At(l, 0));  // a child list does not follow the pointer
  Pump();
  EXPECT_EQ(SendMessage(l, LB_GETCURSEL, 0, 0), LB_ERR);

  // A list with a bar shows it only while there is more than fits.
  HWND b = MakeList(WS_VSCROLL, {"a", "b"}, 5 * h);
  EXPECT_FALSE(GetWindowLong(b, GWL_STYLE) & WS_VSCROLL);
  for (const char* s : {"c", "d", "e", "f", "g"}) SendMessage(b, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_TRUE(GetWindowLong(b, GWL_STYLE) & WS_VSCROLL);
  SendMessage(b, WM_VSCROLL, SB_BOTTOM, 0);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(b, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 6);
  EXPECT_EQ(si.nPage, 5u);
  EXPECT_EQ(si.nPos, 2);
  SendMessage(b, LB_RESETCONTENT, 0, 0);
  EXPECT_FALSE(GetWindowLong(b, GWL_STYLE) & WS_VSCROLL);
}

}  // namespace
}  // namespace usertest
