// The inner list box in a container on a shown form: auto-complete on the
// fake clock, keys, mouse and focus handed to the container first, the own
// scroll bars laid over the native one, the container's drag starting from
// the list, and item drawing (our renderer is not involved: items are drawn
// with plain GDI through the canvas).
#include "suite/editors/cxCustomInnerListBox.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"

namespace {

class Host : public TcxContainer {
 public:
  using TcxContainer::TcxContainer;
  Word swallowKey = 0;
  char32_t swallowChar = 0;
  std::vector<Word> keys;
  std::vector<char32_t> chars;
  std::vector<TPoint> downs;
  bool forwardedDuringDown = false;
  int clicks = 0;
  int focusChanges = 0;

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override {
    keys.push_back(Key);
    if (Key == swallowKey) Key = 0;
    TcxContainer::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    chars.push_back(Key);
    if (Key == swallowChar) Key = 0;
    TcxContainer::KeyPress(Key);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override {
    downs.push_back({X, Y});
    forwardedDuringDown = ForwardedMouseDown;
    TcxContainer::MouseDown(Button, Shift, X, Y);
  }
  void Click() override {
    ++clicks;
    TcxContainer::Click();
  }
  void FocusChanged() override {
    ++focusChanges;
    TcxContainer::FocusChanged();
  }
};

class InnerListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 250);
    host = new Host(form.get());
    host->SetParent(form.get());
    host->SetBounds(10, 10, 200, 100);
    list = new TcxCustomInnerListBox(host);
    list->SetParent(host);
    list->SetBounds(3, 4, 180, 90);
    host->SetInnerControl(list);
    for (const char* s : {"Alpha", "Beta", "Bravo", "Charlie", "Delta"}) list->Items()->Add(s);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  void Type(char32_t c) { win::SendMessage(list->Handle(), win::WM_CHAR, c, 0); }
  win::POINT ItemPoint(Integer index) {
    const TRect r = list->ItemRect(index);
    const TPoint p = list->ClientToScreen({r.Left + 20, (r.Top + r.Bottom) / 2});
    return {p.X, p.Y};
  }

  std::unique_ptr<TForm> form;
  Host* host = nullptr;
  TcxCustomInnerListBox* list = nullptr;
};

TEST_F(InnerListBox, TypedCharactersWithinTheDelaySelectByPrefix) {
  TFakeClockScope clock;
  EXPECT_EQ(list->HostContainer, host);
  EXPECT_EQ(list->AutoCompleteDelay, 500u);
  struct Step {
    UInt64 after;  // ms since the previous character
    char32_t key;
    Integer index;
    const char* prefix;
  } steps[] = {
      {0, U'b', 1, "b"},      // Beta
      {499, U'R', 2, "bR"},   // still one prefix, without regard to case: Bravo
      {499, U'\b', 1, "b"},   // Backspace shortens it
      {500, U'c', 3, "c"},    // after the pause a new prefix: Charlie
      {100, U'x', 3, "cx"},   // no item: the selection stays
      {10, U'\b', 3, "c"},
      {10, U'\b', 0, ""},     // empty: the first item
  };
  int clicks = host->clicks;
  for (const Step& s : steps) {
    dynamic_cast<TFakeClock&>(CurrentClock()).Advance(s.after);
    Type(s.key);
    EXPECT_EQ(list->ItemIndex(), s.index) << s.prefix;
    EXPECT_EQ(list->TypedPrefix(), s.prefix);
  }
  EXPECT_EQ(host->clicks - clicks, 6) << "each selection clicks the container";

  list->SetMultiSelect(true);
  list->SetSelected(0, true);
  list->SetSelected(4, true);
  dynamic_cast<TFakeClock&>(CurrentClock()).Advance(500);
  Type(U'd');
  EXPECT_EQ(list->SelCount(), 1) << "a multi-select list keeps only the found item";
  EXPECT_TRUE(list->Selected(4));

  list->AutoComplete = false;
  dynamic_cast<TFakeClock&>(CurrentClock()).Advance(500);
  Type(U'a');
  EXPECT_EQ(list->TypedPrefix(), "d") << "turned off, nothing is collected";
}

TEST_F(InnerListBox, KeysGoToTheContainerFirst) {
  list->SetItemIndex(0);
  list->SetFocus();
  host->swallowKey = win::VK_DOWN;
  win::InjectKeyPress(win::VK_DOWN);
  Application->ProcessMessages();
  EXPECT_EQ(list->ItemIndex(), 0) << "the container used the key";
  host->swallowKey = 0;
  win::InjectKeyPress(win::VK_DOWN);
  Application->ProcessMessages();
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(host->keys, (std::vector<Word>{win::VK_DOWN, win::VK_DOWN}));

  host->chars.clear();
  for (char32_t c : {U'\t', U'\r'}) Type(c);
  EXPECT_EQ(host->chars, std::vector<char32_t>{U'\r'}) << "Tab is dropped before the container sees it";
  host->swallowChar = U'c';
  Type(U'c');
  EXPECT_EQ(list->ItemIndex(), 1) << "a character the container used selects nothing";

  const auto code = win::SendMessage(list->Handle(), win::WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & win::DLGC_WANTCHARS);
  EXPECT_TRUE(code & win::DLGC_WANTTAB);
}

TEST_F(InnerListBox, MouseAndFocusReachTheContainer) {
  win::InjectClick(ItemPoint(2));
  Application->ProcessMessages();
  EXPECT_EQ(list->ItemIndex(), 2);
  ASSERT_EQ(host->downs.size(), 1u);
  const TRect r = list->ItemRect(2);
  EXPECT_EQ(host->downs[0], TPoint(r.Left + 20 + list->Left(), (r.Top + r.Bottom) / 2 + list->Top()))
      << "in the container's coordinates";
  EXPECT_TRUE(host->forwardedDuringDown);
  EXPECT_FALSE(host->ForwardedMouseDown);

  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 200, 50, 20);
  edit->SetFocus();
  const int before = host->focusChanges;
  list->SetFocus();
  EXPECT_EQ(host->focusChanges, before + 1);
  edit->SetFocus();
  EXPECT_EQ(host->focusChanges, before + 2);
}

TEST_F(InnerListBox, OwnScrollBarsLieOverTheNativeOne) {
  ASSERT_FALSE(list->OwnVertBar()->Visible()) << "five items fit";
  for (int i = 0; i < 30; ++i) list->Items()->Add("Item " + std::to_string(i));
  TcxScrollBar* bar = list->OwnVertBar();
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Parent(), host);
  win::SCROLLBARINFO info;
  ASSERT_TRUE(win::GetScrollBarInfo(list->Handle(), win::OBJID_VSCROLL, &info));
  const TPoint at = host->ScreenToClient({info.rcScrollBar.left, info.rcScrollBar.top});
  EXPECT_EQ(bar->BoundsRect(), TRect(at.X, at.Y, at.X + info.rcScrollBar.right - info.rcScrollBar.left,
                                     at.Y + info.rcScrollBar.bottom - info.rcScrollBar.top));
  win::SCROLLINFO si;
  si.fMask = win::SIF_ALL;
  win::GetScrollInfo(list->Handle(), win::SB_VERT, &si);
  EXPECT_EQ(bar->Max(), si.nMax);
  EXPECT_EQ(bar->PageSize(), static_cast<Integer>(si.nPage));
  EXPECT_FALSE(list->OwnHorzBar()->Visible());
  EXPECT_EQ(list->SizeGripBounds(), TRect());

  Integer pos = 3;
  bar->OnScroll(bar, scLineDown, pos);
  EXPECT_EQ(list->TopIndex(), 3) << "a line step sets the top item itself";
  pos = 0;
  bar->OnScroll(bar, scPageDown, pos);
  EXPECT_GT(list->TopIndex(), 3);
  EXPECT_EQ(pos, win::GetScrollPos(list->Handle(), win::SB_VERT));
  list->SetTopIndex(10);
  EXPECT_EQ(bar->Position(), 10) << "the list's own scrolling moves the bar";

  list->Items()->Clear();
  EXPECT_FALSE(bar->Visible());
}

TEST_F(InnerListBox, AClickOnASelectedItemDragsTheContainer) {
  host->SetDragMode(dmAutomatic);
  list->SetMultiSelect(true);
  list->SetSelected(1, true);
  list->SetSelected(2, true);
  win::InjectMouseButton(win::VK_LBUTTON, true, ItemPoint(1));
  Application->ProcessMessages();
  EXPECT_TRUE(host->Dragging());
  EXPECT_EQ(list->SelCount(), 2) << "the selection stays";
  EXPECT_EQ(list->DragMode(), dmAutomatic) << "the list's own mode is back";
  win::InjectMouseButton(win::VK_LBUTTON, false, ItemPoint(1));
  Application->ProcessMessages();
  if (host->Dragging()) host->EndDrag(false);

  // Ctrl adds to the selection instead.
  win::InjectKey(win::VK_CONTROL, true);
  win::InjectClick(ItemPoint(4));
  win::InjectKey(win::VK_CONTROL, false);
  Application->ProcessMessages();
  EXPECT_FALSE(host->Dragging());
  EXPECT_TRUE(list->Selected(4));
}

// Fills the item red: the program's own drawing.
struct RedItems {
  TcxCustomInnerListBox* list;
  void Draw(TWinControl*, Integer, TRect Rect, TOwnerDrawState) {
    list->Canvas()->Brush()->SetColor(clRed);
    list->Canvas()->FillRect(Rect);
  }
};

TEST_F(InnerListBox, SelectedItemsAreHighlightedAndTheFocusRectIsOnlyTheDefaults) {
  list->SetStyle(lbOwnerDrawFixed);
  list->SetFocus();
  list->SetItemIndex(1);
  list->Repaint();
  const TRect r = list->ItemRect(1);
  auto pixel = [&](Integer x, Integer y) {
    win::HDC dc = win::GetDC(list->Handle());
    const win::COLORREF c = win::GetPixel(dc, x, y);
    win::ReleaseDC(list->Handle(), dc);
    return c;
  };
  EXPECT_EQ(pixel(r.Right - 5, r.Top + 3), win::GetSysColor(win::COLOR_HIGHLIGHT));
  EXPECT_NE(pixel(r.Left, r.Top), win::GetSysColor(win::COLOR_HIGHLIGHT)) << "the focus rectangle";

  RedItems red{list};
  list->OnDrawItem = TDrawItemEvent(&red, &RedItems::Draw);
  list->Repaint();
  EXPECT_EQ(pixel(r.Left, r.Top), win::RGB(255, 0, 0)) << "no focus rectangle over the program's drawing";
}

}  // namespace
