#include "platform/win/EditControl.h"

#include "tests/platform/win/UserFixture.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Clipboard.h"

namespace usertest {
namespace {

constexpr WORD kEditId = 7;

class EditTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    ASSERT_NE(RegisterEditClass(), 0);
    ResetClipboard();
    form_ = Make("form", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300);
    Reg().handlers[{"form", WM_COMMAND}] = [this](HWND, WPARAM w, LPARAM) {
      if (LOWORD(w) == kEditId) notes_.push_back(HIWORD(w));
      return LRESULT{0};
    };
  }
  void TearDown() override {
    ResetClipboard();
    UserTest::TearDown();
  }

  HWND MakeEdit(DWORD style, int w = 200, int h = 20, const char* text = "") {
    HWND e = CreateWindowEx(0, "Edit", text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, form_,
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(kEditId)), nullptr, nullptr);
    EXPECT_NE(e, nullptr);
    SetFocus(e);
    Pump();
    notes_.clear();
    return e;
  }

  static std::pair<size_t, size_t> Sel(HWND e) {
    DWORD s = 0, t = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
    return {size_t{s}, size_t{t}};
  }
  static void Key(UINT vk, bool shift = false, bool ctrl = false) {
    InjectKeyPress(vk, shift, ctrl);
    Pump();
  }
  static void Type(const std::string& s) {
    InjectText(s);
    Pump();
  }
  static std::string Clip() {
    std::string s;
    return GetClipboardText(nullptr, &s) ? s : "<none>";
  }
  static int PosX(HWND e, size_t i) { return GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, i, 0)); }
  static int PosY(HWND e, size_t i) { return GET_Y_LPARAM(SendMessage(e, EM_POSFROMCHAR, i, 0)); }
  size_t Count(WORD code) const { return static_cast<size_t>(std::count(notes_.begin(), notes_.end(), code)); }

  HWND form_ = nullptr;
  std::vector<WORD> notes_;
};

TEST_F(EditTest, EditingKeysMoveByCharactersThroughChineseText) {
  HWND e = MakeEdit(ES_AUTOHSCROLL);
  Type("ab中文cd");
  EXPECT_EQ(GetWindowText(e), "ab中文cd");
  EXPECT_EQ(GetWindowTextLength(e), 10);  // bytes, as for any window
  EXPECT_EQ(Sel(e), std::make_pair(6ul, 6ul));
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT, true);
  Key(VK_LEFT, true);
  EXPECT_EQ(Sel(e), std::make_pair(2ul, 4ul));
  Key(VK_RIGHT);  // collapses to the end of the selection
  EXPECT_EQ(Sel(e), std::make_pair(4ul, 4ul));
  Key(VK_BACK);
  EXPECT_EQ(GetWindowText(e), "ab中cd");
  Key(VK_HOME);
  Key(VK_DELETE);
  EXPECT_EQ(GetWindowText(e), "b中cd");
  Key(VK_END, true);
  EXPECT_EQ(Sel(e), std::make_pair(0ul, 4ul));
  Type("世");  // typing replaces the selection
  EXPECT_EQ(GetWindowText(e), "世");

  SetWindowText(e, "hello 世界 x");
  Key(VK_RIGHT, false, true);
  EXPECT_EQ(Sel(e).second, 6u);
  Key(VK_RIGHT, true, true);
  EXPECT_EQ(Sel(e), std::make_pair(6ul, 9ul));
  Key(VK_LEFT, false, true);
  Key(VK_LEFT, false, true);
  EXPECT_EQ(Sel(e), std::make_pair(0ul, 0ul));
  Key(VK_UP);  // a single line takes up and down as left and right
  Key(VK_DOWN);
  EXPECT_EQ(Sel(e), std::make_pair(1ul, 1ul));
}

TEST_F(EditTest, CodePointsWithoutUtf8FormReadBackAsReplacementChar) {
  HWND e = MakeEdit(ES_AUTOHSCROLL);
  for (WPARAM c : {WPARAM{0xD800}, WPARAM{0xDFFF}, WPARAM{0x110000}}) SendMessage(e, WM_CHAR, c, 0);
  EXPECT_EQ(GetWindowText(e), "\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(GetWindowTextLength(e), 9);
}

TEST_F(EditTest, ClipboardKeysAndUndo) {
  HWND e = MakeEdit(ES_AUTOHSCROLL);
  Type("中文ab");
  Key(VK_HOME, true);
  Key('C', false, true);  // arrives as character 3
  EXPECT_EQ(Clip(), "中文ab");
  Key(VK_RIGHT);
  Key(VK_LEFT, true);
  Key('X', false, true);
  EXPECT_EQ(GetWindowText(e), "中文a");
  EXPECT_EQ(Clip(), "b");
  Key(VK_HOME);
  Key('V', false, true);
  EXPECT_EQ(GetWindowText(e), "b中文a");
  EXPECT_TRUE(SendMessage(e, EM_CANUNDO, 0, 0));
  Key('Z', false, true);
  EXPECT_EQ(GetWindowText(e), "中文a");
  Key('Z', false, true);  // undo undoes itself
  EXPECT_EQ(GetWindowText(e), "b中文a");

  Key(VK_END);
  Key(VK_LEFT, true);
  Key(VK_LEFT, true);
  Key(VK_INSERT, false, true);
  EXPECT_EQ(Clip(), "文a");
  Key(VK_DELETE, true);
  EXPECT_EQ(GetWindowText(e), "b中");
  EXPECT_EQ(Clip(), "文a");
  Key(VK_INSERT, true);
  EXPECT_EQ(GetWindowText(e), "b中文a");

  SendMessage(e, EM_SETSEL, 0, 1);
  SendMessage(e, WM_CLEAR, 0, 0);
  EXPECT_EQ(GetWindowText(e), "中文a");
  SendMessage(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(SendMessage(e, EM_CANUNDO, 0, 0));
  EXPECT_FALSE(SendMessage(e, EM_UNDO, 0, 0));

  // A password is never copied out, and paste stops at a line break.
  SendMessage(e, EM_SETPASSWORDCHAR, '*', 0);
  SendMessage(e, EM_SETSEL, 0, -1);
  SendMessage(e, WM_COPY, 0, 0);
  EXPECT_EQ(Clip(), "文a");
  SetClipboardText(nullptr, "x\r\ny");
  SendMessage(e, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowText(e), "x");
}

// The window's clipboard keys reach a subclassing procedure as the messages.
std::vector<UINT> g_clipboardSeen;
WNDPROC g_editProc = nullptr;

LRESULT WatchClipboard(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CUT || msg == WM_COPY || msg == WM_PASTE) g_clipboardSeen.push_back(msg);
  // Taking WM_PASTE from the window: a subclass may refuse what it pastes.
  if (msg == WM_PASTE) return 0;
  return CallWindowProc(g_editProc, h, msg, wp, lp);
}

TEST_F(EditTest, ClipboardKeysAreSentToTheWindowAsMessages) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, 20, "abc");
  g_clipboardSeen.clear();
  g_editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchClipboard)));
  SetClipboardText(nullptr, "x");
  struct Case {
    UINT vk;
    bool shift, ctrl;
    UINT msg;
  } cases[] = {
      {'C', false, true, WM_COPY},         {VK_INSERT, false, true, WM_COPY}, {'V', false, true, WM_PASTE},
      {VK_INSERT, true, false, WM_PASTE}, {'X', false, true, WM_CUT},        {VK_DELETE, true, false, WM_CUT},
  };
  for (const Case& c : cases) {
    g_clipboardSeen.clear();
    SendMessage(e, EM_SETSEL, 0, 1);
    Key(c.vk, c.shift, c.ctrl);
    EXPECT_EQ(g_clipboardSeen, std::vector<UINT>{c.msg}) << c.vk;
  }
  EXPECT_EQ(GetWindowText(e), "c") << "the cuts went through, the pastes were refused";
  EXPECT_EQ(Clip(), "b");
  SetWindowLongPtr(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
}

TEST_F(EditTest, LimitCaseAndReadOnly) {
  HWND e = MakeEdit(ES_AUTOHSCROLL);
  EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessage(e, EM_LIMITTEXT, 5, 0);
  EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), 5);
  Type("中文abcdef");
  EXPECT_EQ(GetWindowText(e), "中文abc");
  EXPECT_GE(Count(EN_MAXTEXT), 1u);
  SetClipboardText(nullptr, "XYZ");
  SendMessage(e, EM_SETSEL, 4, 5);
  SendMessage(e, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowText(e), "中文abX");  // the paste is cut to what fits

  struct Case {
    DWORD style;
    const char* typed;
    const char* shown;
  };
  for (const Case& c : {Case{ES_UPPERCASE, "aBc-é", "ABC-É"}, Case{ES_LOWERCASE, "aBc-É", "abc-é"},
                        Case{ES_NUMBER, "1a2", "12"}}) {
    HWND x = MakeEdit(c.style);
    Type(c.typed);
    EXPECT_EQ(GetWindowText(x), c.shown) << c.typed;
    DestroyWindow(x);
  }

  HWND r = MakeEdit(ES_READONLY, 200, 20, "abc");
  Type("x");
  Key(VK_BACK);
  Key(VK_DELETE);
  SendMessage(r, EM_SETSEL, 0, -1);
  Key('X', false, true);
  EXPECT_EQ(GetWindowText(r), "abc");
  EXPECT_EQ(Clip(), "XYZ");
  Key('C', false, true);
  EXPECT_EQ(Clip(), "abc");  // copying still works
  SendMessage(r, EM_SETREADONLY, FALSE, 0);
  EXPECT_FALSE(GetWindowLong(r, GWL_STYLE) & ES_READONLY);
  Type("z");
  EXPECT_EQ(GetWindowText(r), "z");
}

TEST_F(EditTest, NotificationsAndModify) {
  HWND e = MakeEdit(ES_AUTOHSCROLL);
  Type("ab");
  EXPECT_EQ(Count(EN_CHANGE), 2u);
  EXPECT_TRUE(SendMessage(e, EM_GETMODIFY, 0, 0));
  notes_.clear();
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  Key(VK_TAB);
  EXPECT_EQ(GetWindowText(e), "ab");
  EXPECT_EQ(Count(EN_CHANGE), 0u);
  SetWindowText(e, "xyz");
  EXPECT_EQ(Count(EN_CHANGE), 1u);
  EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
  EXPECT_EQ(Sel(e), std::make_pair(0ul, 0ul));
  SendMessage(e, EM_SETSEL, 1, 2);
  SendMessage(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("中"));
  EXPECT_EQ(GetWindowText(e), "x中z");
  EXPECT_EQ(Sel(e), std::make_pair(2ul, 2ul));
  SendMessage(e, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Sel(e), std::make_pair(2ul, 2ul));
  SendMessage(e, EM_SETSEL, 1, -1);
  EXPECT_EQ(Sel(e), std::make_pair(1ul, 3ul));
  EXPECT_EQ(SendMessage(e, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  notes_.clear();
  SetFocus(form_);
  EXPECT_EQ(notes_, std::vector<WORD>{EN_KILLFOCUS});
}

TEST_F(EditTest, AlignmentMarginsAndHorizontalScrolling) {
  HWND l = MakeEdit(ES_LEFT, 200, 20, "abc");
  HWND c = MakeEdit(ES_CENTER, 200, 20, "abc");
  HWND r = MakeEdit(ES_RIGHT, 200, 20, "abc");
  EXPECT_EQ(PosX(l, 0), 1);
  int width = PosX(l, 3) - PosX(l, 0);
  EXPECT_GT(width, 0);
  EXPECT_NEAR(PosX(c, 0), 1 + (198 - width) / 2, 1);
  EXPECT_NEAR(PosX(r, 3), 199 - 1, 1);
  SendMessage(l, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 6));
  RECT fr;
  SendMessage(l, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
  EXPECT_EQ(fr.left, 5);
  EXPECT_EQ(fr.right, 194);
  EXPECT_EQ(PosX(l, 0), 5);

  HWND s = MakeEdit(ES_AUTOHSCROLL, 60, 20);
  Type("一二三四五六七八九十abcdefghij");
  POINT caret;
  GetCaretPos(&caret);
  EXPECT_GE(caret.x, 0);
  EXPECT_LT(caret.x, 60);
  EXPECT_EQ(caret.x, PosX(s, 20));
  EXPECT_LT(PosX(s, 0), 0);  // scrolled off to the left
  Key(VK_HOME);
  EXPECT_EQ(PosX(s, 0), 1);
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, 1);
}

// A caret search over the characters' positions needs "no character" for a
// negative index and for any index of an empty text.
TEST_F(EditTest, PositionOfNoCharacterIsMinusOne) {
  HWND empty = MakeEdit(ES_LEFT, 100, 20, "");
  HWND e = MakeEdit(ES_LEFT, 100, 20, "ab");
  const WPARAM minusOne = static_cast<WPARAM>(-1);
  EXPECT_EQ(SendMessage(empty, EM_POSFROMCHAR, 0, 0), -1);
  EXPECT_EQ(SendMessage(empty, EM_POSFROMCHAR, minusOne, 0), -1);
  EXPECT_EQ(SendMessage(e, EM_POSFROMCHAR, minusOne, 0), -1);
  EXPECT_EQ(SendMessage(e, EM_POSFROMCHAR, 3, 0), -1);
  EXPECT_EQ(PosX(e, 0), 1);
  EXPECT_GT(PosX(e, 2), PosX(e, 1));  // just past the last character
}

TEST_F(EditTest, MultiLineLinesWrapAndScroll) {
  HWND e = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 200, 40, "line1\r\nline2\r\n中文");
  EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 1, 0), 7);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 2, 0), 14);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 3, 0), -1);
  EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 15, 0), 2);
  EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, 8, 0), 1);
  EXPECT_EQ(SendMessage(e, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
  int lineHeight = PosY(e, 7) - PosY(e, 0);
  EXPECT_GT(lineHeight, 0);

  // The line break is one step and a caret never stands inside it.
  Key(VK_END);
  Key(VK_RIGHT, true);
  EXPECT_EQ(Sel(e), std::make_pair(5ul, 7ul));
  SendMessage(e, EM_SETSEL, 6, 6);
  EXPECT_EQ(Sel(e), std::make_pair(7ul, 7ul));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 2);
  EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);  // two lines fit: it scrolled
  EXPECT_GE(Count(EN_VSCROLL), 1u);
  Key(VK_END);
  Key(VK_RETURN);
  Type("尾");
  EXPECT_EQ(GetWindowText(e), "line1\r\nline2\r\n中文\r\n尾");
  EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 4);
  Key(VK_BACK);
  Key(VK_BACK);
  EXPECT_EQ(GetWindowText(e), "line1\r\nline2\r\n中文");

  notes_.clear();
  EXPECT_TRUE(SendMessage(e, EM_LINESCROLL, 0, -5));
  EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(notes_, std::vector<WORD>{EN_VSCROLL});
  SendMessage(e, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  SendMessage(e, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  // A bar the memo was made with follows the view, and its thumb scrolls it.
  HWND v = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 200, 2 * lineHeight, "1\r\n2\r\n3\r\n4");
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(v, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 3);
  EXPECT_EQ(si.nPage, 2u);
  SendMessage(v, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2), 0);
  EXPECT_EQ(SendMessage(v, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  GetScrollInfo(v, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 2);
  SetWindowText(v, "");
  SCROLLBARINFO bi;
  GetScrollBarInfo(v, OBJID_VSCROLL, &bi);
  EXPECT_TRUE(GetWindowLong(v, GWL_STYLE) & WS_VSCROLL);  // stays, disabled
  EXPECT_TRUE(bi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);

  // Without horizontal scrolling long lines wrap at spaces, or inside a word
  // too long for the width.
  HWND w = MakeEdit(ES_MULTILINE, 60, 100);
  Type("aaa bbb ccc ddd");
  EXPECT_GT(SendMessage(w, EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessage(w, EM_LINEINDEX, 1, 0) % 4, 0);  // each wrapped line starts at a word
  SetWindowText(w, "一二三四五六七八九十一二三四五六七八九十");
  LRESULT lines = SendMessage(w, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 1);
  for (LRESULT i = 0; i < lines; ++i) EXPECT_LE(PosX(w, SendMessage(w, EM_LINEINDEX, i, 0)), 1);
}

TEST_F(EditTest, MouseSelects) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, 20, "hello 世界 end");
  SetFocus(form_);
  InjectClick(ScreenOf(e, PosX(e, 2) + 1, 5));
  Pump();
  EXPECT_EQ(GetFocus(), e);
  EXPECT_EQ(Sel(e), std::make_pair(2ul, 2ul));
  InjectDrag(ScreenOf(e, PosX(e, 6) + 1, 5), ScreenOf(e, PosX(e, 8) + 1, 5));
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(6ul, 8ul));
  EXPECT_EQ(GetCapture(), nullptr);
  InjectDoubleClick(ScreenOf(e, PosX(e, 1) + 1, 5));
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(0ul, 5ul));
  EXPECT_EQ(LOWORD(SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(PosX(e, 7) + 1, 5))), 7);
}

TEST_F(EditTest, PaintsTextAndSelection) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, 20, "中文中文");
  SendMessage(e, EM_SETSEL, 0, 2);
  UpdateWindow(form_);
  UpdateWindow(e);
  POINT origin = ScreenOf(e, 0, 0);
  int sw = 0, sh = 0;
  std::vector<uint32_t> screen = ComposeScreen(&sw, &sh);
  auto pixel = [&](int x, int y) {
    uint32_t p = screen[static_cast<size_t>(origin.y + y) * sw + origin.x + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  int selected = 0, plain = 0;
  for (int x = PosX(e, 0); x < PosX(e, 4); ++x)
    for (int y = 0; y < 16; ++y) {
      COLORREF p = pixel(x, y);
      if (x < PosX(e, 2) && p == GetSysColor(COLOR_HIGHLIGHTTEXT)) ++selected;
      if (x >= PosX(e, 2) + 1 && p == GetSysColor(COLOR_WINDOWTEXT)) ++plain;
    }
  EXPECT_GT(selected, 10);
  EXPECT_GT(plain, 10);
  EXPECT_EQ(pixel(PosX(e, 0) + 1, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pixel(190, 1), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace usertest
